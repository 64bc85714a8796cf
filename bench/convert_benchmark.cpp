// Convert benchmark: generates a C3D file of 200,000 frames x 30 markers
// (Intel, float storage, analog samples between frames, about 2 % of points
// not seen) in a temporary folder, converts it with convert_recording, and
// prints the MB of capture text written per second against the target,
// beside a baseline timed in the same run: writing the same bytes to a file
// without any conversion. Then the same for a BVH skeleton of 30 joints x
// 100,000 frames, in MB of BVH text read per second.
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
constexpr int64_t bvh_frames = 100000;
constexpr double bvh_target_mb_per_second = 50.0;

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

// The best times of `runs` conversions of a recording and of plain writes
// of what they wrote, and the last conversion's summary.
struct ConversionTiming {
  double best_convert = 0.0;
  double best_write = 0.0;
  ConversionSummary summary;
};

// Times `runs` conversions of input into output, each followed by a plain
// write of output's bytes to copy. Prints the error and returns false when a
// conversion or a write fails.
bool time_conversions(const std::string& input, const std::string& output, const std::string& copy,
                      int runs, ConversionTiming& timing) {
  for (int i = 0; i < runs; ++i) {
    try {
      const Clock::time_point start = Clock::now();
      timing.summary = convert_recording(input, output);
      const double seconds = seconds_since(start);
      if (i == 0 || seconds < timing.best_convert) timing.best_convert = seconds;
    } catch (const ConversionError& error) {
      std::printf("Error: %s\n", error.what());
      return false;
    }
    const double seconds = time_plain_write(read_file(output), copy);
    if (seconds <= 0.0) return false;
    if (i == 0 || seconds < timing.best_write) timing.best_write = seconds;
  }
  return true;
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

  ConversionTiming timing;
  ok = ok && time_conversions(input, output, copy, runs, timing);
  const double best_convert = timing.best_convert;
  const double best_write = timing.best_write;
  const ConversionSummary& summary = timing.summary;
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

// A skeleton of 30 joints: a root with 6 channels and five chains (spine
// and head, arms, legs) of 3 rotations each, in two rotation orders, each
// ending in an End Site; 100,000 frames of swaying angles written with four
// decimals, as motion-capture software writes them. Returns false when the
// file cannot be written.
bool write_bvh_file(const std::string& path) {
  constexpr int chain_lengths[] = {6, 6, 6, 6, 5};
  std::string text =
      "HIERARCHY\nROOT Hips\n{\n\tOFFSET 0 90 0\n"
      "\tCHANNELS 6 Xposition Yposition Zposition Zrotation Xrotation Yrotation\n";
  int joints = 1;
  for (int chain = 0; chain < 5; ++chain) {
    for (int link = 0; link < chain_lengths[chain]; ++link) {
      const std::string indent(static_cast<size_t>(link + 1), '\t');
      text += indent + "JOINT Joint" + std::to_string(++joints) + "\n" + indent + "{\n" + indent +
              "\tOFFSET " + std::to_string(chain - 2) + " " + std::to_string(chain == 0 ? 8 : -8) +
              " 0.5\n" + indent +
              (chain % 2 == 0 ? "\tCHANNELS 3 Zrotation Xrotation Yrotation\n"
                              : "\tCHANNELS 3 Xrotation Yrotation Zrotation\n");
    }
    for (int link = chain_lengths[chain]; link > 0; --link) {
      const std::string indent(static_cast<size_t>(link + 1), '\t');
      if (link == chain_lengths[chain])
        text +=
            indent + "End Site\n" + indent + "{\n" + indent + "\tOFFSET 0 4 0\n" + indent + "}\n";
      text += std::string(static_cast<size_t>(link), '\t') + "}\n";
    }
  }
  text += "}\nMOTION\nFrames: " + std::to_string(bvh_frames) + "\nFrame Time: 0.008333\n";
  const size_t channels = 6 + 3 * static_cast<size_t>(joints - 1);

  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  bool ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  char row[4096];
  for (int64_t f = 0; ok && f < bvh_frames; ++f) {
    char* end = row;
    for (size_t c = 0; c < channels; ++c) {
      const double phase = static_cast<double>(f) * 0.01 + static_cast<double>(c);
      const double value = c < 3 ? 100.0 * std::sin(phase) : 45.0 * std::sin(phase);
      end = std::to_chars(end, row + sizeof row, value, std::chars_format::fixed, 4).ptr;
      *end++ = c + 1 < channels ? ' ' : '\n';
    }
    ok =
        std::fwrite(row, 1, static_cast<size_t>(end - row), file) == static_cast<size_t>(end - row);
  }
  return std::fclose(file) == 0 && ok;
}

// Times `runs` conversions of a generated BVH skeleton and plain writes of
// the capture in a temporary folder and prints the MB of BVH read per second
// against the target; returns the status.
int measure_bvh_conversion(int runs) {
  const TempDir dir("convert-bench-bvh-");
  const std::string input = dir.path() + "/skeleton.bvh";
  const std::string output = dir.path() + "/skeleton.csv";
  std::printf("\ngenerating %s ...\n", input.c_str());
  ConversionTiming timing;
  const bool ok = write_bvh_file(input) && !read_file(input).empty() &&
                  time_conversions(input, output, dir.path() + "/copy.csv", runs, timing);
  if (!ok) {
    std::printf("Error: the BVH benchmark failed in %s\n", dir.path().c_str());
    return 1;
  }
  const double bvh_mb = file_megabytes(input);
  const double csv_mb = static_cast<double>(timing.summary.bytes_written) / 1e6;
  const double rate = bvh_mb / timing.best_convert;
  std::printf(
      "\n%lld frames x 30 joints (%lld markers), BVH %.1f MB -> capture %.1f MB, best of "
      "%d runs\n",
      static_cast<long long>(timing.summary.frames), static_cast<long long>(timing.summary.markers),
      bvh_mb, csv_mb, runs);
  std::printf("  convert_recording       %8.3f s   %8.0f MB/s read, %.0f MB/s written\n",
              timing.best_convert, rate, csv_mb / timing.best_convert);
  std::printf("  plain write, same bytes %8.3f s   %8.0f MB/s  (baseline)\n", timing.best_write,
              csv_mb / timing.best_write);
  std::printf("  convert / plain write   %8.2f\n", timing.best_convert / timing.best_write);
  std::printf("\ntarget: at least %.0f MB/s of BVH read   %8.0f MB/s   %s\n",
              bvh_target_mb_per_second, rate, verdict(rate >= bvh_target_mb_per_second));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  return run_benchmark(argc, argv, "convert_benchmark", 5, [](int runs) {
    const int c3d = measure_conversion(runs);
    return measure_bvh_conversion(runs) != 0 ? 1 : c3d;
  });
}
