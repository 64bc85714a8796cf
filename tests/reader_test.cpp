#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "line_reader.h"
#include "motion_data.h"

namespace {

// A capture file in a fresh temporary folder, removed with the object.
class TempCapture {
 public:
  explicit TempCapture(const std::string& content) {
    char pattern[] = "/tmp/reader_test_XXXXXX";
    folder = mkdtemp(pattern);
    path = folder + "/capture.csv";
    FILE* file = std::fopen(path.c_str(), "wb");
    std::fwrite(content.data(), 1, content.size(), file);
    std::fclose(file);
  }
  ~TempCapture() {
    std::remove(path.c_str());
    rmdir(folder.c_str());
  }
  std::string folder;
  std::string path;
};

using namespace std::string_literals;

// What a child process wrote to standard output and its exit status.
struct LoadOutcome {
  std::string out;
  int status;
};

// Runs work in a child process, so work that ends the process can be seen.
LoadOutcome run_in_child(const std::function<void()>& work) {
  int pipe_ends[2];
  EXPECT_EQ(pipe(pipe_ends), 0);
  std::fflush(stdout);
  const pid_t child = fork();
  if (child == 0) {
    dup2(pipe_ends[1], STDOUT_FILENO);
    close(pipe_ends[0]);
    work();
    std::fflush(stdout);
    _exit(0);
  }
  close(pipe_ends[1]);
  LoadOutcome outcome{"", -1};
  char chunk[256];
  ssize_t got;
  while ((got = read(pipe_ends[0], chunk, sizeof chunk)) > 0) {
    outcome.out.append(chunk, static_cast<size_t>(got));
  }
  close(pipe_ends[0]);
  int wait_status = 0;
  waitpid(child, &wait_status, 0);
  outcome.status = WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : -1;
  return outcome;
}

LoadOutcome load_in_child(const std::string& path) {
  return run_in_child([&path] {
    MotionData data;
    load_motion_data(path.c_str(), data);
  });
}

MotionData load(const std::string& content) {
  TempCapture capture(content);
  MotionData data;
  load_motion_data(capture.path.c_str(), data);
  return data;
}

TEST(Reader, WorkedExampleFieldByField) {
  const MotionData data = load(
      "KSample,KTime,ROOT_X,ROOT_Y,ROOT_Z,HANDX,HANDY,HANDZ\n"
      "1,0.00,12.5,-40.25,950.0,,,\n"
      "2,0.01,12.75,-40.5,951.5,310.0,22.5,104.0\n"
      "3,0.02,,,,311.5,23.0,105.25\n");
  ASSERT_EQ(data.sample_count, 3);
  ASSERT_EQ(data.joint_count, 2);
  EXPECT_STREQ(data.joints[0].name, "ROOT");
  EXPECT_STREQ(data.joints[1].name, "HAND");
  const int32_t numbers[] = {1, 2, 3};
  const double times[] = {0.00, 0.01, 0.02};
  // joint, axis series, expected values by row
  const struct {
    int joint;
    double* JointTrack::*axis;
    double values[3];
  } series[] = {
      {0, &JointTrack::x, {12.5, 12.75, 0.0}},  {0, &JointTrack::y, {-40.25, -40.5, 0.0}},
      {0, &JointTrack::z, {950.0, 951.5, 0.0}}, {1, &JointTrack::x, {0.0, 310.0, 311.5}},
      {1, &JointTrack::y, {0.0, 22.5, 23.0}},   {1, &JointTrack::z, {0.0, 104.0, 105.25}},
  };
  for (int r = 0; r < 3; ++r) {
    EXPECT_EQ(data.sample_numbers[r], numbers[r]);
    EXPECT_EQ(data.sample_times[r], times[r]);
    for (const auto& s : series) {
      EXPECT_EQ((data.joints[s.joint].*s.axis)[r], s.values[r]) << "joint " << s.joint;
    }
  }
}

TEST(Reader, HeaderVariantsGiveTheSameJoints) {
  // header, expected names of its joints
  const struct {
    const char* header;
    const char* names[2];
  } cases[] = {
      {"KSample,KTime,ROOT_X,ROOT_Y,ROOT_Z,HANDX,HANDY,HANDZ\n", {"ROOT", "HAND"}},
      {",,KSample,KTime,ROOT_X,ROOT_Y,ROOT_Z,HANDX,HANDY,HANDZ\n", {"ROOT", "HAND"}},
      {"KSample,,KTime,,,ROOT_X,ROOT_Y,,ROOT_Z,HANDX,HANDY,HANDZ\n", {"ROOT", "HAND"}},
      {"KSample,KTime,ROOT_X,ROOT_Y,ROOT_Z,HANDX,HANDY,HANDZ\r\n", {"ROOT", "HAND"}},
      {"KSample,KTime,ROOT_X,ROOT_Y,ROOT_Z,HANDX,HANDY,HANDZ,\n", {"ROOT", "HAND"}},
      {"KSample,KTime,ROOT_X,ROOT_Y,ROOT_Z,HANDX,HANDY,HANDZ,,\r\n", {"ROOT", "HAND"}},
      {"KSample,KTime,A,b,c,HAND,y,z\n", {"A", "HAND"}},
      {"KSample,KTime,ROO,y,z,ROOT_LONG_NAME,y,z\n", {"ROO", "ROOT"}},
  };
  for (const auto& c : cases) {
    const MotionData data = load(std::string(c.header) + "1,0.5,1,2,3,4,5,6\n");
    ASSERT_EQ(data.joint_count, 2) << c.header;
    EXPECT_STREQ(data.joints[0].name, c.names[0]) << c.header;
    EXPECT_STREQ(data.joints[1].name, c.names[1]) << c.header;
    EXPECT_EQ(data.joints[1].z[0], 6.0) << c.header;
  }
}

// Duplicate names stay two joints.
TEST(Reader, HeaderAloneWithoutNewlineLoadsNoSamples) {
  const MotionData data = load("KSample,KTime,HAND_L,a,b,HAND_R,c,d");
  ASSERT_EQ(data.joint_count, 2);
  EXPECT_STREQ(data.joints[0].name, "HAND");
  EXPECT_STREQ(data.joints[1].name, "HAND");
  EXPECT_EQ(data.sample_count, 0);
}

// Each data line against the values it gives with a header of two joints:
// number, time, x0, y0, z0, x1, y1, z1.
TEST(Reader, DataLineFieldsByColumn) {
  const struct {
    const char* line;
    double values[8];
  } cases[] = {
      {",,,,,,,\n", {0, 0, 0, 0, 0, 0, 0, 0}},
      {"7,0.5,1,2,3,4,5,6\n", {7, 0.5, 1, 2, 3, 4, 5, 6}},
      {"7,0.5,1,2,3,4,5,6", {7, 0.5, 1, 2, 3, 4, 5, 6}},
      {"7,0.5,1,2,3,4,5,6\r\n", {7, 0.5, 1, 2, 3, 4, 5, 6}},
      {"7,0.5,1,2,3,4,5,\r\n", {7, 0.5, 1, 2, 3, 4, 5, 0}},
      {"2.9,x,abc,2x,,4,5,6\n", {2, 0, 0, 2, 0, 4, 5, 6}},
      {"\n", {0, 0, 0, 0, 0, 0, 0, 0}},
      {"5\n", {0, 0, 0, 0, 0, 0, 0, 5}},
      {"7,0.5,1\n", {7, 0.5, 0, 0, 0, 0, 0, 1}},
      {"7,0.5,1,2,3,4,5,6,7,8,9\n", {7, 0.5, 1, 2, 3, 4, 5, 6}},
      {"7,0.5,1,2,3,4,5,6,7\n", {7, 0.5, 1, 2, 3, 4, 5, 6}},
  };
  for (const auto& c : cases) {
    const MotionData data = load(std::string("KSample,KTime,A,b,c,B,d,e\n") + c.line);
    ASSERT_EQ(data.sample_count, 1) << c.line;
    const double got[8] = {static_cast<double>(data.sample_numbers[0]),
                           data.sample_times[0],
                           data.joints[0].x[0],
                           data.joints[0].y[0],
                           data.joints[0].z[0],
                           data.joints[1].x[0],
                           data.joints[1].y[0],
                           data.joints[1].z[0]};
    for (int k = 0; k < 8; ++k) EXPECT_EQ(got[k], c.values[k]) << c.line << " column " << k;
  }
}

TEST(Reader, RowsFollowFileOrderNotSampleNumbers) {
  const MotionData data = load("KSample,KTime,A,b,c\n100,0,1,1,1\n7,0,2,2,2\n100,0,3,3,3\n");
  ASSERT_EQ(data.sample_count, 3);
  const int32_t numbers[] = {100, 7, 100};
  for (int r = 0; r < 3; ++r) {
    EXPECT_EQ(data.sample_numbers[r], numbers[r]);
    EXPECT_EQ(data.joints[0].x[r], r + 1.0);
  }
}

// A data line of exactly `length` characters for one joint: 1,0,1,2, then
// blanks, then the Z value 3, which the number conversion reads past the blanks.
std::string padded_data_line(size_t length) {
  return "1,0,1,2," + std::string(length - 9, ' ') + "3";
}

TEST(Reader, LongestAllowedLineIsRead) {
  const std::string line = padded_data_line(LineReader::max_line_length);
  const MotionData data = load("KSample,KTime,A,b,c\n" + line + "\n");
  EXPECT_EQ(data.joints[0].z[0], 3.0);
}

// Long lines load as short ones do, whatever their line end.
// Columns: length of the data line before its line end, the line end.
TEST(Reader, LongLinesLoadLikeShortOnes) {
  const struct {
    size_t length;
    const char* line_end;
  } cases[] = {
      {999, "\n"},    {5000, "\n"},   {100000, "\n"},  {100000, "\r\n"},
      {100000, ""},  {LineReader::max_line_length, ""},
      {LineReader::max_line_length, "\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.length) + " characters, line end \"" +
                 (*c.line_end == '\r' ? "\\r\\n" : *c.line_end == '\n' ? "\\n" : "") + "\"");
    const std::string line = padded_data_line(c.length);
    // The first line ends like the last unless the last has no line end.
    const std::string first_end = *c.line_end == '\0' ? "\n" : c.line_end;
    const MotionData data =
        load("KSample,KTime,A,b,c\n" + line + first_end + line + c.line_end);
    ASSERT_EQ(data.sample_count, 2);
    for (int r = 0; r < 2; ++r) {
      EXPECT_EQ(data.sample_numbers[r], 1);
      EXPECT_EQ(data.joints[0].x[r], 1.0);
      EXPECT_EQ(data.joints[0].y[r], 2.0);
      EXPECT_EQ(data.joints[0].z[r], 3.0);
    }
  }
}

// A header of `joints` joints named J0, J1, ... and one data line giving
// joint j the coordinates j, j + 0.25, j + 0.5.
std::string many_joint_capture(int joints, const char* line_end) {
  std::string header = "KSample,KTime";
  std::string row = "1,0.5";
  for (int j = 0; j < joints; ++j) {
    const std::string name = "J" + std::to_string(j);
    header += "," + name + "_X," + name + "_Y," + name + "_Z";
    row += "," + std::to_string(j) + "," + std::to_string(j) + ".25," + std::to_string(j) + ".5";
  }
  return header + line_end + row + line_end;
}

// Columns: joints in the header, line end, whether the last line keeps it.
TEST(Reader, HeadersOfThousandsOfJointsLoad) {
  const struct {
    int joints;
    const char* line_end;
    bool final_line_end;
  } cases[] = {{300, "\n", true},
               {1000, "\n", true},
               {2000, "\n", true},
               {2000, "\r\n", true},
               {2000, "\n", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.joints) + " joints");
    std::string capture = many_joint_capture(c.joints, c.line_end);
    if (!c.final_line_end) capture.pop_back();
    const MotionData data = load(capture);
    ASSERT_EQ(data.joint_count, c.joints);
    ASSERT_EQ(data.sample_count, 1);
    EXPECT_STREQ(data.joints[0].name, "J0_X");
    EXPECT_STREQ(data.joints[c.joints - 1].name, ("J" + std::to_string(c.joints - 1)).substr(0, 4).c_str());
    for (int j = 0; j < c.joints; ++j) {
      ASSERT_EQ(data.joints[j].x[0], j) << "joint " << j;
      ASSERT_EQ(data.joints[j].y[0], j + 0.25) << "joint " << j;
      ASSERT_EQ(data.joints[j].z[0], j + 0.5) << "joint " << j;
    }
  }
}

