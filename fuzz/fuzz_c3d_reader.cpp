// libFuzzer target: the converter's C3D reader on one input in memory.
#include <utility>

#include "c3d_reader.h"
#include "fuzz_reading.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz_reading(data, size, [](InputFile file) -> std::unique_ptr<MarkerRecording> {
    return std::make_unique<C3dReader>(std::move(file));
  });
  return 0;
}
