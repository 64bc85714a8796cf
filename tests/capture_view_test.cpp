// capture-view end to end on an X display: the recording shown in the
// viewer's window, its status, and nothing left in the temporary folder.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "child_process.h"
#include "program_run.h"
#include "program_texts.h"
#include "temp_dir.h"
#include "x_connection.h"

namespace {

namespace fs = std::filesystem;

const std::string usage_line =
    "Error: usage: capture-view RECORDING [--y-up | --z-up] [--keep-units] [--start SECONDS] "
    "[--end SECONDS] [--every N] [--follow]\n";

// The viewer's window, shown by capture-view's child rather than by
// capture-view itself, so looked for by its title alone; "" when none.
std::string window_titled(const std::string& title) {
  const std::string found =
      run_command("xdotool search --all --name '^" + title + "$' 2>/dev/null");
  return found.substr(0, found.find('\n'));
}
std::string markers_window() { return window_titled("Displays the Markers"); }
// The message box of capture-view --desktop.
std::string message_box() { return window_titled("capture-view"); }

std::string wait_for_window(const std::string& title, double seconds) {
  for (int i = 0; i < static_cast<int>(seconds * 10); ++i) {
    const std::string window = window_titled(title);
    if (!window.empty()) return window;
    usleep(100000);
  }
  return "";
}
std::string wait_for_markers_window(double seconds) {
  return wait_for_window("Displays the Markers", seconds);
}

class CaptureView : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "needs an X display";
    display = connect_to_display();
    ASSERT_NE(display, nullptr) << "cannot connect to the X display";
    const char* tmpdir = std::getenv("TMPDIR");
    if (tmpdir != nullptr) saved_tmpdir = tmpdir;
    // capture-view makes its folder where TMPDIR says: in the test's own one.
    setenv("TMPDIR", temporary.path().c_str(), 1);
  }
  void TearDown() override {
    if (saved_tmpdir.empty()) {
      unsetenv("TMPDIR");
    } else {
      setenv("TMPDIR", saved_tmpdir.c_str(), 1);
    }
    if (display != nullptr) XCloseDisplay(display);
  }

  // What capture-view left in TMPDIR.
  std::vector<std::string> left_behind() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(temporary.path()))
      names.push_back(entry.path().filename());
    return names;
  }

  Display* display = nullptr;
  TempDir files{"capture-view-files-"};
  TempDir temporary{"capture-view-tmp-"};
  std::string saved_tmpdir;
};

// Columns: the arguments, what capture-view prints before the viewer's
// prompt: the converter's hints, passed on options quieting them.
TEST_F(CaptureView, ShowsTheRecordingAndEndsWithStatusZeroWhenClosed) {
  const struct {
    std::vector<std::string> arguments;
    std::string note;
  } cases[] = {
      {{RECORDED_C3D}, ""},
      {{RECORDED_BVH},
       "Note: Frame Number reaches the first 1,001 frames (up to 8.333 s); --start/--end or "
       "--every 2 bring the rest within reach. The subject travels 258.718 recorded units; "
       "--follow keeps it in view.\n"},
      {{"--every", "2", RECORDED_BVH, "--follow"}, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments.front());
    ProgramRun run(CAPTURE_VIEW_PROGRAM, "", c.arguments);
    const std::string window = wait_for_markers_window(30.0);
    ASSERT_FALSE(window.empty()) << "no window; output: " << run.output();
    // The viewer reads the capture through an open descriptor: its file is
    // gone already, so even a SIGKILL of capture-view leaves nothing.
    EXPECT_EQ(left_behind(), std::vector<std::string>{});
    int status = -1;
    for (int attempt = 0; attempt < 5 && status == -1; ++attempt) {
      run_command("xdotool key --window " + window + " Escape 2>/dev/null");
      status = run.wait_for_exit(2.0);
    }
    EXPECT_EQ(status, 0);
    EXPECT_EQ(run.output(), c.note + texts::prompt);
    EXPECT_EQ(left_behind(), std::vector<std::string>{});
  }
}

