// Convert benchmark: generates a C3D file of 200,000 frames x 30 markers
// (Intel, float storage, analog samples between frames, about 2 % of points
// not seen) in a temporary folder, converts it with convert_recording, and
// prints the MB of capture text written per second against the target,
// beside a baseline timed in the same run: writing the same bytes to a file
// without any conversion. Then the same for a Vicon Nexus CSV export of
// 200,000 frames x 30 markers (mm, five decimals), in MB of CSV read per
// second.
//
// Usage: convert_benchmark [RUNS]   (default 5; best run counts; the folder
// is made under $TMPDIR, else /tmp, and removed at the end)
#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
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

// A Vicon Nexus export of a body of 30 markers like the C3D's, in mm with
// five decimals: header rows padded with commas and CRLF line ends as Nexus
// writes them; each marker drops out (empty cells) for 8 frames every 400.
// Written in blocks of frames so the text never sits whole in memory.
bool write_nexus_file(const std::string& path) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const std::string padding(2 + 3 * markers, ',');
  std::string text = "Trajectories" + padding + "\r\n100" + padding + "\r\n,";
  for (size_t m = 0; m < markers; ++m) text += ",Body:MARKER" + std::to_string(m + 1) + ",,";
  text += "\r\nFrame,Sub Frame";
  for (size_t m = 0; m < markers; ++m) text += ",X,Y,Z";
  text += "\r\n,";
  for (size_t m = 0; m < markers; ++m) text += ",mm,mm,mm";
  text += "\r\n";
  bool ok = true;
  char number[32];
  auto append = [&](double value) {
    text += ',';
    const std::to_chars_result end =
        std::to_chars(number, number + sizeof number, value, std::chars_format::fixed, 5);
    text.append(number, end.ptr);
  };
  for (int64_t f = 0; f < frames && ok; ++f) {
    text += std::to_string(f + 1) + ",0";
    for (size_t m = 0; m < markers; ++m) {
      if ((f + static_cast<int64_t>(m) * 13) % 400 < 8) {
        text += ",,,";
        continue;
      }
      const double phase = static_cast<double>(f) * 0.01 + static_cast<double>(m);
      append(1000.0 + 300.0 * std::sin(phase));
      append(-200.0 + 15.0 * static_cast<double>(m) + 70.0 * std::cos(phase));
      append(100.0 + 50.0 * static_cast<double>(m) + 9.0 * std::sin(3.0 * phase));
    }
    text += "\r\n";
    if (text.size() > (1 << 20) || f + 1 == frames) {
      ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
      text.clear();
    }
  }
  return std::fclose(file) == 0 && ok;
}

// Times `runs` conversions of a generated Nexus export, and plain writes of
// the capture they give, and prints the MB of export read per second against
// the target; returns the status.
int measure_nexus_conversion(int runs) {
  const TempDir dir("convert-bench-nexus-");
  const std::string input = dir.path() + "/trial.csv";
  const std::string output = dir.path() + "/capture.csv";
  std::printf("generating %s ...\n", input.c_str());
  bool ok = write_nexus_file(input);
  read_file(input);  // into the page cache

  double best_convert = 0.0;
  double best_convert_cpu = 0.0;  // processor seconds, which a busy machine does not stretch
  double best_write = 0.0;
  ConversionSummary summary;
  for (int i = 0; ok && i < runs; ++i) {
    try {
      const Clock::time_point start = Clock::now();
      const std::clock_t cpu_start = std::clock();
      summary = convert_recording(input, output);
      const double cpu_seconds = static_cast<double>(std::clock() - cpu_start) / CLOCKS_PER_SEC;
      const double seconds = seconds_since(start);
      if (i == 0 || seconds < best_convert) best_convert = seconds;
      if (i == 0 || cpu_seconds < best_convert_cpu) best_convert_cpu = cpu_seconds;
    } catch (const ConversionError& error) {
      std::printf("Error: %s\n", error.what());
      return 1;
    }
    const double seconds = time_plain_write(read_file(output), dir.path() + "/copy.csv");
    ok = seconds > 0.0;
    if (i == 0 || seconds < best_write) best_write = seconds;
  }
  if (!ok) {
    std::printf("Error: the Nexus benchmark failed in %s\n", dir.path().c_str());
    return 1;
  }
  const double input_mb = file_megabytes(input);
  const double csv_mb = static_cast<double>(summary.bytes_written) / 1e6;
  const double rate = input_mb / best_convert;
  std::printf(
      "\n%lld frames x %zu markers, Nexus CSV %.1f MB -> capture %.1f MB, best of %d runs\n",
      static_cast<long long>(summary.frames), markers, input_mb, csv_mb, runs);
  std::printf("  convert_recording       %8.3f s   %8.0f MB/s read\n", best_convert, rate);
  std::printf("  convert_recording, CPU  %8.3f s   %8.0f MB/s read per CPU second\n",
              best_convert_cpu, input_mb / best_convert_cpu);
  std::printf("  plain write, capture    %8.3f s   %8.0f MB/s  (baseline)\n", best_write,
              csv_mb / best_write);
  std::printf("  convert / plain write   %8.2f\n", best_convert / best_write);
  std::printf("\ntarget: at least %.0f MB/s of Nexus CSV read   %8.0f MB/s   %s\n",
              target_mb_per_second, rate, verdict(rate >= target_mb_per_second));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  return run_benchmark(argc, argv, "convert_benchmark", 5, [](int runs) {
    const int c3d_status = measure_conversion(runs);
    return measure_nexus_conversion(runs) != 0 ? 1 : c3d_status;
  });
}
