// The body of the reader fuzz targets: reads one recording given on the
// command line the way capture-convert does, every frame decoded and every
// coordinate formatted, and writes nothing.
#ifndef READ_RECORDING_H
#define READ_RECORDING_H

#include <charconv>
#include <cstdio>
#include <string>

#include "conversion_error.h"
#include "marker_recording.h"

// main of a target for Reader (a MarkerRecording opened from a path): 0 when
// the file reads, 1 after one "Error:" line when the reader refuses it, 2
// after a usage line when argv holds no single path.
template <typename Reader>
int read_recording(int argc, char** argv, const char* usage) {
  if (argc != 2) {
    std::fputs(usage, stderr);
    return 2;
  }
  try {
    Reader reader{std::string(argv[1])};
    const bool floats = reader.info().single_precision;
    Frame frame;
    char text[32];
    while (reader.next_frame(frame)) {
      for (const MarkerPoint& point : frame.points) {
        if (!point.seen) continue;
        if (floats) {
          std::to_chars(text, text + sizeof text, static_cast<float>(point.x));
        } else {
          std::to_chars(text, text + sizeof text, point.x);
        }
      }
    }
  } catch (const ConversionError& error) {
    std::printf("Error: %s\n", error.what());
    return 1;
  }
  return 0;
}

#endif  // READ_RECORDING_H
