// TRC tables, tab- and comma-separated, converted in-process.
#include <gtest/gtest.h>

#include <string>

#include "conversion_error.h"
#include "converter.h"
#include "temp_dir.h"
#include "text_conversion.h"

namespace {

// An OpenSim-style table of two markers in m: HEAD not seen in frame 11 (NaN
// cells), HAND cut short in frame 12, a blank row before the data.
const char tab_table[] =
    "PathFileType\t4\t(X/Y/Z)\ttrial.trc\n"
    "DataRate\tCameraRate\tNumFrames\tNumMarkers\tUnits\tOrigDataRate\n"
    "50\t50\t3\t2\tm\t50\n"
    "Frame#\tTime\tHEAD\t\t\tL HAND\t\t\n"
    "\t\tX1\tY1\tZ1\tX2\tY2\tZ2\n"
    "\n"
    "10\t0.000\t0.1\t1.70\t-0.25\t0.30\t1.1\t1e-3\n"
    "11\t0.020\tNaN\tNaN\tNaN\t0.31\t1.1\t0.001\n"
    "12\t0.040\t0.1000000000000000055511151231257827\t1.7\t-0.25\t0.32\n";

const char expected_capture[] =
    "KSample,KTime,HEAD_X,HEAD_Y,HEAD_Z,L_HAND_X,L_HAND_Y,L_HAND_Z\n"
    "10,0,0.1,1.7,-0.25,0.3,1.1,0.001\n"
    "11,0.02,,,,0.31,1.1,0.001\n"
    "12,0.04,0.1,1.7,-0.25,,,\n";

std::string with_commas(std::string table) {
  for (char& c : table) {
    if (c == '\t') c = ',';
  }
  return table;
}

// The table's values as written, Z-up, unless options say otherwise.
std::string convert_table(const std::string& table, ConversionSummary* summary = nullptr,
                          ConversionOptions options = {UpAxis::z, true}) {
  return convert_text("trial.TRC", table, summary, options);
}

TEST(TrcConversion, TabAndCommaTablesGiveTheSameCapture) {
  EXPECT_EQ(convert_table(tab_table), expected_capture);
  EXPECT_EQ(convert_table(with_commas(tab_table)), expected_capture);
  std::string quoted = with_commas(tab_table);
  quoted.replace(quoted.find("L HAND"), 6, "\"L, HAND\"")
      .replace(quoted.find("0.31"), 4, " \"0.31\"");
  std::string capture = expected_capture;
  EXPECT_EQ(convert_table(quoted), capture.replace(capture.find("L_HAND_X,L_HAND_Y,L_HAND_Z"), 26,
                                                   "L__HAND_X,L__HAND_Y,L__HAND_Z"));
}

TEST(TrcConversion, CarriageReturnsAndPaddingCellsChangeNothing) {
  std::string table;
  for (char c : with_commas(tab_table))
    table += c == '\n' ? std::string(",,,\r\n") : std::string(1, c);
  EXPECT_EQ(convert_table(table), expected_capture);
}

// OpenSim's own tables pad their key and value rows with blanks and doubled
// tabs, and may follow PathFileType with blanks. Columns: what differs, the
// table's first three rows.
TEST(TrcConversion, PaddedHeaderRowsGiveTheSameCapture) {
  const std::string rows_after =
      std::string(tab_table).substr(std::string(tab_table).find("Frame#"));
  const struct {
    const char* what;
    const char* header;
  } cases[] = {
      {"blanks after PathFileType",
       "PathFileType  4\t(X/Y/Z)\ttrial.trc\n"
       "DataRate\tCameraRate\tNumFrames\tNumMarkers\tUnits\n"
       "50\t50\t3\t2\tm\n"},
      {"blanks and doubled tabs",
       "PathFileType\t4\t(X/Y/Z)\tpath\n"
       "DataRate\tCameraRate\tNumFrames\tNumMarkers\tUnits\n"
       "  50.0\t\t  50.0\t\t    3\t\t  2\t\t m \n"},
  };
  for (const auto& c : cases) {
    ConversionSummary summary;
    EXPECT_EQ(convert_table(c.header + rows_after, &summary), expected_capture) << c.what;
    EXPECT_EQ(summary.units, "m") << c.what;
    EXPECT_EQ(summary.frames_claimed, 3) << c.what;
  }
}

// Without options a table is taken as OpenSim writes it: Y-up, and in the
// units it names, written in millimetres.
TEST(TrcConversion, TablesAreTakenAsYUpAndWrittenInMillimetres) {
  ConversionSummary summary;
  const std::string capture = convert_table(tab_table, &summary, {});
  EXPECT_NE(capture.find("\n10,0,100,250,1700,300,-1,1100\n"), std::string::npos) << capture;
  EXPECT_NE(capture.find("\n12,0.04,100,250,1700,,,\n"), std::string::npos) << capture;
  EXPECT_EQ(summary_line(summary).substr(0, 54),
            "2 markers, 3 frames at 50 Hz in mm (recorded in m), Y-");
}

TEST(TrcConversion, SummaryNamesTheUnitsAndCountsPointsNotSeen) {
  ConversionSummary summary;
  convert_table(tab_table, &summary);
  EXPECT_EQ(summary.units, "m");
  EXPECT_EQ(summary.points_not_seen, 2);
  EXPECT_EQ(summary.frames, 3);
  EXPECT_EQ(summary.rate_hz, 50.0);
}

TEST(TrcConversion, FewerRowsThanClaimedAreConvertedAndCounted) {
  std::string table = tab_table;
  table.replace(table.find("50\t50\t3"), 7, "50\t50\t9");
  ConversionSummary summary;
  EXPECT_EQ(convert_table(table, &summary), expected_capture);
  EXPECT_EQ(summary.frames_claimed, 9);
  EXPECT_EQ(summary.frames, 3);
}

TEST(TrcConversion, YUpStandsTheRecordingUpright) {
  const std::string capture = convert_table(tab_table, nullptr, {UpAxis::y, true});
  EXPECT_NE(capture.find("\n10,0,0.1,0.25,1.7,0.3,-0.001,1.1\n"), std::string::npos) << capture;
}

// Tables that must be refused. Columns: what is wrong, the table, a part of
// the message.
TEST(TrcConversion, BadTablesEndWithAMessage) {
  const std::string good = tab_table;
  auto replaced = [&](const std::string& from, const std::string& to) {
    std::string table = good;
    table.replace(table.find(from), from.size(), to);
    return table;
  };
  const struct {
    const char* what;
    std::string table;
    const char* message;
  } cases[] = {
      {"no PathFileType", replaced("PathFileType", "PathFile"), "is not a recording"},
      {"only four rows", "PathFileType\t4\nDataRate\n50\nFrame#\n", "not a TRC file"},
      {"more markers than names", replaced("\t2\tm", "\t9\tm"),
       "NumMarkers is more than its names row"},
      {"rate 0", replaced("50\t50\t3", "0\t50\t3"),
       "DataRate is not a rate from 0.001 Hz to 1000000 Hz"},
      {"rate 1e-300", replaced("50\t50\t3", "1e-300\t50\t3"),
       "DataRate is not a rate from 0.001 Hz to 1000000 Hz"},
      {"rate text", replaced("50\t50\t3", "fast\t50\t3"),
       "DataRate is not a rate from 0.001 Hz to 1000000 Hz"},
      {"no markers", replaced("\t2\tm", "\t0\tm").replace(good.find("HEAD"), 15, "\t\t\t\t\t"),
       "names no markers"},
      {"no data rows", good.substr(0, good.find("10\t0.000")), "holds no data rows"},
      {"text in a cell", replaced("1.70", "1.7x"), "line 7, column 4"},
      {"infinite cell", replaced("1.70", "inf"), "line 7, column 4"},
      {"fractional frame number", replaced("11\t0.020", "11.5\t0.020"),
       "line 8 of the TRC file has no whole frame number"},
  };
  for (const auto& c : cases) {
    const std::string message = conversion_error("trial.TRC", c.table);
    EXPECT_NE(message.find(c.message), std::string::npos) << c.what << ": " << message;
  }
}

}  // namespace
