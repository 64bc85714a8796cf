#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <locale.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "child_process.h"
#include "line_reader.h"
#include "motion_data.h"
#include "program_texts.h"
#include "reference_numbers.h"
#include "sanitized_build.h"
#include "temp_dir.h"

namespace {

// A capture file with the given content in a fresh temporary folder, removed
// with the object.
struct TempCapture {
  explicit TempCapture(const std::string& content) : path(folder.write("capture.csv", content)) {}
  TempDir folder{"reader_test_"};
  std::string path;
};

using namespace std::string_literals;

ChildResult load_in_child(const std::string& path) {
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

// Field texts of every form the reader meets: plain coordinates, empty
// fields, exponents, blanks before and text after a number, more digits than
// one operation converts exactly, negative zero, no number at all.
// clang-format off
const char* const field_forms[] = {
    "1234.567", "-40.25", "+7", "", "", "12", "1.5e3", "-2E-2", " 4.5", "\t-3",
    "12.5x", "abc", "-", ".", "5.", ".25", "-0.0", "1e", "2.9", "1234567890.123456",
    "123456789012345678901.5", "0.000", "98765.4321e-3", "1e400", "-1e-400"};
// clang-format on

// The fields of a data line, split at every comma.
std::vector<std::string> split_fields(const std::string& line) {
  std::vector<std::string> fields(1);
  for (char c : line) {
    if (c == ',') {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

// What a data line must give for a record of `joints` joints: sample number,
// then time, x, y, z of each joint, by the column rules. A field ended by a
// comma goes to its column; the field that ends the line is the last joint's
// z unless the line has more fields than columns; columns no field reaches
// are 0.
std::vector<double> expected_row(const std::string& line, int joints) {
  const std::vector<std::string> fields = split_fields(line);
  const size_t columns = 2 + 3 * static_cast<size_t>(joints);
  std::vector<double> row(columns, 0.0);
  const size_t last = fields.size() - 1;
  for (size_t k = 0; k < last && k < columns; ++k) {
    row[k] = k == 0 ? reference_integer(fields[k]) : reference_decimal(fields[k]);
  }
  if (last < columns) row[columns - 1] = reference_decimal(fields[last]);
  return row;
}

// Many rows of random forms, full, short, long, blank and with a carriage
// return, in one file: every value of the record, bit for bit, against the
// reference.
TEST(Reader, RecordMatchesTheReferenceValueByValue) {
  constexpr int joints = 4;
  constexpr int rows = 600;
  constexpr size_t full = 2 + 3 * joints;
  std::mt19937 random(20261208);
  std::string content = "KSample,KTime,A,b,c,B,b,c,C,b,c,D,b,c\n";
  std::vector<std::string> lines;
  for (int r = 0; r < rows; ++r) {
    const int shape = static_cast<int>(random() % 10);
    const size_t count = shape == 0   ? 1 + random() % (full - 1)
                         : shape == 1 ? full + 1 + random() % 4
                                      : full;
    std::string line = shape == 2 ? std::to_string(r) : "";
    for (size_t k = line.empty() ? 0 : 1; k < count; ++k) {
      if (k > 0) line += ',';
      line += field_forms[random() % (sizeof field_forms / sizeof *field_forms)];
    }
    if (shape == 3) line.clear();
    lines.push_back(line);
    content += line + (shape == 4 ? "\r\n" : "\n");
  }
  const MotionData data = load(content);
  ASSERT_EQ(data.sample_count, rows);
  ASSERT_EQ(data.joint_count, joints);
  for (int r = 0; r < rows; ++r) {
    const std::vector<double> expected = expected_row(lines[static_cast<size_t>(r)], joints);
    std::vector<double> got = {static_cast<double>(data.sample_numbers[r]), data.sample_times[r]};
    for (int j = 0; j < joints; ++j) {
      got.insert(got.end(), {data.joints[j].x[r], data.joints[j].y[r], data.joints[j].z[r]});
    }
    for (size_t k = 0; k < full; ++k) {
      EXPECT_EQ(bits_of(got[k]), bits_of(expected[k]))
          << "row " << r << " column " << k << " of \"" << lines[static_cast<size_t>(r)]
          << "\": " << got[k] << " instead of " << expected[k];
    }
  }
}

// Expects two loads of the same capture to hold the same record.
void expect_same_record(const MotionData& got, const MotionData& expected) {
  ASSERT_EQ(got.sample_count, expected.sample_count);
  ASSERT_EQ(got.joint_count, expected.joint_count);
  for (int32_t j = 0; j < got.joint_count; ++j) {
    EXPECT_STREQ(got.joints[j].name, expected.joints[j].name) << "joint " << j;
  }
  for (int32_t r = 0; r < got.sample_count; ++r) {
    EXPECT_EQ(got.sample_numbers[r], expected.sample_numbers[r]) << "row " << r;
    EXPECT_EQ(got.sample_times[r], expected.sample_times[r]) << "row " << r;
    for (int32_t j = 0; j < got.joint_count; ++j) {
      EXPECT_EQ(got.joints[j].x[r], expected.joints[j].x[r]) << "row " << r << " joint " << j;
      EXPECT_EQ(got.joints[j].y[r], expected.joints[j].y[r]) << "row " << r << " joint " << j;
      EXPECT_EQ(got.joints[j].z[r], expected.joints[j].z[r]) << "row " << r << " joint " << j;
    }
  }
}

// Line ends of old Macs (a carriage return alone) and a spreadsheet's UTF-8
// byte-order mark give the record of the same capture with newlines.
// Columns: what the file is, its content, the same capture with newlines.
TEST(Reader, LineEndStylesAndByteOrderMarkGiveTheSameRecord) {
  const std::string bom = "\xEF\xBB\xBF";
  const std::string three = "KSample,KTime,A_X,A_Y,A_Z\n1,0.00,1,2,3\n2,0.01,1,2,3\n3,0.02,1,2,3\n";
  const std::string two = "KSample,KTime,A_X,A_Y,A_Z,B_X,B_Y,B_Z\n1,0.5,1,2,3,,,\n\n";
  const struct {
    const char* what;
    std::string content;
    std::string with_newlines;
  } cases[] = {
      {"carriage returns", "KSample,KTime,A_X,A_Y,A_Z\r1,0.00,1,2,3\r2,0.01,1,2,3\r3,0.02,1,2,3\r",
       three},
      {"carriage returns, none at the end",
       "KSample,KTime,A_X,A_Y,A_Z\r1,0.00,1,2,3\r2,0.01,1,2,3\r3,0.02,1,2,3", three},
      {"carriage returns, empty fields and a blank line",
       "KSample,KTime,A_X,A_Y,A_Z,B_X,B_Y,B_Z\r1,0.5,1,2,3,,,\r\r", two},
      {"carriage returns, header only", "KSample,KTime,A_X,A_Y,A_Z\r",
       "KSample,KTime,A_X,A_Y,A_Z\n"},
      {"byte-order mark", bom + three, three},
      {"byte-order mark, carriage returns",
       bom + "KSample,KTime,A_X,A_Y,A_Z\r1,0.00,1,2,3\r2,0.01,1,2,3\r3,0.02,1,2,3\r", three},
      {"byte-order mark, CRLF",
       bom + "KSample,KTime,A_X,A_Y,A_Z\r\n1,0.00,1,2,3\r\n2,0.01,1,2,3\r\n3,0.02,1,2,3\r\n",
       three},
      {"CRLF", "KSample,KTime,A_X,A_Y,A_Z,B_X,B_Y,B_Z\r\n1,0.5,1,2,3,,,\r\n\r\n", two},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    expect_same_record(load(c.content), load(c.with_newlines));
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
  // clang-format off
  const struct {
    size_t length;
    const char* line_end;
  } cases[] = {
      {999, "\n"},    {5000, "\n"},   {100000, "\n"},  {100000, "\r\n"},
      {100000, ""},  {LineReader::max_line_length, ""},
      {LineReader::max_line_length, "\r\n"},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.length) + " characters, line end \"" +
                 (*c.line_end == '\r'   ? "\\r\\n"
                  : *c.line_end == '\n' ? "\\n"
                                        : "") +
                 "\"");
    const std::string line = padded_data_line(c.length);
    // The first line ends like the last unless the last has no line end.
    const std::string first_end = *c.line_end == '\0' ? "\n" : c.line_end;
    const MotionData data = load("KSample,KTime,A,b,c\n" + line + first_end + line + c.line_end);
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
    EXPECT_STREQ(data.joints[c.joints - 1].name,
                 ("J" + std::to_string(c.joints - 1)).substr(0, 4).c_str());
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
    content += std::to_string(r) + ",0.25," + std::to_string(r) + ".5,-" + std::to_string(r) +
               ",12345.678\n";
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
    std::string message;
  } cases[] = {
      {"", texts::expecting_first_line},
      {"\n", texts::expecting_ksample},
      {"ksample,KTime,A,b,c\n", texts::expecting_ksample},
      {" KSample,KTime,A,b,c\n", texts::expecting_ksample},
      {"KSample\n", texts::expecting_ksample},
      {"KSample,KTime\n", texts::expecting_ktime},
      {"KSample,KTime", texts::expecting_ktime},
      {"KSample,KTime\r\n", texts::expecting_ktime},
      {"KSample,Ktime,A,b,c\n", texts::expecting_ktime},
      {"KSample,\n", texts::expecting_ktime},
      {"KSample,KTime,\n", texts::three_headings},
      {"KSample,KTime,A,b\n", texts::three_headings},
      {"KSample,KTime,A,b,c,D\n1,0,1,2,3\n", texts::three_headings},
      {"KSample,KTime,A,b,c\n" + long_line + "\n", texts::line_too_long(2)},
      {"KSample,KTime,A,b,c\n1,0,1,1,1\n" + long_line, texts::line_too_long(3)},
      {"KSample,KTime,A,b,c\n1,0,1,1,1\n" + long_line + "\r\n", texts::line_too_long(3)},
      {"Nonsense header\n" + long_line + "\n", texts::line_too_long(2)},
      {long_line + "\n1,0,1,1,1\n", texts::line_too_long(1)},
      {"KSample,KTime,A,b,c\n" + long_line + long_line + "\n", texts::line_too_long(2)},
      {"KSample,KTime,A,b,c\n1,0,1,1,1\n2,0,\0,1,1\n"s + long_line + "\n", texts::nul_character(3)},
      {"KSa\0mple,KTime,A,b,c\n"s, texts::nul_character(1)},
      {"\xEF\xBB\xBF", texts::expecting_first_line},
      {"\xEF\xBB\xBF ksample,KTime,A,b,c\n", texts::expecting_ksample},
      {"\xEF\xBB\xBF\xEF\xBB\xBFKSample,KTime,A,b,c\n", texts::expecting_ksample},
      {"\xEF\xBBKSample,KTime,A,b,c\n", texts::expecting_ksample},
      {"KSample,KTime,A,b,c\n\xEF\xBB\xBF" + long_line, texts::line_too_long(2)},
      {"KSample,KTime\r1,0\r", texts::expecting_ktime},
      {"KSample,KTime,A,b,c,D\r1,0,1,2,3\r", texts::three_headings},
      {"KSample,KTime,A,b,c\r1,0,1,1,1\r" + long_line + "\r", texts::line_too_long(3)},
      {"KSample,KTime,A,b,c\r1,0,\0,1,1\r"s, texts::nul_character(2)},
  };
  for (const auto& c : cases) {
    TempCapture capture(c.content);
    const ChildResult outcome = load_in_child(capture.path);
    EXPECT_EQ(outcome.out, c.message) << c.content;
    EXPECT_EQ(outcome.exit_status, 1) << c.content;
  }
}

TEST(Reader, NulInDataLineIsReported) {
  TempCapture capture("KSample,KTime,A,b,c\n1,0,1\0,1,1\n"s);
  const ChildResult outcome = load_in_child(capture.path);
  EXPECT_EQ(outcome.out, texts::nul_character(2));
  EXPECT_EQ(outcome.exit_status, 1);
}

TEST(Reader, UnopenablePathsPrintCannotOpen) {
  TempCapture capture("KSample,KTime,A,b,c\n");
  const std::string paths[] = {capture.folder.path() + "/missing.csv", capture.folder.path(), ""};
  for (const auto& path : paths) {
    const ChildResult outcome = load_in_child(path);
    EXPECT_EQ(outcome.out, texts::cannot_open) << path;
    EXPECT_EQ(outcome.exit_status, 1) << path;
  }
}

TEST(Reader, FileShorterThanCountedReportsMissingDataLine) {
  TempCapture capture("KSample,KTime,A,b,c\n1,0,1,1,1\n2,0,1,1,1\n");
  const ChildResult outcome = run_in_child([&capture] {
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
  EXPECT_EQ(outcome.out, texts::expecting_data_line);
  EXPECT_EQ(outcome.exit_status, 1);
}

TEST(Reader, ExhaustedMemoryPrintsOneLine) {
  if (sanitized_build) {
    GTEST_SKIP() << "AddressSanitizer reserves more address space than the limit allows";
  }
  // Ten million samples want 120 MB of sample arrays; 64 MB is all there is.
  TempCapture capture("KSample,KTime,A,b,c\n" + std::string(10000000, '\n'));
  const ChildResult outcome = run_in_child([&capture] {
    const rlim_t limit = 64 << 20;
    rlimit address_space{limit, limit};
    setrlimit(RLIMIT_AS, &address_space);
    MotionData data;
    load_motion_data(capture.path.c_str(), data);
  });
  EXPECT_EQ(outcome.out, texts::out_of_memory);
  EXPECT_EQ(outcome.exit_status, 1);
}

TEST(Reader, RecordLargerThanTheLimitEndsBeforeAnyStorage) {
  if (sanitized_build) {
    GTEST_SKIP() << "AddressSanitizer reserves more address space than the limit allows";
  }
  // Columns: what, joints in the header, blank data lines, the limit, what
  // the load prints, its status.
  const struct {
    const char* what;
    int joints;
    int blank_lines;
    int resource;
    std::string out;
    int status;
  } cases[] = {
      // 101 KB of file for 395 MB of record.
      {"101 KB file of 164 joints and 100,000 blank lines, address space", 164, 100000, RLIMIT_AS,
       texts::out_of_memory, 1},
      {"101 KB file of 164 joints and 100,000 blank lines, data", 164, 100000, RLIMIT_DATA,
       texts::out_of_memory, 1},
      {"the same shape that fits, address space", 164, 10000, RLIMIT_AS, "", 0},
      {"the same shape that fits, data", 164, 10000, RLIMIT_DATA, "", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::string header = "KSample,KTime";
    for (int j = 0; j < c.joints; ++j) header += ",a,b,c";
    TempCapture capture(header + "\n" + std::string(static_cast<size_t>(c.blank_lines), '\n'));
    const ChildResult outcome = run_in_child([&capture, &c] {
      const rlim_t limit = rlim_t{256} << 20;
      rlimit memory{limit, limit};
      setrlimit(c.resource, &memory);
      MotionData data;
      load_motion_data(capture.path.c_str(), data);
    });
    EXPECT_EQ(outcome.out, c.out);
    EXPECT_EQ(outcome.exit_status, c.status);
  }
}

TEST(Reader, SuccessfulLoadPrintsNothing) {
  TempCapture capture("KSample,KTime,A,b,c\n1,0,,,\n");
  const ChildResult outcome = load_in_child(capture.path);
  EXPECT_EQ(outcome.out, "");
  EXPECT_EQ(outcome.exit_status, 0);
}

}  // namespace
