// Playback benchmark: plays a generated capture of 1,000 samples x 30 markers
// at 100 Hz with "Run" in a shown marker view and prints, per run, the share
// of samples drawn and the wall time, against the targets.
//
// Usage: playback_benchmark [RUNS]   (default 3 runs; needs an X display, for
// example under xvfb-run; the capture is written under $TMPDIR, else /tmp,
// and removed at the end)
#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_report.h"
#include "capture_generator.h"
#include "counting_view.h"
#include "marker_view.h"
#include "motion_data.h"
#include "temp_dir.h"

namespace {

constexpr int32_t capture_samples = 1000;
constexpr int32_t capture_markers = 30;
constexpr double capture_rate_hz = 100.0;
constexpr double target_drawn_percent = 95.0;
constexpr double target_seconds = 10.0;
constexpr double target_deviation_percent = 2.0;
// The view's size in the main window.
constexpr int view_width = 535;
constexpr int view_height = 500;

// One playback of the capture and what it showed.
struct Run {
  double seconds = 0.0;
  int samples_drawn = 0;
  int draws = 0;
  int32_t last_frame = -1;
};

Run play_once(CountingView& view) {
  view.frames_drawn.clear();
  const double seconds = timed_play(view);
  std::vector<bool> drawn(capture_samples, false);
  for (const int32_t frame : view.frames_drawn) {
    if (frame >= 0 && frame < capture_samples) drawn[static_cast<size_t>(frame)] = true;
  }
  Run run;
  run.seconds = seconds;
  run.samples_drawn = static_cast<int>(std::count(drawn.begin(), drawn.end(), true));
  run.draws = static_cast<int>(view.frames_drawn.size());
  run.last_frame = view.get_current_frame();
  return run;
}

void print_report(const std::vector<Run>& runs) {
  double load[3] = {0.0, 0.0, 0.0};
  const bool have_load = getloadavg(load, 3) == 3;
  std::printf("\n%d samples x %d markers at %.0f Hz, view %d x %d pixels", capture_samples,
              capture_markers, capture_rate_hz, view_width, view_height);
  if (have_load) std::printf(", load average %.2f %.2f %.2f", load[0], load[1], load[2]);
  std::printf("\n\n%-5s %10s %9s %8s %9s %11s %10s\n", "run", "drawn", "drawn %", "draws", "wall s",
              "off 10 s %", "last frame");
  double worst_percent = 100.0;
  double worst_deviation = 0.0;
  for (size_t i = 0; i < runs.size(); ++i) {
    const Run& r = runs[i];
    const double percent = 100.0 * r.samples_drawn / capture_samples;
    const double deviation = 100.0 * (r.seconds - target_seconds) / target_seconds;
    worst_percent = std::min(worst_percent, percent);
    worst_deviation = std::max(worst_deviation, std::abs(deviation));
    std::printf("%-5zu %5d/%-4d %9.1f %8d %9.3f %+11.2f %10d\n", i + 1, r.samples_drawn,
                capture_samples, percent, r.draws, r.seconds, deviation, r.last_frame);
  }
  std::printf("\ntargets (every run):\n");
  std::printf("  samples drawn >= %.0f %%       worst %6.1f %%   %s\n", target_drawn_percent,
              worst_percent, verdict(worst_percent >= target_drawn_percent));
  std::printf("  wall time within %.0f %% of %.0f s  worst %6.2f %%  %s\n",
              target_deviation_percent, target_seconds, worst_deviation,
              verdict(worst_deviation <= target_deviation_percent));
}

int play_runs(int run_count) {
  const TempDir folder("marker-playback-");
  const std::string path = folder.path() + "/capture.csv";
  CaptureShape shape;
  shape.samples = capture_samples;
  shape.markers = capture_markers;
  shape.rate_hz = capture_rate_hz;
  if (!write_capture_file(path.c_str(), shape)) {
    std::printf("Error: cannot write the capture %s\n", path.c_str());
    return 1;
  }
  MotionData data{};
  load_motion_data(path.c_str(), data);
  data.fill_gaps();

  Fl_Window window(view_width, view_height, "playback benchmark");
  CountingView* view = new CountingView(view_width, view_height);
  window.end();
  view->set_data(&data);
  window.show();
  // Lets the window appear and draw once before the first playback.
  for (int i = 0; i < 200 && view->frames_drawn.empty(); ++i) Fl::wait(0.05);
  if (view->frames_drawn.empty()) {
    std::printf("Error: the view was never drawn\n");
    return 1;
  }

  std::vector<Run> runs;
  for (int i = 0; i < run_count; ++i) {
    std::printf("playing run %d of %d ...\n", i + 1, run_count);
    std::fflush(stdout);
    runs.push_back(play_once(*view));
  }
  print_report(runs);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  return run_benchmark(argc, argv, "playback_benchmark", 3, play_runs);
}