TEST(Reader, LinesAcrossBufferRefillsAreWhole) {
  // Enough lines to pass several refills of the reader's buffer.
  std::string content = "KSample,KTime,A,b,c\n";
  const int rows = 40000;
  for (int r = 0; r < rows; ++r) {
    content += std::to_string(r) + ",0.25," + std::to_string(r) + ".5,-" +
               std::to_string(r) + ",12345.678\n";
  }
  const MotionData data = load(content);
  ASSERT_EQ(data.sample_count, rows);
  for (int r = 0; r < rows; ++r) {
    ASSERT_EQ(data.sample_numbers[r], r);
    ASSERT_EQ(data.joints[0].x[r], r + 0.5);
    ASSERT_EQ(data.joints[0].y[r], -static_cast<double>(r));
    ASSERT_EQ(data.joints[0].z[r], 12345.678);
  }
}

TEST(Reader, SampleNumbersSaturate) {
  const MotionData data = load("KSample,KTime,A,b,c\n99999999999,0,1,1,1\n-99999999999,0,1,1,1\n");
  EXPECT_EQ(data.sample_numbers[0], 2147483647);
  EXPECT_EQ(data.sample_numbers[1], -2147483647 - 1);
}

// Every fault of a capture file: its content, the line printed.
TEST(Reader, FaultsPrintTheirLineAndExitWithStatusOne) {
  const std::string long_line(LineReader::max_line_length + 1, '1');
  const struct {
    std::string content;
    const char* message;
  } cases[] = {
      {"", "Error:\tExpecting the first line!\n"},
      {"\n", "Error: Expecting Token KSample!\n"},
      {"ksample,KTime,A,b,c\n", "Error: Expecting Token KSample!\n"},
      {" KSample,KTime,A,b,c\n", "Error: Expecting Token KSample!\n"},
      {"KSample\n", "Error: Expecting Token KSample!\n"},
      {"KSample,KTime\n", "Error: Expecting Token KTime!\n"},
      {"KSample,KTime", "Error: Expecting Token KTime!\n"},
      {"KSample,KTime\r\n", "Error: Expecting Token KTime!\n"},
      {"KSample,Ktime,A,b,c\n", "Error: Expecting Token KTime!\n"},
      {"KSample,\n", "Error: Expecting Token KTime!\n"},
      {"KSample,KTime,\n", "Error: Expecting three column headings per joint!\n"},
      {"KSample,KTime,A,b\n", "Error: Expecting three column headings per joint!\n"},
      {"KSample,KTime,A,b,c,D\n1,0,1,2,3\n", "Error: Expecting three column headings per joint!\n"},
      {"KSample,KTime,A,b,c\n" + long_line + "\n",
       "Error: Line 2 is longer than 1000000 characters!\n"},
      {"KSample,KTime,A,b,c\n1,0,1,1,1\n" + long_line,
       "Error: Line 3 is longer than 1000000 characters!\n"},
      {"KSample,KTime,A,b,c\n1,0,1,1,1\n" + long_line + "\r\n",
       "Error: Line 3 is longer than 1000000 characters!\n"},
      {"Nonsense header\n" + long_line + "\n", "Error: Line 2 is longer than 1000000 characters!\n"},
      {long_line + "\n1,0,1,1,1\n", "Error: Line 1 is longer than 1000000 characters!\n"},
      {"KSample,KTime,A,b,c\n" + long_line + long_line + "\n",
       "Error: Line 2 is longer than 1000000 characters!\n"},
      {"KSample,KTime,A,b,c\n1,0,1,1,1\n2,0,\0,1,1\n"s + long_line + "\n",
       "Error: Line 3 holds a NUL character!\n"},
      {"KSa\0mple,KTime,A,b,c\n"s, "Error: Line 1 holds a NUL character!\n"},
  };
  for (const auto& c : cases) {
    TempCapture capture(c.content);
    const LoadOutcome outcome = load_in_child(capture.path);
    EXPECT_EQ(outcome.out, c.message) << c.content;
    EXPECT_EQ(outcome.status, 1) << c.content;
  }
}

