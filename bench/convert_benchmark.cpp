// Convert benchmark: generates, in a temporary folder, one motion of
// 200,000 frames x 30 markers (about 2 % of points not seen) in every format
// capture-convert reads, converts each with convert_recording, and prints
// the MB per second against its target (C3D: capture text written; the text
// formats: input read), beside a baseline timed in the same run: writing the
// same capture bytes to a file without any conversion. The processor time
// of the best conversion is printed too, since a busy machine stretches the
// wall clock but not it. Then the capture-convert program converts each
// file on every core the machine gives it and held to one core
// (taskset -c 0), in turns and going round the formats, and the ratio of
// the two is set against its target. Beside it, the processor time of an
// in-process conversion held to one core and that of each thread on two:
// the ratio the wall clock would show on two free cores at most, whatever
// else runs.
//
// Usage: convert_benchmark [RUNS [FORMAT]]   (default 5; best run counts;
// FORMAT measures only the formats whose name starts with it, "Motive"
// say; the folder is made under $TMPDIR, else /tmp, holds every format's
// file at once and is removed at the end)
#include <sched.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "bench_report.h"
#include "capture_generator.h"
#include "conversion_error.h"
#include "converter.h"
#include "recording_texts.h"
#include "side_by_side.h"
#include "temp_dir.h"

