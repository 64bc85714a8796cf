// Convert benchmark: generates, in a temporary folder, a C3D file of 200,000
// frames x 30 markers (Intel, float storage, analog samples between frames,
// about 2 % of points not seen) and a Qualisys TSV export of the same motion
// (Frame and Time columns, mm with 3 decimals, a point not seen written as
// 0.000 three times), converts each with convert_recording, and prints the
// MB per second against the targets (C3D: capture text written; TSV: input
// read), beside a baseline timed in the same run: writing the same capture
// bytes to a file without any conversion.
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
StoredPoint body_point(int64_t f, size_t m) {
  const double phase = static_cast<double>(f) * 0.01 + static_cast<double>(m);
  StoredPoint p;
  p.x = static_cast<int16_t>(10000 + 3000 * std::sin(phase));
  p.y = static_cast<int16_t>(-2000 + 150 * static_cast<double>(m) + 700 * std::cos(phase));
  p.z = static_cast<int16_t>(1000 + 500 * static_cast<double>(m) + 90 * std::sin(3 * phase));
  p.seen = (f + static_cast<int64_t>(m) * 13) % 400 >= 8;
  return p;
}

C3dDescription recording() {
  C3dDescription d;
  d.float_storage = true;
  d.scale = 0.1f;
  d.frames = frames;
  d.analog_samples = 16;
  for (size_t m = 0; m < markers; ++m) d.labels.push_back("MARKER" + std::to_string(m + 1));
  d.point = body_point;
  return d;
}

// Appends value with three decimals and a tab to text.
void append_cell(std::string& text, double value) {
  char cell[32];
  const std::to_chars_result end =
      std::to_chars(cell, cell + sizeof cell, value, std::chars_format::fixed, 3);
  text.append(cell, end.ptr);
  text += '\t';
}

// The body of recording() in mm as QTM exports it, with Frame and Time
// columns; a point not seen is 0.000 three times. Each coordinate gets a
// thousandth of a mm of its own so that no value is a round number.
std::string qualisys_export() {
  std::string text = "NO_OF_FRAMES\t" + std::to_string(frames) +
                     "\nNO_OF_CAMERAS\t8\nNO_OF_MARKERS\t" + std::to_string(markers) +
                     "\nFREQUENCY\t100\nNO_OF_ANALOG\t0\nANALOG_FREQUENCY\t0\nDESCRIPTION\t--\n"
                     "TIME_STAMP\t2026-12-08, 12:00:00\t1.0\nDATA_INCLUDED\t3D\nMARKER_NAMES";
  for (size_t m = 0; m < markers; ++m) text += "\tMARKER" + std::to_string(m + 1);
  text += "\nFrame\tTime";
  for (size_t m = 0; m < markers; ++m) {
    for (const char* axis : {" X", " Y", " Z"}) text += "\tMARKER" + std::to_string(m + 1) + axis;
  }
  text += '\n';
  for (int64_t f = 0; f < frames; ++f) {
    text += std::to_string(f + 1) + '\t';
    append_cell(text, static_cast<double>(f) * 0.01);
    for (size_t m = 0; m < markers; ++m) {
      const StoredPoint p = body_point(f, m);
      const double fraction = static_cast<double>((f + static_cast<int64_t>(m)) % 997) * 1e-3;
      append_cell(text, p.seen ? p.x * 0.1 + fraction : 0.0);
      append_cell(text, p.seen ? p.y * 0.1 + fraction : 0.0);
      append_cell(text, p.seen ? p.z * 0.1 + fraction : 0.0);
    }
    text.back() = '\n';
  }
  return text;
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

// The best times of `runs` conversions of input into output and of plain
// writes of the result into copy, and the last conversion's summary; false
// when one failed.
struct Timing {
  double convert = 0.0;
  double plain_write = 0.0;
  ConversionSummary summary;
};

bool time_conversion(const std::string& input, const std::string& output, const std::string& copy,
                     int runs, Timing& timing) {
  read_file(input);  // into the page cache
  for (int i = 0; i < runs; ++i) {
    try {
      const Clock::time_point start = Clock::now();
      timing.summary = convert_recording(input, output);
      const double seconds = seconds_since(start);
      if (i == 0 || seconds < timing.convert) timing.convert = seconds;
    } catch (const ConversionError& error) {
      std::printf("Error: %s\n", error.what());
      return false;
    }
    const double seconds = time_plain_write(read_file(output), copy);
    if (seconds <= 0.0) return false;
    if (i == 0 || seconds < timing.plain_write) timing.plain_write = seconds;
  }
  return true;
}

// Prints one input's figures: `mb` of input or output per second of
// conversion against the target, and the plain write of the same capture.
void report(const char* format, const std::string& input, const Timing& timing, int runs,
            bool per_input_mb) {
  const double input_mb = file_megabytes(input);
  const double csv_mb = static_cast<double>(timing.summary.bytes_written) / 1e6;
  const double rate = (per_input_mb ? input_mb : csv_mb) / timing.convert;
  const char* counted = per_input_mb ? "read" : "written";
  std::printf("\n%lld frames x %zu markers, %s %.1f MB -> capture %.1f MB, best of %d runs\n",
              static_cast<long long>(timing.summary.frames), markers, format, input_mb, csv_mb,
              runs);
  std::printf("  convert_recording       %8.3f s   %8.0f MB/s %s\n", timing.convert, rate, counted);
  std::printf("  plain write, same bytes %8.3f s   %8.0f MB/s  (baseline)\n", timing.plain_write,
              csv_mb / timing.plain_write);
  std::printf("  convert / plain write   %8.2f\n", timing.convert / timing.plain_write);
  std::printf("target: at least %.0f MB/s %s   %8.0f MB/s   %s\n", target_mb_per_second, counted,
              rate, verdict(rate >= target_mb_per_second));
}

// Times `runs` conversions and plain writes of the generated recordings in a
// temporary folder and prints them against the targets; returns the status.
int measure_conversion(int runs) {
  const TempDir dir("convert-bench-");
  const std::string& folder = dir.path();
  const std::string c3d = folder + "/recording.c3d";
  const std::string tsv = folder + "/recording.tsv";
  const std::string output = folder + "/recording.csv";
  const std::string copy = folder + "/copy.csv";
  std::printf("generating %s and %s ...\n", c3d.c_str(), tsv.c_str());
  bool ok = write_c3d_file(c3d, recording());
  dir.write("recording.tsv", qualisys_export());  // the path tsv

  Timing c3d_timing;
  Timing tsv_timing;
  ok = ok && time_conversion(c3d, output, copy, runs, c3d_timing) &&
       time_conversion(tsv, output, copy, runs, tsv_timing);
  if (!ok) {
    std::printf("Error: the benchmark failed in %s\n", folder.c_str());
    return 1;
  }
  report("C3D", c3d, c3d_timing, runs, false);
  report("Qualisys TSV", tsv, tsv_timing, runs, true);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  return run_benchmark(argc, argv, "convert_benchmark", 5, measure_conversion);
}
