// Reads one recording given on the command line the way capture-convert
// does, in whatever format it is, every frame decoded and every coordinate
// formatted, and writes nothing. Target of the fuzzer (scripts/fuzz.sh c3d
// and text build it with afl-clang-fast++): a bad file ends with one
// "Error:" line and status 1.
#include <cstdio>

#include "conversion_error.h"
#include "recording_format.h"
#include "shortest_text.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: read-recording RECORDING\n", stderr);
    return 2;
  }
  try {
    const std::unique_ptr<MarkerRecording> recording = open_recording(argv[1]);
    Frame frame;
    char text[32];
    while (recording->next_frame(frame)) {
      for (const MarkerPoint& point : frame.points) {
        if (point.seen) write_shortest(text, point.x);
      }
    }
  } catch (const ConversionError& error) {
    std::printf("Error: %s\n", error.what());
    return 1;
  }
  return 0;
}
