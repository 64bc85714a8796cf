// Convert benchmark: generates a C3D file of 200,000 frames x 30 markers
// (Intel, float storage, analog samples between frames, about 2 % of points
// not seen) in a temporary folder, converts it with convert_recording, and
// prints the MB of capture text written per second against the target,
// beside a baseline timed in the same run: writing the same bytes to a file
// without any conversion.
// Then the same for Motive CSV exports of 200,000 frames x 30 markers, one
// in millimetres and one in metres, in MB of CSV read per second.
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
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "bench_report.h"
#include "c3d_builder.h"
#include "conversion_error.h"
#include "converter.h"
#include "recording_format.h"
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

// A Motive CSV export of 200,000 frames x 30 markers, six decimals, in the
// unit `units` (values divided by `per_mm`): the markers of recording()
// around a point 1 m from the lab origin, Y-up, each not seen for 8 frames
// every 400 (empty cells). Returns false when it cannot be written.
bool write_motive_file(const std::string& path, const char* units, double per_mm) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  std::string text =
      "Format Version,1.23,Take Name,bench,Capture Frame Rate,120.000000,"
      "Export Frame Rate,120.000000,Total Exported Frames," +
      std::to_string(frames) + ",Rotation Type,Quaternion,Length Units," + units +
      ",Coordinate Space,Global\n\n";
  std::string types = ",Type", names = ",Name", groups = ",", headings = "Frame,Time (Seconds)";
  for (size_t m = 0; m < markers; ++m) {
    for (int axis = 0; axis < 3; ++axis) {
      types += ",Marker";
      names += ",Unlabeled " + std::to_string(1000 + m);
      groups += ",Position";
    }
    headings += ",X,Y,Z";
  }
  text += types + "\n" + names + "\n" + groups + "\n" + headings + "\n";
  bool ok = true;
  char cell[64];
  for (int64_t f = 0; ok && f < frames; ++f) {
    text += std::to_string(f) + ",";
    text.append(cell, std::to_chars(cell, cell + sizeof cell, static_cast<double>(f) / 120.0,
                                    std::chars_format::fixed, 6)
                          .ptr);
    for (size_t m = 0; m < markers; ++m) {
      const double phase = static_cast<double>(f) * 0.01 + static_cast<double>(m);
      const bool seen = (f + static_cast<int64_t>(m) * 13) % 400 >= 8;
      const double xyz[3] = {1000.0 + 300.0 * std::sin(phase),
                             100.0 + 50.0 * static_cast<double>(m) + 9.0 * std::sin(3 * phase),
                             200.0 - 15.0 * static_cast<double>(m) - 70.0 * std::cos(phase)};
      for (const double value : xyz) {
        text += ',';
        if (seen) {
          text.append(cell, std::to_chars(cell, cell + sizeof cell, value / per_mm,
                                          std::chars_format::fixed, 6)
                                .ptr);
        }
      }
    }
    text += '\n';
    if (text.size() > (1 << 20) || f + 1 == frames) {
      ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
      text.clear();
    }
  }
  return std::fclose(file) == 0 && ok;
}

// Times `runs` conversions of generated Motive exports (in mm, then in m,
// whose every value the converter turns into mm) and plain writes of their
// captures, and prints the MB of CSV read per second against the target;
// returns the status.
int measure_motive_conversion(int runs) {
  const TempDir dir("convert-bench-motive-");
  const std::string& folder = dir.path();
  const std::string output = folder + "/recording.csv";
  const std::string copy = folder + "/copy.csv";
  bool ok = true;
  for (const auto& [units, per_mm] : {std::pair{"Millimeters", 1.0}, {"Meters", 1000.0}}) {
    const std::string input = folder + "/take-" + units + ".csv";
    std::printf("\ngenerating %s ...\n", input.c_str());
    ok = write_motive_file(input, units, per_mm);
    read_file(input);  // into the page cache
    double best_convert = 0.0;
    double best_write = 0.0;
    double best_read = 0.0;
    for (int i = 0; ok && i < runs; ++i) {
      try {
        const Clock::time_point start = Clock::now();
        convert_recording(input, output);
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
      const Clock::time_point start = Clock::now();
      const std::unique_ptr<MarkerRecording> recording = open_recording(input);
      for (Frame frame; recording->next_frame(frame);) {
      }
      const double reading = seconds_since(start);
      if (i == 0 || reading < best_read) best_read = reading;
    }
    if (!ok) break;
    const double input_mb = file_megabytes(input);
    const double rate = input_mb / best_convert;
    std::printf(
        "%lld frames x %zu markers, Motive CSV in %s %.1f MB -> capture %.1f MB, best of "
        "%d runs\n",
        static_cast<long long>(frames), markers, units, input_mb, file_megabytes(output), runs);
    std::printf("  convert_recording       %8.3f s   %8.0f MB/s read\n", best_convert, rate);
    std::printf("  reading alone           %8.3f s   %8.0f MB/s read\n", best_read,
                input_mb / best_read);
    std::printf("  plain write of capture  %8.3f s   (baseline)\n", best_write);
    std::printf("  convert / plain write   %8.2f\n", best_convert / best_write);
    std::printf("target: at least %.0f MB/s read        %8.0f MB/s   %s\n", target_mb_per_second,
                rate, verdict(rate >= target_mb_per_second));
  }
  if (!ok) std::printf("Error: the Motive benchmark failed in %s\n", folder.c_str());
  return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  return run_benchmark(argc, argv, "convert_benchmark", 5, [](int runs) {
    return measure_conversion(runs) | measure_motive_conversion(runs);
  });
}
