// Writes a synthetic capture file of a figure walking in place.
//
// Usage: make_sample SAMPLES MARKERS RATE_HZ SEED OUTPUT
//
// The shipped samples are regenerated from a build directory (here build) at
// the top of the repository with
//   build/tools/make_sample 300 16 100 1 samples/walk.csv
//   build/tools/make_sample 50 100 50 1 samples/walk-100-markers.csv
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "capture_generator.h"

namespace {

// Reads a whole decimal argument into value; false when it is not one.
bool parse_argument(const char* text, long long& value) {
  char* end = nullptr;
  errno = 0;
  value = std::strtoll(text, &end, 10);
  return errno == 0 && end != text && *end == '\0';
}

}  // namespace

int main(int argc, char** argv) {
  long long samples = 0, markers = 0, rate = 0, seed = 0;
  if (argc != 6 || !parse_argument(argv[1], samples) || !parse_argument(argv[2], markers) ||
      !parse_argument(argv[3], rate) || !parse_argument(argv[4], seed) || samples < 0 ||
      samples > INT32_MAX || markers < 1 || markers > max_capture_markers || rate < 1 || seed < 0) {
    std::printf(
        "Usage: make_sample SAMPLES MARKERS RATE_HZ SEED OUTPUT\n"
        "  MARKERS 1 .. %d, RATE_HZ at least 1, SEED 0 or more\n",
        max_capture_markers);
    return 2;
  }
  CaptureShape shape;
  shape.samples = static_cast<int32_t>(samples);
  shape.markers = static_cast<int32_t>(markers);
  shape.rate_hz = static_cast<double>(rate);
  shape.seed = static_cast<uint64_t>(seed);
  if (!write_capture_file(argv[5], shape)) {
    std::printf("Error: cannot write %s\n", argv[5]);
    return 1;
  }
  return 0;
}
