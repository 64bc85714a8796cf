// Load benchmark: generates big captures in a temporary folder, loads each in
// fresh child processes, and prints the times, throughput and peak memory
// against the targets.
//
// Usage: load_benchmark [RUNS]   (default 5 runs per size; the temporary
// folder is made under $TMPDIR, else /tmp, and removed at the end)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench_report.h"
#include "capture_generator.h"
#include "load_probe.h"

namespace {

constexpr double target_seconds_200k = 0.35;
constexpr double target_ratio = 4.4;
constexpr double target_fill_percent = 5.0;
constexpr double record_slack_bytes = 16.0 * 1024 * 1024;
constexpr double mib = 1024.0 * 1024.0;

// One measured capture size and what its runs gave.
struct Case {
  CaptureShape shape;
  std::string path;
  double file_bytes = 0.0;
  double best_load = 0.0;
  double best_fill = 0.0;
  double best_total = 0.0;
  double best_cpu = 0.0;
  long peak_rss_kib = 0;  // the largest of all runs
};

CaptureShape shape_of(int32_t samples, int32_t markers) {
  CaptureShape shape;
  shape.samples = samples;
  shape.markers = markers;
  shape.rate_hz = 100.0;
  shape.seed = 42;
  shape.scale = 2.3;  // a person of 1.75 m in a lab: coordinates of 4 digits
  shape.offset_mm = 2000.0;
  return shape;
}

// The record's own bytes: three double series per joint, and a sample number
// and a sample time per sample.
double record_bytes(const CaptureShape& shape) {
  return 8.0 * 3.0 * shape.samples * shape.markers + 12.0 * shape.samples;
}

// Reads the whole file once so that every run finds it in the page cache;
// returns its size in bytes, or -1 when it cannot be read.
double warm_page_cache(const char* path) {
  const int fd = open(path, O_RDONLY);
  if (fd < 0) return -1.0;
  char buffer[1 << 16];
  double total = 0.0;
  ssize_t got = 0;
  while ((got = read(fd, buffer, sizeof buffer)) > 0) total += static_cast<double>(got);
  close(fd);
  return got < 0 ? -1.0 : total;
}

// Runs the loads of one case; false when a child failed.
bool measure(Case& c, int runs) {
  for (int i = 0; i < runs; ++i) {
    const LoadRun run = run_load_in_child(c.path.c_str());
    if (!run.ok) return false;
    const double total = run.load_seconds + run.fill_seconds;
    if (i == 0 || run.load_seconds < c.best_load) c.best_load = run.load_seconds;
    if (i == 0 || run.fill_seconds < c.best_fill) c.best_fill = run.fill_seconds;
    if (i == 0 || total < c.best_total) c.best_total = total;
    if (i == 0 || run.cpu_seconds < c.best_cpu) c.best_cpu = run.cpu_seconds;
    c.peak_rss_kib = std::max(c.peak_rss_kib, run.peak_rss_kib);
  }
  return true;
}

void print_report(const std::array<Case, 2>& cases, int runs, long idle_kib) {
  std::printf("load_motion_data + fill_gaps, file in the page cache, best of %d runs,\n"
              "each in a fresh child process (cpu s: the child's user + system time;\n"
              "peak RSS: largest run; an idle child has %.1f MiB)\n\n",
              runs, static_cast<double>(idle_kib) / 1024.0);
  std::printf("%-14s %8s %8s %8s %8s %8s %8s %9s %7s %9s %9s\n", "capture", "file MB",
              "load s", "fill s", "total s", "cpu s", "MB/s", "ns/field", "fill %",
              "RSS MiB", "goal MiB");
  for (const Case& c : cases) {
    const double fields = static_cast<double>(c.shape.samples) * (2.0 + 3.0 * c.shape.markers);
    const double goal = record_bytes(c.shape) + record_slack_bytes;
    char label[32];
    std::snprintf(label, sizeof label, "%d x %d", c.shape.samples, c.shape.markers);
    std::printf("%-14s %8.1f %8.3f %8.4f %8.3f %8.3f %8.0f %9.2f %7.2f %9.1f %9.1f\n",
                label, c.file_bytes / 1e6, c.best_load, c.best_fill, c.best_total, c.best_cpu,
                c.file_bytes / 1e6 / c.best_total, c.best_total * 1e9 / fields,
                100.0 * c.best_fill / c.best_load,
                static_cast<double>(c.peak_rss_kib) / 1024.0, goal / mib);
  }

  const Case& small = cases[0];
  const Case& big = cases[1];
  const double ratio = big.best_total / small.best_total;
  const double big_goal = record_bytes(big.shape) + record_slack_bytes;
  const double big_rss = static_cast<double>(big.peak_rss_kib) * 1024.0;
  const double fill_percent = 100.0 * big.best_fill / big.best_load;
  std::printf("\ntargets (%d x %d):\n", big.shape.samples, big.shape.markers);
  std::printf("  load + fill <= %.2f s          %8.3f s      %s\n", target_seconds_200k,
              big.best_total, verdict(big.best_total <= target_seconds_200k));
  std::printf("  time / time at %d <= %.1f  %8.2f        %s\n", small.shape.samples,
              target_ratio, ratio, verdict(ratio <= target_ratio));
  std::printf("  peak RSS <= %.1f MiB          %8.1f MiB    %s\n", big_goal / mib,
              big_rss / mib, verdict(big_rss <= big_goal));
  std::printf("  fill_gaps < %.0f %% of load       %8.2f %%      %s\n",
              target_fill_percent, fill_percent, verdict(fill_percent < target_fill_percent));
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::atoi(argv[1]) : 5;
  if (argc > 2 || runs < 1) {
    std::printf("Usage: load_benchmark [RUNS]\n");
    return 2;
  }
  std::string folder = temporary_path("marker-bench-XXXXXX");
  if (mkdtemp(folder.data()) == nullptr) {
    std::printf("Error: cannot create a folder like %s\n", folder.c_str());
    return 1;
  }

  std::array<Case, 2> cases{};
  cases[0].shape = shape_of(50000, 30);
  cases[1].shape = shape_of(200000, 30);
  bool ok = true;
  for (Case& c : cases) {
    c.path = folder + "/capture-" + std::to_string(c.shape.samples) + ".csv";
    std::printf("generating %s ...\n", c.path.c_str());
    ok = ok && write_capture_file(c.path.c_str(), c.shape);
    c.file_bytes = ok ? warm_page_cache(c.path.c_str()) : -1.0;
    ok = ok && c.file_bytes > 0.0;
  }
  if (!ok) std::printf("Error: cannot write the captures in %s\n", folder.c_str());
  for (Case& c : cases) {
    if (!ok) break;
    std::printf("loading %s %d times ...\n", c.path.c_str(), runs);
    ok = measure(c, runs);
    if (!ok) std::printf("Error: loading %s failed\n", c.path.c_str());
  }
  if (ok) {
    std::printf("\n");
    print_report(cases, runs, idle_child_rss_kib());
  }

  for (const Case& c : cases) unlink(c.path.c_str());
  rmdir(folder.c_str());
  return ok ? 0 : 1;
}
