// libFuzzer target: the converter's capture-file reader on one input in
// memory (the viewer's own reader is the AFL++ target load-capture).
#include <utility>

#include "capture_reader.h"
#include "fuzz_reading.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz_reading(data, size, [](InputFile file) -> std::unique_ptr<MarkerRecording> {
    return std::make_unique<CaptureReader>(std::move(file));
  });
  return 0;
}
