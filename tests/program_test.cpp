// The built program end to end on an X display: prompt, window, exit status.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "capture_generator.h"
#include "program_run.h"
#include "program_texts.h"
#include "temp_dir.h"
#include "window_pixels.h"
#include "x_connection.h"

namespace {

namespace fs = std::filesystem;

const std::string viewer_program = MARKER_VIEWER_PROGRAM;
const std::string capture_text =
    "KSample,KTime,J1_X,J1_Y,J1_Z\n"
    "1,0.00,100,200,300\n"
    "2,0.01,110,210,310\n";
constexpr size_t longest_name = 999;

// Escape closes a toolkit window; a key sent before the window listens is
// lost, so it is sent again until the program ends.
int close_with_escape(ProgramRun& run, const std::string& window) {
  for (int attempt = 0; attempt < 5; ++attempt) {
    run_command("xdotool key --window " + window + " Escape 2>/dev/null");
    const int status = run.wait_for_exit(2.0);
    if (status != -1) return status;
  }
  return -1;
}

// Asks the window to close the way a desktop's close button does, with the
// window manager's WM_DELETE_WINDOW message.
void send_close_request(Display* display, const std::string& window) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = std::stoul(window);
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, event.xclient.window, False, NoEventMask, &event);
  XFlush(display);
}

// The marker view's X window, the only child window of the main window,
// waiting up to five seconds for it; 0 when it does not appear.
Window view_window(Display* display, const std::string& window) {
  Window view = 0;
  for (int i = 0; i < 100 && view == 0; ++i) {
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display, std::stoul(window), &root, &parent, &children, &count) != 0 &&
        count > 0)
      view = children[0];
    if (children != nullptr) XFree(children);
    if (view == 0) usleep(50000);
  }
  return view;
}

// Reads the view's pixels every 50 ms, for up to `seconds`, until `done`
// holds for them; returns the last pixels read.
std::vector<unsigned long> watch_pixels(
    Display* display, Window view,
    const std::function<bool(const std::vector<unsigned long>&)>& done, double seconds) {
  std::vector<unsigned long> pixels = window_pixels(display, view);
  for (int i = 0; i < static_cast<int>(seconds * 20) && !done(pixels); ++i) {
    usleep(50000);
    pixels = window_pixels(display, view);
  }
  return pixels;
}

int window_size(const std::string& window, const std::string& field) {
  const std::string info = run_command("xwininfo -id " + window);
  const size_t at = info.find(field + ": ");
  return at == std::string::npos ? -1 : std::stoi(info.substr(at + field.size() + 2));
}

class Program : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "needs an X display";
    // Held open so the server does not reset between two runs.
    display = connect_to_display();
    ASSERT_NE(display, nullptr) << "cannot connect to the X display";
  }
  void TearDown() override {
    if (display != nullptr) XCloseDisplay(display);
  }

  std::string write_file(const std::string& name, const std::string& text) {
    return dir.write(name, text);
  }

  // A capture whose second joint is never seen: three warnings, one for each
  // of its series, written before the window.
  std::string capture_with_unseen_joint() {
    return write_file("unseen.csv",
                      "KSample,KTime,A_X,A_Y,A_Z,B_X,B_Y,B_Z\n1,0,1,2,3,,,\n2,0.01,1,2,3,,,\n");
  }

  // Waits up to 20 s for the program to end, noting whether it ever showed
  // its window; returns its exit status, -1 when it did not end by itself.
  static int exit_status_watching_for_window(ProgramRun& run, bool& window_seen) {
    int status = -1;
    for (int i = 0; i < 200 && status == -1; ++i) {
      window_seen = window_seen || !run.window().empty();
      status = run.wait_for_exit(0.1);
    }
    return status;
  }

  // A capture whose path is exactly longest_name characters long, nested in
  // directories since one file name may hold only 255.
  std::string capture_with_longest_path() {
    std::string path = dir.path();
    while (longest_name - path.size() > 200) {
      path += "/" + std::string(150, 'd');
      fs::create_directory(path);
    }
    path += "/" + std::string(longest_name - path.size() - 1, 'c');
    std::ofstream(path) << capture_text;
    return path;
  }

  Display* display = nullptr;
  TempDir dir{"viewer-"};
};

