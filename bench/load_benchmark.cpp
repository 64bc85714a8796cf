// Load benchmark: generates big captures in a temporary folder, loads each in
// fresh child processes with the project's loader as the viewer calls it
// (both cores when the second is idle) and, in the same run, with the loader
// held to two cores and to one, and with three baselines (pandas read_csv, nodejs-polars readCSV on
// two threads, and plain fgets + strtod), and prints the times, their ratios, throughput and peak
// memory against the targets.
//
// Usage: load_benchmark [RUNS]   (default 5 runs per size and reader, taken
// in turns; the temporary folder is made under $TMPDIR, else /tmp, and
// removed at the end)
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
#include "side_by_side.h"
#include "temp_dir.h"

namespace {

constexpr double target_pandas_ratio = 11.0;
constexpr double target_polars_ratio = 3.0;
constexpr const char* polars_threads = "2";
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
  long peak_rss_kib = 0;        // the largest of all runs
  double best_two_cores = 0.0;  // load + fill with the loader held to two cores
  double best_one_core = 0.0;   // load + fill with the loader held to one core
  double best_plain = 0.0;      // fgets + strtod
  double best_pandas = 0.0;     // read_csv alone
  double pandas_import = 0.0;   // importing pandas before it, in that run
  double best_polars = 0.0;     // readCSV alone
  double polars_import = 0.0;   // loading nodejs-polars before it, in that run
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

// Makes best the least of the script's load times seen, and import the
// import time of that run.
void keep_best_script_run(double& best, double& import, const ScriptRun& run, bool first) {
  if (first || run.load_seconds < best) import = run.import_seconds;
  keep_best(best, run.load_seconds, first);
}

// Runs the loads of one case, the loader as the viewer calls it, on two
// cores and on one, and the three baselines, in turns so that a busy spell of
// the machine slows them all; false when one failed.
bool measure(Case& c, int runs) {
  for (int i = 0; i < runs; ++i) {
    // On this project's virtual machine a load right after the library
    // baselines is slower (its fresh memory costs more to fault in) than one
    // right after another load, so the three loads take turns at going first.
    LoadRun loads[3];
    const int cores[3] = {0, 2, 1};
    for (int k = 0; k < 3; ++k) {
      const int turn = (i + k) % 3;
      loads[turn] = run_load_in_child(c.path.c_str(), cores[turn]);
    }
    const LoadRun& run = loads[0];
    const LoadRun& two_cores = loads[1];
    const LoadRun& one_core = loads[2];
    const LoadRun plain = run_plain_read_in_child(c.path.c_str());
    const ScriptRun pandas = run_read_script({PANDAS_PYTHON, PANDAS_SCRIPT, c.path}, {});
    const ScriptRun polars = run_read_script(
        {NODE_PROGRAM, POLARS_SCRIPT, c.path},
        {"NODE_PATH=" POLARS_MODULES, std::string("POLARS_MAX_THREADS=") + polars_threads});
    if (!run.ok || !two_cores.ok || !one_core.ok || !plain.ok || !pandas.ok || !polars.ok) {
      std::printf("Error: %s failed on %s\n",
                  !run.ok || !two_cores.ok || !one_core.ok ? "load_motion_data"
                  : !plain.ok                              ? "fgets + strtod"
                  : !pandas.ok                             ? PANDAS_PYTHON " " PANDAS_SCRIPT
                                                           : NODE_PROGRAM " " POLARS_SCRIPT,
                  c.path.c_str());
      return false;
    }
    keep_best(c.best_load, run.load_seconds, i == 0);
    keep_best(c.best_fill, run.fill_seconds, i == 0);
    keep_best(c.best_total, run.load_seconds + run.fill_seconds, i == 0);
    keep_best(c.best_cpu, run.cpu_seconds, i == 0);
    c.peak_rss_kib = std::max({c.peak_rss_kib, run.peak_rss_kib, two_cores.peak_rss_kib});
    keep_best(c.best_two_cores, two_cores.load_seconds + two_cores.fill_seconds, i == 0);
    keep_best(c.best_one_core, one_core.load_seconds + one_core.fill_seconds, i == 0);
    keep_best(c.best_plain, plain.load_seconds, i == 0);
    keep_best_script_run(c.best_pandas, c.pandas_import, pandas, i == 0);
    keep_best_script_run(c.best_polars, c.polars_import, polars, i == 0);
  }
  return true;
}

std::string label(const Case& c) {
  return std::to_string(c.shape.samples) + " x " + std::to_string(c.shape.markers);
}

void print_report(const std::array<Case, 2>& cases, int runs, long idle_kib) {
  double load[3] = {0.0, 0.0, 0.0};
  const bool have_load = getloadavg(load, 3) == 3;
  std::printf(
      "load_motion_data + fill_gaps as the viewer calls them (%d cores here,\n"
      "when the second is idle), file in the page cache, best of %d runs, each\n"
      "in a fresh child process (cpu s: the child's user + system time; peak\n"
      "RSS: largest run, on two cores too; an idle child has %.1f MiB)",
      available_cores(), runs, static_cast<double>(idle_kib) / 1024.0);
  if (have_load) std::printf("; load average %.2f %.2f %.2f", load[0], load[1], load[2]);
  std::printf("\n\n%-14s %8s %8s %8s %8s %8s %8s %9s %7s %9s %9s\n", "capture", "file MB", "load s",
              "fill s", "total s", "cpu s", "MB/s", "ns/field", "fill %", "RSS MiB", "goal MiB");
  for (const Case& c : cases) {
    const double fields = static_cast<double>(c.shape.samples) * (2.0 + 3.0 * c.shape.markers);
    const double goal = record_bytes(c.shape) + record_slack_bytes;
    std::printf("%-14s %8.1f %8.3f %8.4f %8.3f %8.3f %8.0f %9.2f %7.2f %9.1f %9.1f\n",
                label(c).c_str(), c.file_bytes / 1e6, c.best_load, c.best_fill, c.best_total,
                c.best_cpu, c.file_bytes / 1e6 / c.best_total, c.best_total * 1e9 / fields,
                100.0 * c.best_fill / c.best_load, static_cast<double>(c.peak_rss_kib) / 1024.0,
                goal / mib);
  }

  std::printf(
      "\nthe same files in the same run, best of %d fresh processes each: the\n"
      "loader held to two cores and to one, pandas read_csv and nodejs-polars readCSV on %s\n"
      "threads (load only; import s: loading the library first, not counted),\n"
      "and fgets + strtod into a growing array (no gap filling)\n\n",
      runs, polars_threads);
  std::printf("%-14s %7s %7s %7s %7s %8s %7s %7s %8s %7s %7s %7s %7s\n", "capture", "ours s",
              "2 cores", "1 core", "1c/2c", "pandas s", "import", "pd/us", "polars s", "import",
              "pl/us", "fgets s", "fg/us");
  for (const Case& c : cases) {
    std::printf(
        "%-14s %7.3f %7.3f %7.3f %6.2fx %8.3f %7.3f %6.1fx %8.3f %7.3f %6.2fx %7.3f %6.1fx\n",
        label(c).c_str(), c.best_total, c.best_two_cores, c.best_one_core,
        c.best_one_core / c.best_two_cores, c.best_pandas, c.pandas_import,
        c.best_pandas / c.best_total, c.best_polars, c.polars_import, c.best_polars / c.best_total,
        c.best_plain, c.best_plain / c.best_total);
  }

  const Case& small = cases[0];
  const Case& big = cases[1];
  const double pandas_ratio = big.best_pandas / big.best_total;
  const double polars_ratio = big.best_polars / big.best_total;
  const double ratio = big.best_total / small.best_total;
  const double big_goal = record_bytes(big.shape) + record_slack_bytes;
  const double big_rss = static_cast<double>(big.peak_rss_kib) * 1024.0;
  const double fill_percent = 100.0 * big.best_fill / big.best_load;
  std::printf("\ntargets (%d x %d):\n", big.shape.samples, big.shape.markers);
  std::printf("  pandas time / ours >= %.0f       %8.1fx       %s\n", target_pandas_ratio,
              pandas_ratio, verdict(pandas_ratio >= target_pandas_ratio));
  std::printf("  polars time / ours >= %.0f        %8.2fx       %s\n", target_polars_ratio,
              polars_ratio, verdict(polars_ratio >= target_polars_ratio));
  std::printf("  time / time at %d <= %.1f  %8.2f        %s\n", small.shape.samples, target_ratio,
              ratio, verdict(ratio <= target_ratio));
  std::printf("  peak RSS <= %.1f MiB          %8.1f MiB    %s\n", big_goal / mib, big_rss / mib,
              verdict(big_rss <= big_goal));
  std::printf("  fill_gaps < %.0f %% of load       %8.2f %%      %s\n", target_fill_percent,
              fill_percent, verdict(fill_percent < target_fill_percent));
}

// Generates the captures in a temporary folder, loads each `runs` times with
// every reader and prints the report; returns the status.
int measure_loads(int runs) {
  const TempDir dir("marker-bench-");
  const std::string& folder = dir.path();

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
    std::printf("loading %s %d times with each reader ...\n", c.path.c_str(), runs);
    ok = measure(c, runs);
  }
  if (ok) {
    std::printf("\n");
    print_report(cases, runs, idle_child_rss_kib());
  }

  return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  return run_benchmark(argc, argv, "load_benchmark", 5, measure_loads);
}
