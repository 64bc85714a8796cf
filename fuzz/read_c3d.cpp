// Reads one C3D file given on the command line the way capture-convert does,
// every frame decoded and every coordinate formatted, and writes nothing.
// Target of the fuzzer (scripts/fuzz.sh c3d builds it with
// afl-clang-fast++): a bad file ends with one "Error:" line and status 1.
#include <charconv>
#include <cstdio>

#include "c3d_reader.h"
#include "conversion_error.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: read-c3d C3D_FILE\n", stderr);
    return 2;
  }
  try {
    C3dReader reader{std::string(argv[1])};
    Frame frame;
    char text[32];
    while (reader.next_frame(frame)) {
      for (const MarkerPoint& point : frame.points) {
        if (point.seen) std::to_chars(text, text + sizeof text, static_cast<float>(point.x));
      }
    }
  } catch (const ConversionError& error) {
    std::printf("Error: %s\n", error.what());
    return 1;
  }
  return 0;
}
