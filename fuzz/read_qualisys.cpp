// Reads one Qualisys TSV export given on the command line the way
// capture-convert does, every frame decoded, and writes nothing. Target of
// the fuzzer (scripts/fuzz.sh qualisys builds it with afl-clang-fast++): a
// bad file ends with one "Error:" line and status 1.
#include <cstdio>

#include "conversion_error.h"
#include "qualisys_reader.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: read-qualisys TSV_FILE\n", stderr);
    return 2;
  }
  try {
    QualisysReader reader{std::string(argv[1])};
    Frame frame;
    while (reader.next_frame(frame)) {
    }
  } catch (const ConversionError& error) {
    std::printf("Error: %s\n", error.what());
    return 1;
  }
  return 0;
}
