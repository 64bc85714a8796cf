#include "fuzz_reading.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "conversion_error.h"
#include "shortest_text.h"

namespace {

[[noreturn]] void broken_promise(const char* what) {
  std::fprintf(stderr, "the recording %s\n", what);
  std::abort();
}

}  // namespace

void fuzz_reading(const uint8_t* data, size_t size,
                  const std::function<std::unique_ptr<MarkerRecording>(InputFile)>& open) {
  try {
    const std::unique_ptr<MarkerRecording> recording =
        open(InputFile(std::vector<unsigned char>(data, data + size)));
    const RecordingInfo& info = recording->info();
    Frame frame;
    char text[32];
    int64_t frames = 0;
    while (recording->next_frame(frame)) {
      if (frame.points.size() != info.labels.size())
        broken_promise("gave a frame of other markers");
      for (const MarkerPoint& point : frame.points) {
        if (!point.seen) continue;
        write_shortest(text, point.x);
        write_shortest(text, point.y);
        write_shortest(text, point.z);
      }
      ++frames;
    }
    if (frames != info.frames_present) broken_promise("held another count of frames");
  } catch (const ConversionError&) {
    // A refused input: capture-convert prints one Error: line.
  }
}