TEST(Reader, NulInDataLineIsReported) {
  TempCapture capture("KSample,KTime,A,b,c\n1,0,1\0,1,1\n"s);
  const LoadOutcome outcome = load_in_child(capture.path);
  EXPECT_EQ(outcome.out, "Error: Line 2 holds a NUL character!\n");
  EXPECT_EQ(outcome.status, 1);
}

TEST(Reader, UnopenablePathsPrintCannotOpen) {
  TempCapture capture("KSample,KTime,A,b,c\n");
  const std::string paths[] = {capture.folder + "/missing.csv", capture.folder, ""};
  for (const auto& path : paths) {
    const LoadOutcome outcome = load_in_child(path);
    EXPECT_EQ(outcome.out, "Error:  Cannot open Motion Data file!\n") << path;
    EXPECT_EQ(outcome.status, 1) << path;
  }
}

TEST(Reader, FileShorterThanCountedReportsMissingDataLine) {
  TempCapture capture("KSample,KTime,A,b,c\n1,0,1,1,1\n2,0,1,1,1\n");
  const LoadOutcome outcome = run_in_child([&capture] {
    FILE* file = std::fopen(capture.path.c_str(), "r");
    MotionData data;
    count_samples(file, data);
    data.sample_count += 1;  // as if the file lost a line after the count
    data.sample_numbers = new int32_t[3];
    data.sample_times = new double[3];
    count_joints(file, data);
    data.joints = new JointTrack[1];
    read_joint_names(file, data);
    read_samples(file, data);
  });
  EXPECT_EQ(outcome.out, "Error:\tExpecting a line of data!\n");
  EXPECT_EQ(outcome.status, 1);
}

#if defined(__SANITIZE_ADDRESS__)
TEST(Reader, ExhaustedMemoryPrintsOneLine) {
  GTEST_SKIP() << "AddressSanitizer reserves more address space than the limit allows";
}
#else
TEST(Reader, ExhaustedMemoryPrintsOneLine) {
  // Ten million samples want 120 MB of sample arrays; 64 MB is all there is.
  TempCapture capture("KSample,KTime,A,b,c\n" + std::string(10000000, '\n'));
  const LoadOutcome outcome = run_in_child([&capture] {
    const rlim_t limit = 64 << 20;
    rlimit address_space{limit, limit};
    setrlimit(RLIMIT_AS, &address_space);
    MotionData data;
    load_motion_data(capture.path.c_str(), data);
  });
  EXPECT_EQ(outcome.out, "Error: Not enough memory for the motion data!\n");
  EXPECT_EQ(outcome.status, 1);
}
#endif

TEST(Reader, SuccessfulLoadPrintsNothing) {
  TempCapture capture("KSample,KTime,A,b,c\n1,0,,,\n");
  const LoadOutcome outcome = load_in_child(capture.path);
  EXPECT_EQ(outcome.out, "");
  EXPECT_EQ(outcome.status, 0);
}

}  // namespace
