// Reads one C3D file given on the command line the way capture-convert does,
// every frame decoded and every coordinate formatted, and writes nothing.
// Target of the fuzzer (scripts/fuzz.sh c3d builds it with
// afl-clang-fast++): a bad file ends with one "Error:" line and status 1.
#include "c3d_reader.h"
#include "read_recording.h"

int main(int argc, char** argv) {
  return read_recording<C3dReader>(argc, argv, "usage: read-c3d C3D_FILE\n");
}