// Columns: what is wrong, the arguments, the one line written.
TEST_F(CaptureView, BadRecordingOrUsageEndsWithOneErrorLineAndNoWindow) {
  const std::string text = files.write("notes.txt", "not a recording\n");
  const std::string missing = files.path() + "/missing.c3d";
  struct Case {
    const char* what;
    std::vector<std::string> arguments;
    std::string line;
  };
  const Case cases[] = {
      {"no such file",
       {missing},
       "Error: cannot read " + missing + ": No such file or directory\n"},
      {"not a recording",
       {text},
       "Error: " + text +
           " is not a recording capture-convert reads (C3D, TRC, Qualisys TSV, Vicon Nexus CSV, "
           "Motive CSV, BVH or a capture file)\n"},
      {"no recording", {}, usage_line},
      {"two recordings", {RECORDED_C3D, RECORDED_C3D}, usage_line},
      {"both up axes", {RECORDED_C3D, "--y-up", "--z-up"}, usage_line},
      {"an option of capture-convert only", {RECORDED_C3D, "--fit"}, usage_line},
      {"an option without its value", {RECORDED_C3D, "--every"}, usage_line},
      {"a start of nan",
       {RECORDED_C3D, "--start", "nan"},
       "Error: --start takes a number of seconds, not nan\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ProgramRun run(CAPTURE_VIEW_PROGRAM, "", c.arguments);
    bool window_seen = false;
    bool message_box_seen = false;
    int status = -1;
    for (int i = 0; i < 300 && status == -1; ++i) {
      window_seen = window_seen || !markers_window().empty();
      message_box_seen = message_box_seen || !message_box().empty();
      status = run.wait_for_exit(0.1);
    }
    EXPECT_EQ(status, 1);
    EXPECT_FALSE(window_seen);
    EXPECT_FALSE(message_box_seen) << "a message box without --desktop";
    EXPECT_EQ(run.output(), c.line);
    EXPECT_EQ(left_behind(), std::vector<std::string>{});
  }
}

// The viewer starts beside the conversion; when the conversion fails,
// nothing it wrote shows, not even the toolkit's complaint of no display.
TEST_F(CaptureView, RefusedRecordingWithoutADisplayStillEndsWithOneErrorLine) {
  const std::string missing = files.path() + "/missing.c3d";
  const ChildResult run = run_child({CAPTURE_VIEW_PROGRAM, missing}, "", {"DISPLAY=:none"}, 30.0);
  EXPECT_EQ(run.exit_status, 1) << deadline_message(run);
  EXPECT_EQ(run.out, "Error: cannot read " + missing + ": No such file or directory\n");
  EXPECT_EQ(run.err, "");
}

// With --desktop the same lines also show in a message box, and capture-view
// ends with the same status once it is closed. Columns: what is wrong, the
// arguments, the one line written.
TEST_F(CaptureView, DesktopStartAlsoShowsTheErrorLineInAMessageBox) {
  const std::string text = files.write("notes.txt", "not a recording\n");
  const struct {
    const char* what;
    std::vector<std::string> arguments;
    std::string line;
  } cases[] = {
      {"not a recording",
       {"--desktop", text},
       "Error: " + text +
           " is not a recording capture-convert reads (C3D, TRC, Qualisys TSV, Vicon Nexus CSV, "
           "Motive CSV, BVH or a capture file)\n"},
      {"two recordings", {RECORDED_C3D, "--desktop", RECORDED_C3D}, usage_line},
      {"--desktop twice", {"--desktop", RECORDED_C3D, "--desktop"}, usage_line},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ProgramRun run(CAPTURE_VIEW_PROGRAM, "", c.arguments);
    const std::string box = wait_for_window("capture-view", 30.0);
    ASSERT_FALSE(box.empty()) << "no message box; output: " << run.output();
    EXPECT_EQ(run.wait_for_exit(0.5), -1) << "ended before the box was closed";
    int status = -1;
    for (int attempt = 0; attempt < 5 && status == -1; ++attempt) {
      run_command("xdotool key --window " + box + " Escape 2>/dev/null");
      status = run.wait_for_exit(2.0);
    }
    EXPECT_EQ(status, 1);
    EXPECT_EQ(run.output(), c.line);
    EXPECT_EQ(markers_window(), "");
  }
}

// Columns: the argument, the starts of the lines its answer must hold.
TEST_F(CaptureView, HelpAndVersionAnswerOnStandardOutputWithStatusZero) {
  for (const texts::Answer& c : texts::help_and_version_answers(
           texts::view_help_lines, "capture-view " PROJECT_VERSION "\n")) {
    ProgramRun run(CAPTURE_VIEW_PROGRAM, "", {c.argument});
    EXPECT_EQ(run.wait_for_exit(30.0), 0) << c.argument;
    const std::string out = run.output();
    EXPECT_EQ(texts::missing_line_starts(out, c.line_starts), std::vector<std::string>{})
        << c.argument << ": " << out;
  }
}

// Columns: the signal sent to capture-view while the window is open.
TEST_F(CaptureView, EndingSignalsEndTheViewerAndLeaveNothing) {
  for (int signal_number : {SIGTERM, SIGINT, SIGHUP}) {
    SCOPED_TRACE(signal_number);
    ProgramRun run(CAPTURE_VIEW_PROGRAM, "", {RECORDED_C3D});
    ASSERT_FALSE(wait_for_markers_window(30.0).empty()) << "no window";
    run.send_signal(signal_number);
    EXPECT_EQ(run.wait_for_exit(10.0), 128 + signal_number);
    EXPECT_EQ(wait_for_markers_window(0.0), "");
    EXPECT_EQ(left_behind(), std::vector<std::string>{});
  }
}

}  // namespace
