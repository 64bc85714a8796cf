// Time to the window: capture-view on a generated C3D of 60,000 frames x
// 100 markers, from its start to the first picture in its window (the
// view's pixels read from the X server until one is lit), beside
// capture-convert without --fit on the same file, timed in turns. The best
// time of each program counts, as in the load and convert benchmarks: one
// run's ratio moves with the machine's slow spells (1.1 to 1.7 for the same
// programs here), which a user's next run does not meet. Needs an X display
// of its own: scripts/bench-window.sh starts a virtual one, on which the
// window's title alone finds it.
//
// Usage: window_benchmark [RUNS]   (default 5; every run is shown, the best
// times count)
#include <X11/Xlib.h>
#include <signal.h>
#include <sys/wait.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <thread>

#include "bench_report.h"
#include "child_process.h"
#include "recording_texts.h"
#include "side_by_side.h"
#include "temp_dir.h"
#include "window_pixels.h"
#include "x_connection.h"

namespace {

constexpr BenchMotion motion{60000, 100};
constexpr double target_ratio = 1.6;  // at most, window time / conversion time
constexpr double give_up_seconds = 120.0;
const char* const title = "Displays the Markers";

using Clock = std::chrono::steady_clock;

double seconds_since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// A window may go away between finding it and reading it; that is no fault.
int ignore_x_error(Display*, XErrorEvent*) { return 0; }

// The children of window, oldest first.
std::vector<Window> children_of(Display* display, Window window) {
  Window root = 0;
  Window parent = 0;
  Window* children = nullptr;
  unsigned count = 0;
  std::vector<Window> found;
  if (XQueryTree(display, window, &root, &parent, &children, &count) != 0 && children != nullptr) {
    found.assign(children, children + count);
    XFree(children);
  }
  return found;
}

// True when window is titled "Displays the Markers".
bool is_viewer_window(Display* display, Window window) {
  char* name = nullptr;
  const bool match =
      XFetchName(display, window, &name) != 0 && name != nullptr && std::strcmp(name, title) == 0;
  if (name != nullptr) XFree(name);
  return match;
}

// The top-level window titled "Displays the Markers", or 0.
Window viewer_window(Display* display) {
  for (Window window : children_of(display, DefaultRootWindow(display))) {
    if (is_viewer_window(display, window)) return window;
  }
  return 0;
}

// True when the window's marker view, its only child, shows a lit pixel.
bool shows_picture(Display* display, Window window) {
  const std::vector<Window> view = children_of(display, window);
  return !view.empty() && lit_pixels(window_pixels(display, view.front())) > 0;
}

// Waits for the MapNotify of the top-level window titled "Displays the
// Markers", reading the events the root window reports instead of asking
// the server again and again, which would keep it and this program busy
// while the viewer decides whether a second core is idle. False when none
// came by deadline.
bool wait_for_viewer_window(Display* display, Clock::time_point deadline, Window& window) {
  for (;;) {
    while (XPending(display) > 0) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type == MapNotify && is_viewer_window(display, event.xmap.window)) {
        window = event.xmap.window;
        return true;
      }
    }
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return false;
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    poll(&connection, 1, static_cast<int>(left.count()));
  }
}

// Seconds from starting capture-view on recording to the first picture in
// its window; ends it again and waits until the window is gone. Throws
// when no picture came.
double seconds_to_first_picture(Display* display, const std::string& recording) {
  const int nothing = open("/dev/null", O_RDWR | O_CLOEXEC);
  XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
  XSync(display, True);
  const Clock::time_point start = Clock::now();
  const Clock::time_point deadline = start + std::chrono::duration_cast<Clock::duration>(
                                                 std::chrono::duration<double>(give_up_seconds));
  const pid_t child = start_child({CAPTURE_VIEW_PROGRAM, recording}, environment_with({}), nothing,
                                  nothing, nothing);
  double seconds = -1.0;
  Window window = 0;
  if (wait_for_viewer_window(display, deadline, window)) {
    while (seconds < 0.0 && Clock::now() < deadline) {
      if (shows_picture(display, window)) {
        seconds = seconds_since(start);
      } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
      }
    }
  }
  XSelectInput(display, DefaultRootWindow(display), NoEventMask);
  kill(child, SIGTERM);
  waitpid(child, nullptr, 0);
  close(nothing);
  while (viewer_window(display) != 0) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  if (seconds < 0.0) throw std::runtime_error("capture-view showed no picture of " + recording);
  return seconds;
}

int measure_window(int runs) {
  Display* display = connect_to_display();
  if (display == nullptr) throw std::runtime_error("cannot connect to the X display");
  XSetErrorHandler(ignore_x_error);
  const TempDir dir("window-bench-");
  const std::string recording = dir.write("recording.c3d", c3d_recording(motion, 0));
  const std::string capture = dir.path() + "/capture.csv";
  read_file(recording);  // into the page cache
  std::printf("capture-view on a C3D of %lld frames x %lld markers (%.1f MB), %d cores\n\n",
              static_cast<long long>(motion.frames), static_cast<long long>(motion.markers),
              static_cast<double>(read_file(recording).size()) / 1e6, available_cores());
  std::printf("%-8s %18s %22s %8s   %s\n", "run", "capture-convert s", "capture-view picture s",
              "ratio", "load");
  double best_convert = 0.0;
  double best_window = 0.0;
  // Run 0 warms up: the first use of this much memory on a virtual machine
  // costs its host's page faults, which later runs and a user's next one
  // do not pay. It is shown, not counted.
  for (int run = 0; run <= runs; ++run) {
    const double convert =
        time_program_into_new_file({CAPTURE_CONVERT_PROGRAM, recording, capture}, capture);
    if (convert < 0.0) throw std::runtime_error("capture-convert failed on " + recording);
    const double window = seconds_to_first_picture(display, recording);
    if (run > 0) {
      keep_best(best_convert, convert, run == 1);
      keep_best(best_window, window, run == 1);
    }
    const std::string label = run == 0 ? "warm-up" : std::to_string(run);
    std::printf("%-8s %18.3f %22.3f %8.2f   %s\n", label.c_str(), convert, window, window / convert,
                load_average().c_str());
  }
  const double ratio = best_window / best_convert;
  std::printf("%-8s %18.3f %22.3f %8.2f\n", "best", best_convert, best_window, ratio);
  std::printf("\ntarget: capture-view's picture within %.1f x capture-convert, best of %d: %s\n",
              target_ratio, runs, verdict(ratio <= target_ratio));
  XCloseDisplay(display);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  return run_benchmark(argc, argv, "window_benchmark", 5, measure_window);
}
