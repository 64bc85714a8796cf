#include <sched.h>

#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "child_process.h"
#include "motion_data.h"
#include "program_texts.h"
#include "side_by_side.h"
#include "temp_dir.h"

namespace {

using namespace std::string_literals;

// Every value of a filled record as text, numbers in hexadecimal so that two
// records compare bit for bit.
std::string record_text(const MotionData& data) {
  std::string text = std::to_string(data.sample_count) + " x " + std::to_string(data.joint_count);
  for (int32_t j = 0; j < data.joint_count; ++j) text += " " + std::string(data.joints[j].name);
  char number[64];
  for (int32_t r = 0; r < data.sample_count; ++r) {
    std::snprintf(number, sizeof number, "\n%d %a", data.sample_numbers[r], data.sample_times[r]);
    text += number;
    for (int32_t j = 0; j < data.joint_count; ++j) {
      const JointTrack& t = data.joints[j];
      std::snprintf(number, sizeof number, " %a %a %a", t.x[r], t.y[r], t.z[r]);
      text += number;
    }
  }
  return text + "\n";
}

// What a load and gap filling on some cores printed, and its status; on
// success the record's text and then the cores that read the file.
struct Outcome {
  std::string out;
  int status;
};

Outcome load_on(int cores, const std::string& content) {
  const TempDir folder("two_core_test_");
  const std::string path = folder.write("capture.csv", content);
  const ChildResult child = run_in_child([&path, cores] {
    static MotionData data;
    const int used = load_motion_data(path.c_str(), data, cores);
    data.fill_gaps();
    std::printf("%s%d cores\n", record_text(data).c_str(), used);
  });
  return {child.out, child.exit_status};
}

const std::string header = "KSample,KTime,A_X,A_Y,A_Z,B_X,B_Y,B_Z\n";

// `count` data lines numbered from `first`, every value present.
std::string rows(int first, int count) {
  std::string text;
  for (int n = first; n < first + count; ++n) {
    const std::string v = std::to_string(n);
    text += v + ",0." + v + "," + v + ".5,-" + v + ",1e2," + v + ",2," + v + "\n";
  }
  return text;
}

// A header of `joints` joints and `lines` data lines, each longer than 64 KiB.
std::string wide_capture(int joints, int lines = 1) {
  std::string text = "KSample,KTime";
  for (int j = 0; j < joints; ++j) {
    const std::string name = ",M" + std::to_string(j);
    text += name + "_X" + name + "_Y" + name + "_Z";
  }
  for (int n = 1; n <= lines; ++n) {
    text += "\n" + std::to_string(n) + ",0";
    for (int k = 0; k < 3 * joints; ++k) text += ",1234.567";
  }
  return text + "\n";
}

// Two cores read the same record as one, warnings included, and both halves
// of the file are read at once. Columns: what, the file's content.
TEST(TwoCoreLoad, GivesTheRecordAndWarningsOfOneCore) {
  const struct {
    const char* what;
    std::string content;
  } cases[] = {
      {"1 line: the second half is empty", header},
      {"2 lines: the second half is the one data line", header + rows(1, 1)},
      {"3 lines", header + rows(1, 2)},
      {"many lines", header + rows(1, 500)},
      {"CRLF", "KSample,KTime,A,b,c\r\n1,0,1,2,3\r\n2,0,,5,6\r\n3,0,7,8,\r\n"},
      {"old Mac", "KSample,KTime,A,b,c\r1,0,1,2,3\r2,0,,5,6\r\n3,0,7,8,9\r"},
      {"byte-order mark", "\xEF\xBB\xBF" + header + rows(7, 3)},
      {"last line without line end", header + rows(1, 20) + "21,0,1"},
      {"blank, short and long lines, gaps", header + "\n1,0,1\n2,0,1,2,3,4,5,6,7,8\n,,,,\n"},
      {"header and data line longer than 64 KiB", wide_capture(6000)},
      {"many pieces", header + rows(1, 100000)},
      {"lines of a MB, a piece starting in each", wide_capture(37000, 4)},
      {"a marker never seen", header + "1,0,1,2,3,,,\n2,0,4,5,6,,,\n3,0,,,,\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const Outcome one = load_on(1, c.content);
    const Outcome two = load_on(2, c.content);
    ASSERT_EQ(one.status, 0) << one.out;
    const std::string record = one.out.substr(0, one.out.size() - "1 cores\n"s.size());
    EXPECT_EQ(one.out, record + "1 cores\n");
    EXPECT_EQ(two.out, record + "2 cores\n");
    EXPECT_EQ(two.status, 0);
  }
}

// A fault anywhere ends the two-core load as it ends the one-core load: with
// the first fault in file order. Columns: what, the file's content, its line.
TEST(TwoCoreLoad, ReportsTheFirstFaultOfOneCore) {
  const std::string long_line(1000001, '1');
  const std::string nul_line = "9,0,1\0,1,1\n"s;
  const struct {
    const char* what;
    std::string content;
    std::string message;
  } cases[] = {
      {"NUL in the second half", header + rows(1, 40) + nul_line, texts::nul_character(42)},
      {"NUL in each half", header + rows(1, 3) + nul_line + rows(4, 40) + nul_line,
       texts::nul_character(5)},
      {"line too long in the second half", header + rows(1, 30000) + long_line + "\n",
       texts::line_too_long(30002)},
      {"line too long in the first half, NUL in the second",
       header + long_line + "\n" + rows(1, 30000) + nul_line, texts::line_too_long(2)},
      {"NUL in a later piece and in an earlier one",
       header + rows(1, 30000) + nul_line + rows(30001, 40000) + nul_line,
       texts::nul_character(30002)},
      {"bad header, NUL in the second half", "KSample;KTime\n" + rows(1, 40) + nul_line,
       texts::nul_character(42)},
      {"bad header alone", "KSample,KTim,A,b,c\n" + rows(1, 40), texts::expecting_ktime},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const Outcome one = load_on(1, c.content);
    const Outcome two = load_on(2, c.content);
    EXPECT_EQ(one.out, c.message);
    EXPECT_EQ(two.out, c.message);
    EXPECT_EQ(one.status, 1);
    EXPECT_EQ(two.status, 1);
  }
}

// Columns: processors, threads running (the caller included), cores worth
// using. A second core is taken while some processor runs no other thread.
TEST(TwoCoreLoad, SecondCoreWhileAProcessorRunsNoOtherThread) {
  const struct {
    int processors;
    long running;
    int cores;
  } cases[] = {{1, 1, 1}, {2, 1, 2}, {2, 2, 2}, {2, 3, 1}, {2, 9, 1}, {4, 4, 2}, {4, 5, 1}};
  for (const auto& c : cases) {
    EXPECT_EQ(cores_worth_using(c.processors, c.running), c.cores)
        << c.processors << " processors, " << c.running << " running";
  }
}

// Held to one core, the process loads and fills on one.
TEST(TwoCoreLoad, OneCoreUnderAnAffinityOfOne) {
  const ChildResult child = run_in_child([] {
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(0, &one);
    if (sched_setaffinity(0, sizeof one, &one) != 0) std::_Exit(2);
    std::printf("%d %d", available_cores(), idle_cores());
  });
  EXPECT_EQ(child.out, "1 1");
}

}  // namespace
