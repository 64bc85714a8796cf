// capture-convert run end to end in a child process: its one line on
// standard output, its status, the files it leaves, and the viewer's reader
// (the loader program) on what it writes.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "c3d_builder.h"
#include "capture_generator.h"
#include "child_process.h"
#include "loader_verdict.h"
#include "program_texts.h"
#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;

// Only against a hang: a run takes milliseconds, a sanitized one on a busy
// machine a few seconds.
constexpr double time_limit_seconds = 120.0;

// The child's run, with a failure when it was killed at the deadline.
ChildResult run_within_deadline(const std::vector<std::string>& argv) {
  const ChildResult run = run_child(argv, "", loader_environment(), time_limit_seconds);
  EXPECT_FALSE(run.timed_out) << argv[0] << ": " << deadline_message(run);
  return run;
}

ChildResult run_program(const std::vector<std::string>& arguments) {
  std::vector<std::string> argv = {CAPTURE_CONVERT_PROGRAM};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  return run_within_deadline(argv);
}

// The names of the files in dir, sorted.
std::vector<std::string> files_in(const std::string& dir) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

// Three markers over four frames; BACK is never seen.
C3dDescription three_markers() {
  C3dDescription d;
  d.labels = {"HEAD", "BACK", "HAND"};
  d.frames = 4;
  d.point = [](int64_t f, size_t m) {
    return StoredPoint{static_cast<int16_t>(7000 + f), static_cast<int16_t>(100 * m + 50),
                       static_cast<int16_t>(15000 - 1000 * m), m != 1 && !(m == 2 && f == 1)};
  };
  return d;
}

// The whole data is missing! for each series of a marker never seen.
std::string never_seen_warnings(int markers) {
  return texts::whole_series_missing_times(3 * markers);
}

// The loader program (the viewer's reader and gap filling) on capture.
ChildResult load_in_viewer_reader(const std::string& capture) {
  return run_within_deadline({LOAD_CAPTURE_PROGRAM, capture});
}

// Columns: the options, the line printed.
TEST(ConvertProgram, PrintsOneSummaryLineAndLeavesOnlyTheCapture) {
  const struct {
    std::vector<std::string> options;
    const char* line;
  } cases[] = {
      {{},
       "3 markers, 4 frames at 100 Hz in mm, Z-up, 41.7 % of points not seen; to frame it all set "
       "Zoom Input 15, Pan Camera Vertical -15, Pan Camera Horizontal 0\n"},
      {{"--follow", "--every", "2", "--end", "0.03", "--start", "0.01"},
       "3 markers, 2 of 4 frames (0.01 s to 0.03 s, every 2nd) at 50 Hz in mm, Z-up, followed, "
       "50.0 % of points not seen; to frame it all set Zoom Input 5, Pan Camera Vertical -15, "
       "Pan Camera Horizontal 0\n"},
  };
  for (const auto& c : cases) {
    TempDir dir("convert-program-");
    ASSERT_TRUE(write_c3d_file(dir.path() + "/walk.c3d", three_markers()));
    std::vector<std::string> arguments = {dir.path() + "/walk.c3d", dir.path() + "/walk.csv"};
    arguments.insert(arguments.end(), c.options.begin(), c.options.end());
    const ChildResult run = run_program(arguments);
    EXPECT_EQ(run.exit_status, 0) << run.out << run.err;
    EXPECT_EQ(run.out, c.line);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(files_in(dir.path()), (std::vector<std::string>{"walk.c3d", "walk.csv"}));
  }
}

TEST(ConvertProgram, CaptureLoadsInTheViewerReaderWithOnlyTheNeverSeenWarnings) {
  TempDir dir("convert-load-");
  ASSERT_TRUE(write_c3d_file(dir.path() + "/walk.c3d", three_markers()));
  ASSERT_EQ(run_program({dir.path() + "/walk.c3d", dir.path() + "/walk.csv"}).exit_status, 0);
  const ChildResult load = load_in_viewer_reader(dir.path() + "/walk.csv");
  EXPECT_EQ(load.exit_status, 0);
  EXPECT_EQ(load.out, never_seen_warnings(1));
  EXPECT_EQ(load.err, "");
}

// The shipped recordings have 51 markers, lines of about 1,400 characters.
TEST(ConvertProgram, RecordedFilesLoadInTheViewerReaderWithoutWarnings) {
  for (const char* recording : {RECORDED_C3D, RECORDED_TRC, RECORDED_QUALISYS}) {
    TempDir dir("convert-recorded-");
    const std::string capture = dir.path() + "/recorded.csv";
    const ChildResult run = run_program({recording, capture});
    ASSERT_EQ(run.exit_status, 0) << recording << ": " << run.out;
    const ChildResult load = load_in_viewer_reader(capture);
    EXPECT_EQ(load.exit_status, 0) << recording << ": " << load.out;
    EXPECT_EQ(load.out, "") << recording;
    EXPECT_EQ(load.err, "") << recording;
  }
}

