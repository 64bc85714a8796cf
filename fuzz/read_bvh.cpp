// Reads one BVH file given on the command line the way capture-convert does,
// every joint placed in every frame and every coordinate formatted, and
// writes nothing. Target of the fuzzer (scripts/fuzz.sh bvh builds it with
// afl-clang-fast++): a bad file ends with one "Error:" line and status 1.
#include "bvh_reader.h"
#include "read_recording.h"

int main(int argc, char** argv) {
  return read_recording<BvhReader>(argc, argv, "usage: read-bvh BVH_FILE\n");
}