namespace {

constexpr BenchMotion motion{200000, 30};
constexpr double two_core_target = 1.6;  // one core's time / both cores' time

using Clock = std::chrono::steady_clock;

double seconds_since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

double processor_seconds() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

// Processor seconds of the calling thread alone.
double thread_seconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Processor seconds of one conversion held to the first core, so on one
// thread; the affinity is given back after.
double processor_seconds_on_one_core(const std::string& input, const std::string& output) {
  cpu_set_t all;
  cpu_set_t first;
  CPU_ZERO(&first);
  CPU_SET(0, &first);
  if (sched_getaffinity(0, sizeof all, &all) != 0 ||
      sched_setaffinity(0, sizeof first, &first) != 0)
    return -1.0;
  const double start = processor_seconds();
  convert_recording(input, output);
  const double seconds = processor_seconds() - start;
  sched_setaffinity(0, sizeof all, &all);
  return seconds;
}

// One format of the benchmark and its target.
struct Case {
  const char* format;
  const char* file_name;
  std::function<std::string()> contents;
  bool per_input_mb;  // the target counts input read, not capture written
  double target_mb_per_second;
};

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

// The best times of `runs` conversions and of plain writes of their result.
struct Timing {
  double convert = 0.0;
  double convert_processor = 0.0;
  double reading_thread = 0.0;        // processor time of the thread that read, in that run
  double one_thread_processor = 0.0;  // of a conversion held to one core
  double plain_write = 0.0;
  double program_cores = 0.0;     // capture-convert on every core it may use
  double program_one_core = 0.0;  // the same held to one core
  ConversionSummary summary;
};

// Keeps the shorter of best and seconds; false when seconds is a failure.
bool keep_best_run(double seconds, bool first, double& best) {
  if (seconds < 0.0) return false;
  keep_best(best, seconds, first);
  return true;
}

// Times one run of capture-convert from input into output on every core
// and one held to the first, keeping the best; false when one failed.
bool time_program_on_cores(const std::string& input, const std::string& output, bool first,
                           Timing& timing) {
  return keep_best_run(time_program_into_new_file({CAPTURE_CONVERT_PROGRAM, input, output}, output),
                       first, timing.program_cores) &&
         keep_best_run(
             time_program_into_new_file(
                 {"/usr/bin/taskset", "-c", "0", CAPTURE_CONVERT_PROGRAM, input, output}, output),
             first, timing.program_one_core);
}

// Times `runs` conversions of input into output and plain writes of the
// result into copy; false when one failed.
bool time_conversion(const std::string& input, const std::string& output, const std::string& copy,
                     int runs, Timing& timing) {
  read_file(input);  // into the page cache
  for (int i = 0; i < runs; ++i) {
    try {
      const Clock::time_point start = Clock::now();
      const double processor_start = processor_seconds();
      const double thread_start = thread_seconds();
      timing.summary = convert_recording(input, output);
      const double seconds = seconds_since(start);
      if (i == 0 || seconds < timing.convert) {
        timing.convert = seconds;
        timing.convert_processor = processor_seconds() - processor_start;
        timing.reading_thread = thread_seconds() - thread_start;
      }
      if (!keep_best_run(processor_seconds_on_one_core(input, output), i == 0,
                         timing.one_thread_processor))
        return false;
    } catch (const ConversionError& error) {
      std::printf("Error: %s\n", error.what());
      return false;
    }
    const double seconds = time_plain_write(read_file(output), copy);
    if (seconds <= 0.0) return false;
    keep_best(timing.plain_write, seconds, i == 0);
  }
  return true;
}

// Prints one format's figures against its target.
void report(const Case& c, const std::string& input, const Timing& timing, int runs) {
  const double input_mb = file_megabytes(input);
  const double csv_mb = static_cast<double>(timing.summary.bytes_written) / 1e6;
  const double counted_mb = c.per_input_mb ? input_mb : csv_mb;
  const double rate = counted_mb / timing.convert;
  const char* counted = c.per_input_mb ? "read" : "written";
  std::printf("\n%s: %lld frames x %lld markers, %.1f MB -> capture %.1f MB, best of %d runs\n",
              c.format, static_cast<long long>(timing.summary.frames),
              static_cast<long long>(timing.summary.markers), input_mb, csv_mb, runs);
  std::printf("  convert_recording       %8.3f s   %8.0f MB/s %s (processor %.3f s, %.0f MB/s)\n",
              timing.convert, rate, counted, timing.convert_processor,
              counted_mb / timing.convert_processor);
  std::printf("  plain write, same bytes %8.3f s   %8.0f MB/s  (baseline)\n", timing.plain_write,
              csv_mb / timing.plain_write);
  std::printf("  convert / plain write   %8.2f\n", timing.convert / timing.plain_write);
  std::printf("  target: at least %.0f MB/s %s   %8.0f MB/s   %s\n", c.target_mb_per_second,
              counted, rate, verdict(rate >= c.target_mb_per_second));
  const double ratio = timing.program_one_core / timing.program_cores;
  std::printf("  capture-convert, %d cores    %8.3f s\n", available_cores(), timing.program_cores);
  std::printf("  capture-convert, taskset -c 0 %7.3f s\n", timing.program_one_core);
  std::printf("  one core / %d cores: %.2f   target: at least %.2f   %s   (%s)\n",
              available_cores(), ratio, two_core_target, verdict(ratio >= two_core_target),
              load_average().c_str());
  // On a busy machine the wall clock gives the second thread no core of its
  // own; the processor time of each thread still shows the split.
  const double second_thread = timing.convert_processor - timing.reading_thread;
  std::printf("  processor s: one core %.3f; %d cores: reading thread %.3f, second %.3f\n",
              timing.one_thread_processor, available_cores(), timing.reading_thread, second_thread);
  std::printf("  one core / busier thread: %.2f (the most two free cores give)\n",
              timing.one_thread_processor / std::max(timing.reading_thread, second_thread));
}

// The motion's frame count and markers as a capture file of a person in a
// lab, mm with 3 decimals.
std::string capture_file() {
  CaptureShape shape;
  shape.samples = static_cast<int32_t>(motion.frames);
  shape.markers = static_cast<int32_t>(motion.markers);
  shape.scale = 2.3;
  shape.offset_mm = 2000.0;
  const TempDir dir("capture-");
  const std::string path = dir.path() + "/capture.csv";
  return write_capture_file(path.c_str(), shape) ? read_file(path) : "";
}

// Converts the generated file of every case whose format starts with
// `formats` `runs` times and prints the figures; returns the status.
int measure_conversions(int runs, const std::string& formats) {
  const Case cases[] = {
      {"C3D", "recording.c3d", [] { return c3d_recording(motion, 16); }, false, 150.0},
      {"TRC", "recording.trc", [] { return trc_table(motion); }, true, 150.0},
      {"Qualisys TSV", "recording.tsv", [] { return qualisys_export(motion); }, true, 150.0},
      {"Vicon Nexus CSV", "nexus.csv", [] { return nexus_export(motion); }, true, 150.0},
      {"Motive CSV in mm", "motive.csv", [] { return motive_export(motion, false); }, true, 150.0},
      {"Motive CSV in m", "motive-metres.csv", [] { return motive_export(motion, true); }, true,
       150.0},
      {"BVH", "skeleton.bvh",
       [] {
         return bvh_skeleton({100000, 30});
       },
       true, 50.0},
      {"capture file", "walk-capture.csv", capture_file, true, 150.0},
  };
  struct Measured {
    const Case& c;
    std::string input;
    Timing timing;
  };
  const TempDir dir("convert-bench-");
  const std::string output = dir.path() + "/capture.csv";
  const std::string copy = dir.path() + "/copy.csv";
  std::vector<Measured> measured;
  for (const Case& c : cases) {
    if (std::string(c.format).rfind(formats, 0) != 0) continue;
    measured.push_back({c, dir.write(c.file_name, c.contents()), {}});
    if (!time_conversion(measured.back().input, output, copy, runs, measured.back().timing)) {
      std::printf("Error: the benchmark of %s failed in %s\n", c.format, dir.path().c_str());
      return 1;
    }
  }
  // The program's runs go round every format in turns, so that a slow spell
  // of the shared machine, which lasts seconds, meets one run of several
  // formats rather than every run of one.
  for (int i = 0; i < runs; ++i) {
    for (Measured& m : measured) {
      if (!time_program_on_cores(m.input, output, i == 0, m.timing)) {
        std::printf("Error: capture-convert failed on %s in %s\n", m.c.format, dir.path().c_str());
        return 1;
      }
    }
  }
  for (const Measured& m : measured) report(m.c, m.input, m.timing, runs);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string formats = argc == 3 ? argv[2] : "";
  return run_benchmark(argc == 3 ? 2 : argc, argv, "convert_benchmark", 5,
                       [&formats](int runs) { return measure_conversions(runs, formats); });
}