TEST_F(Program, ShowsTheWindowAfterTheNameAndEndsWithStatusZeroWhenClosed) {
  const std::string capture = write_file("walk.csv", capture_text);
  const std::string unseen_joint = capture_with_unseen_joint();
  CaptureShape many;  // a dense marker set: data lines of about 8,000 characters
  many.samples = 100;
  many.markers = 300;
  const std::string many_markers = dir.path() + "/many-markers.csv";
  ASSERT_TRUE(write_capture_file(many_markers.c_str(), many));
  struct Case {
    const char* what;
    std::string input;
    std::vector<std::string> arguments;
    std::string output;
  };
  // Columns: what is typed, standard input, command-line arguments, what is
  // written to standard output.
  const Case cases[] = {
      {"name and newline", capture + "\n", {}, texts::prompt},
      {"blank lines first, words after", "\n\n \t" + capture + " more\n", {}, texts::prompt},
      {"name at end of input", capture, {}, texts::prompt},
      {"name of 999 characters", capture_with_longest_path() + "\n", {}, texts::prompt},
      {"arguments are ignored", capture + "\n", {"/no/such/file.csv"}, texts::prompt},
      {"joint never seen",
       unseen_joint + "\n",
       {},
       texts::prompt + texts::whole_series_missing_times(3)},
      {"300 markers", many_markers + "\n", {}, texts::prompt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ProgramRun run(viewer_program, c.input, c.arguments);
    const std::string window = run.wait_for_window(20.0);
    ASSERT_FALSE(window.empty()) << "no window; output: " << run.output();
    EXPECT_EQ(window_size(window, "Width"), 920);
    EXPECT_EQ(window_size(window, "Height"), 752);
    EXPECT_EQ(close_with_escape(run, window), 0);
    EXPECT_EQ(run.output(), c.output);
  }
}

TEST_F(Program, BadInputEndsWithItsErrorLineAndStatusOneWithoutAWindow) {
  const std::string empty = write_file("empty.csv", "");
  const std::string too_long = capture_with_longest_path() + "x";
  struct Case {
    const char* what;
    std::string input;
    std::string line;
  };
  // Columns: what is wrong, standard input, the one line after the prompt.
  const Case cases[] = {
      {"missing file", dir.path() + "/missing.csv\n", texts::cannot_open},
      {"empty file", empty + "\n", texts::expecting_first_line},
      {"end of input", "", texts::cannot_open},
      {"white space only", " \n\t\n", texts::cannot_open},
      {"name of 5000 characters", std::string(5000, 'n') + "\n", texts::cannot_open},
      // Cut to 999 characters this name would open an existing capture.
      {"name one past the limit is not cut", too_long + "\n", texts::cannot_open},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ProgramRun run(viewer_program, c.input);
    bool window_seen = false;
    EXPECT_EQ(exit_status_watching_for_window(run, window_seen), 1);
    EXPECT_FALSE(window_seen);
    EXPECT_EQ(run.output(), texts::prompt + c.line);
  }
}

TEST_F(Program, ClosedOrUnreadStandardStreamsChangeNothingElse) {
  const std::string capture = write_file("walk.csv", capture_text);
  const std::string unseen_joint = capture_with_unseen_joint();
  const std::string missing = dir.path() + "/missing.csv";
  struct Case {
    const char* what;
    Streams streams;
    std::string input;
    bool window;         // shows its window (closed with Escape: status 0)
    std::string output;  // what the test reads of standard output
  };
  // Columns: what is closed or unread, the streams, standard input, whether
  // the window opens, standard output. Without a window the status is 1.
  const Case cases[] = {
      {"output closed", Streams::output_closed, capture + "\n", true, ""},
      {"error closed", Streams::error_closed, capture + "\n", true, texts::prompt},
      {"input closed", Streams::input_closed, "", false, texts::prompt + texts::cannot_open},
      {"output closed, bad file", Streams::output_closed, missing + "\n", false, ""},
      {"output unread, good file", Streams::output_unread, capture + "\n", true, ""},
      {"output unread, warnings", Streams::output_unread, unseen_joint + "\n", true, ""},
      {"output unread, bad file", Streams::output_unread, missing + "\n", false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ProgramRun run(viewer_program, c.input, {}, c.streams);
    if (c.window) {
      const std::string window = run.wait_for_window(20.0);
      ASSERT_FALSE(window.empty()) << "no window";
      EXPECT_EQ(close_with_escape(run, window), 0);
    } else {
      bool window_seen = false;
      EXPECT_EQ(exit_status_watching_for_window(run, window_seen), 1)
          << "-1: killed by a signal or still running";
      EXPECT_FALSE(window_seen);
    }
    EXPECT_EQ(run.output(), c.output);
  }
}

TEST_F(Program, ClosingTheWindowDuringRunEndsWithStatusZeroAtOnce) {
  CaptureShape walk;    // a figure walking in place
  walk.samples = 1000;  // 10 s at 100 Hz
  const std::string capture = dir.path() + "/long-walk.csv";
  ASSERT_TRUE(write_capture_file(capture.c_str(), walk));
  struct Case {
    const char* what;
    void (*close)(Display* display, const std::string& window);
  };
  // Columns: how the window is closed during the playback.
  const Case cases[] = {
      {"Escape key",
       [](Display*, const std::string& window) {
         run_command("xdotool key --window " + window + " Escape");
       }},
      {"the desktop's close button", send_close_request},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ProgramRun run(viewer_program, capture + "\n");
    const std::string window = run.wait_for_window(20.0);
    ASSERT_FALSE(window.empty()) << "no window; output: " << run.output();
    const Window view = view_window(display, window);
    ASSERT_NE(view, 0u) << "no view in the window";
    // The first sample, once it is on the screen.
    const std::vector<unsigned long> first = watch_pixels(
        display, view, [](const std::vector<unsigned long>& p) { return lit_pixels(p) > 0; }, 10.0);
    ASSERT_GT(lit_pixels(first), 0) << "the first sample was never shown";

    // "Run" sits at 5, 90 and is 45 x 40 pixels.
    run_command("xdotool mousemove --window " + window + " 27 110 click 1");
    const std::vector<unsigned long> later = watch_pixels(
        display, view, [&first](const std::vector<unsigned long>& p) { return p != first; }, 5.0);
    ASSERT_TRUE(later != first) << "Run did not start a playback";

    c.close(display, window);
    EXPECT_EQ(run.wait_for_exit(1.0), 0) << "not ended within a second";
    EXPECT_EQ(run.output(), texts::prompt);
  }
}

}  // namespace
