// libFuzzer target: the converter's text readers on one input in memory,
// the format told by content as capture-convert tells it.
#include <utility>

#include "fuzz_reading.h"
#include "recording_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz_reading(data, size, [](InputFile file) { return open_recording(std::move(file), "input"); });
  return 0;
}
