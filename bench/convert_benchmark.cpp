// Convert benchmark: generates a C3D file of 200,000 frames x 30 markers
// (Intel, float storage, analog samples between frames, about 2 % of points
// not seen) in a temporary folder, converts it with convert_recording, and
// prints the MB of capture text written per second against the target,
// beside a baseline timed in the same run: writing the same bytes to a file
// without any conversion.
//
// Usage: convert_benchmark [RUNS]   (default 5; best run counts; the folder
// is made under $TMPDIR, else /tmp, and removed at the end)
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_report.h"
#include "c3d_builder.h"
#include "conversion_error.h"
#include "converter.h"
#include "temp_dir.h"

namespace {

constexpr int64_t frames = 200000;
constexpr size_t markers = 30;
constexpr double target_mb_per_second = 150.0;

using Clock = std::chrono::steady_clock;

double seconds_since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// A body of 30 markers swaying about a point 1 m from the lab origin, in
// tenths of a mm; each marker drops out for 8 frames every 400.
C3dDescription recording() {
  C3dDescription d;
  d.float_storage = true;
  d.scale = 0.1f;
  d.frames = frames;
  d.analog_samples = 16;
  for (size_t m = 0; m < markers; ++m) d.labels.push_back("MARKER" + std::to_string(m + 1));
  d.point = [](int64_t f, size_t m) {
    const double phase = static_cast<double>(f) * 0.01 + static_cast<double>(m);
    StoredPoint p;
    p.x = static_cast<int16_t>(10000 + 3000 * std::sin(phase));
    p.y = static_cast<int16_t>(-2000 + 150 * static_cast<double>(m) + 700 * std::cos(phase));
    p.z = static_cast<int16_t>(1000 + 500 * static_cast<double>(m) + 90 * std::sin(3 * phase));
    p.seen = (f + static_cast<int64_t>(m) * 13) % 400 >= 8;
    return p;
  };
  return d;
}

double file_megabytes(const std::string& path) {
  struct stat status {};
  return stat(path.c_str(), &status) == 0 ? static_cast<double>(status.st_size) / 1e6 : -1.0;
}

// Seconds to write bytes to path with one buffered stream, as the
// converter's output would be if it cost nothing to format.
double time_plain_write(const std::string& bytes, const std::string& path) {
  const Clock::time_point start = Clock::now();
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return -1.0;
  std::setvbuf(file, nullptr, _IOFBF, 1 << 20);
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const bool closed = std::fclose(file) == 0;
  return ok && closed ? seconds_since(start) : -1.0;
}

// Times `runs` conversions and plain writes of a generated recording in a
// temporary folder and prints them against the target; returns the status.
int measure_conversion(int runs) {
  const TempDir dir("convert-bench-");
  const std::string& folder = dir.path();
  const std::string input = folder + "/recording.c3d";
  const std::string output = folder + "/recording.csv";
  const std::string copy = folder + "/copy.csv";
  std::printf("generating %s ...\n", input.c_str());
  bool ok = write_c3d_file(input, recording());
  read_file(input);  // into the page cache

  double best_convert = 0.0;
  double best_write = 0.0;
  ConversionSummary summary;
  for (int i = 0; ok && i < runs; ++i) {
    try {
      const Clock::time_point start = Clock::now();
      summary = convert_recording(input, output);
      const double seconds = seconds_since(start);
      if (i == 0 || seconds < best_convert) best_convert = seconds;
    } catch (const ConversionError& error) {
      std::printf("Error: %s\n", error.what());
      ok = false;
      break;
    }
    const double seconds = time_plain_write(read_file(output), copy);
    ok = seconds > 0.0;
    if (i == 0 || seconds < best_write) best_write = seconds;
  }
  if (ok) {
    const double csv_mb = static_cast<double>(summary.bytes_written) / 1e6;
    const double rate = csv_mb / best_convert;
    std::printf("\n%lld frames x %zu markers, C3D %.1f MB -> capture %.1f MB, best of %d runs\n",
                static_cast<long long>(summary.frames), markers, file_megabytes(input), csv_mb,
                runs);
    std::printf("  convert_recording       %8.3f s   %8.0f MB/s written\n", best_convert, rate);
    std::printf("  plain write, same bytes %8.3f s   %8.0f MB/s  (baseline)\n", best_write,
                csv_mb / best_write);
    std::printf("  convert / plain write   %8.2f\n", best_convert / best_write);
    std::printf("\ntarget: at least %.0f MB/s written   %8.0f MB/s   %s\n", target_mb_per_second,
                rate, verdict(rate >= target_mb_per_second));
  } else {
    std::printf("Error: the benchmark failed in %s\n", folder.c_str());
  }
  return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  return run_benchmark(argc, argv, "convert_benchmark", 5, measure_conversion);
}