// Command lines that must end with one "Error:" line, status 1 and no new
// file. Columns: what is wrong, the arguments (with DIR for the folder), a
// part of the message.
TEST(ConvertProgram, BadRunsEndWithOneErrorLineAndLeaveNoFile) {
  const struct {
    const char* what;
    std::vector<std::string> arguments;
    const char* message;
  } cases[] = {
      {"no arguments", {}, "usage: capture-convert"},
      {"one argument", {"DIR/walk.c3d"}, "usage: capture-convert"},
      {"unknown option", {"DIR/walk.c3d", "DIR/out.csv", "--x-up"}, "usage: capture-convert"},
      {"both up axes",
       {"DIR/walk.c3d", "DIR/out.csv", "--y-up", "--z-up"},
       "usage: capture-convert"},
      {"help after the files", {"DIR/walk.c3d", "DIR/out.csv", "--help"}, "usage: capture-convert"},
      {"no recording",
       {"DIR/walk.bin", "DIR/out.csv"},
       "DIR/walk.bin is not a recording capture-convert reads"},
      {"missing input", {"DIR/none.c3d", "DIR/out.csv"}, "cannot read DIR/none.c3d"},
      {"a name not UTF-8", {"DIR/n\xE9\x85.c3d", "DIR/out.csv"}, "cannot read DIR/n??.c3d"},
      {"a folder as input", {"DIR/folder.c3d", "DIR/out.csv"}, "cannot read DIR/folder.c3d"},
      {"output is the input",
       {"DIR/walk.c3d",
        "DIR/../"
        "DIR_NAME/walk.c3d"},
       "the output file is the input"},
      {"output in a missing folder",
       {"DIR/walk.c3d", "DIR/none/out.csv"},
       "cannot write DIR/none/out.csv"},
      {"text named .c3d", {"DIR/text.c3d", "DIR/out.csv"}, "is not a recording"},
      {"C3D cut in its header", {"DIR/cut.c3d", "DIR/out.csv"}, "not a C3D file"},
      {"not a TRC file",
       {"DIR/text.trc", "DIR/out.csv"},
       "DIR/text.trc: the file is not a TRC file"},
      {"a start of nan",
       {"DIR/walk.c3d", "DIR/out.csv", "--start", "nan"},
       "--start takes a number of seconds, not nan"},
      {"an end of inf",
       {"DIR/walk.c3d", "DIR/out.csv", "--end", "inf"},
       "--end takes a number of seconds, not inf"},
      {"seconds with a unit",
       {"DIR/walk.c3d", "DIR/out.csv", "--start", "1.5s"},
       "--start takes a number of seconds, not 1.5s"},
      {"an end before the start",
       {"DIR/walk.c3d", "DIR/out.csv", "--start", "0.02", "--end", "0.01"},
       "--end 0.01 is before --start 0.02"},
      {"an empty window",
       {"DIR/walk.c3d", "DIR/out.csv", "--start", "0.035", "--follow"},
       "no frame of DIR/walk.c3d lies in the time window: its frames are written from 0 s to 0.03 "
       "s"},
      {"every 0th frame", {"DIR/walk.c3d", "DIR/out.csv", "--every", "0"}, "--every takes a whole"},
      {"every 1.5th frame",
       {"DIR/walk.c3d", "DIR/out.csv", "--every", "1.5"},
       "--every takes a whole"},
      {"a start without its value", {"DIR/walk.c3d", "DIR/out.csv", "--start"}, "usage: capture"},
      {"every given twice",
       {"DIR/walk.c3d", "DIR/out.csv", "--every", "2", "--every", "2"},
       "usage: capture-convert"},
  };
  for (const auto& c : cases) {
    // "DIR" in the folder's name, which mkdtemp may also pick by chance.
    TempDir dir("convert-bad-DIR-");
    ASSERT_TRUE(write_c3d_file(dir.path() + "/walk.c3d", three_markers()));
    dir.write("walk.bin", "x");
    dir.write("text.c3d", "Frame,X,Y,Z\n");
    dir.write("text.trc", "PathFileType\t4\n");
    dir.write("cut.c3d", read_file(dir.path() + "/walk.c3d").substr(0, 100));
    fs::create_directory(dir.path() + "/folder.c3d");
    const std::vector<std::string> before = files_in(dir.path());

    // DIR_NAME becomes the folder's name, DIR its path, in one pass over
    // text: the folder's own name holds "DIR", and mkdtemp's random letters
    // may spell it too, which must not be replaced again.
    auto in_dir = [&](const std::string& text) {
      std::string replaced;
      for (size_t at = 0; at < text.size();) {
        if (text.compare(at, 8, "DIR_NAME") == 0) {
          replaced += fs::path(dir.path()).filename().string();
          at += 8;
        } else if (text.compare(at, 3, "DIR") == 0) {
          replaced += dir.path();
          at += 3;
        } else {
          replaced += text[at++];
        }
      }
      return replaced;
    };
    std::vector<std::string> arguments;
    for (const std::string& argument : c.arguments) arguments.push_back(in_dir(argument));
    const ChildResult run = run_program(arguments);

    EXPECT_EQ(run.exit_status, 1) << c.what;
    EXPECT_EQ(run.out.rfind("Error: ", 0), 0u) << c.what << ": " << run.out;
    EXPECT_EQ(run.out.find('\n'), run.out.size() - 1) << c.what << ": one line";
    EXPECT_NE(run.out.find(in_dir(c.message)), std::string::npos) << c.what << ": " << run.out;
    EXPECT_EQ(run.err, "") << c.what;
    EXPECT_EQ(files_in(dir.path()), before) << c.what;
  }
}

// Columns: the argument, the starts of the lines its answer must hold.
TEST(ConvertProgram, HelpAndVersionAnswerOnStandardOutputWithStatusZero) {
  for (const texts::Answer& c : texts::help_and_version_answers(
           texts::convert_help_lines, "capture-convert " PROJECT_VERSION "\n")) {
    const ChildResult run = run_program({c.argument});
    EXPECT_EQ(run.exit_status, 0) << c.argument;
    EXPECT_EQ(texts::missing_line_starts(run.out, c.line_starts), std::vector<std::string>{})
        << c.argument << ": " << run.out;
    EXPECT_EQ(run.err, "") << c.argument;
  }
}

// A failure in the middle of the frames still leaves no file behind.
TEST(ConvertProgram, FailureAfterTheFirstFramesLeavesNoFile) {
  TempDir dir("convert-late-");
  std::string table =
      "PathFileType\t4\nDataRate\tNumMarkers\n100\t1\nFrame#\tTime\tA\n\t\tX1\tY1\tZ1\n";
  for (int f = 1; f <= 1000; ++f) table += std::to_string(f) + "\t0\t1\t2\t3\n";
  table += "1001\t0\t1\tnot-a-number\t3\n";
  dir.write("late.trc", table);
  const ChildResult run = run_program({dir.path() + "/late.trc", dir.path() + "/late.csv"});
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_NE(run.out.find("line 1006, column 4"), std::string::npos) << run.out;
  EXPECT_EQ(files_in(dir.path()), (std::vector<std::string>{"late.trc"}));
}

// The viewer reads lines of up to 1,000,000 characters: a TRC of 100,000
// markers is refused before anything is written, while a capture of 5,000
// markers converts into one the viewer's reader loads.
TEST(ConvertProgram, LinesPastTheViewersLimitAreRefusedBeforeWriting) {
  TempDir dir("convert-wide-");
  std::string names = "Frame#\tTime", axes = "\t", row;
  for (int m = 0; m < 100000; ++m) {
    names += "\tM" + std::to_string(m) + "\t\t";
    axes += "\tX\tY\tZ";
    row += "\t1\t2\t3";
  }
  dir.write("wide.trc", "PathFileType\t4\nDataRate\tNumMarkers\n100\t100000\n" + names + "\n" +
                            axes + "\n1\t0" + row + "\n2\t0.01" + row + "\n3\t0.02" + row + "\n");
  const ChildResult wide = run_program({dir.path() + "/wide.trc", dir.path() + "/wide.csv"});
  EXPECT_EQ(wide.exit_status, 1);
  EXPECT_EQ(wide.out, "Error: " + dir.path() +
                          "/wide.trc: a capture of 100000 markers could hold lines of 7500045 "
                          "characters, past the viewer's limit of 1000000 characters a line\n");
  EXPECT_EQ(files_in(dir.path()), (std::vector<std::string>{"wide.trc"}));

  CaptureShape shape;
  shape.samples = 3;
  shape.markers = max_capture_markers;
  ASSERT_TRUE(write_capture_file((dir.path() + "/dense.csv").c_str(), shape));
  const std::string capture = dir.path() + "/converted.csv";
  EXPECT_EQ(run_program({dir.path() + "/dense.csv", capture}).exit_status, 0);
  EXPECT_EQ(load_in_viewer_reader(capture).exit_status, 0);
}

TEST(ConvertProgram, UnwritableFolderEndsWithOneErrorLine) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes into any folder";
  TempDir dir("convert-readonly-");
  ASSERT_TRUE(write_c3d_file(dir.path() + "/walk.c3d", three_markers()));
  fs::create_directory(dir.path() + "/locked");
  chmod((dir.path() + "/locked").c_str(), 0555);
  const ChildResult run = run_program({dir.path() + "/walk.c3d", dir.path() + "/locked/walk.csv"});
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(run.out.rfind("Error: cannot write ", 0), 0u) << run.out;
  chmod((dir.path() + "/locked").c_str(), 0755);
}

}  // namespace
