// Qualisys TSV exports converted in-process: one fixture per quirk of the
// format as QTM versions write it, and the recorded export.
#include <gtest/gtest.h>

#include <string>

#include "conversion_error.h"
#include "converter.h"
#include "temp_dir.h"
#include "text_conversion.h"

namespace {

// Two markers, frames 5 to 7 at 100 Hz: HEAD not seen in frame 6 (empty
// cells), L HAND not seen in frame 7 (NaN).
const char export_3d[] =
    "NO_OF_FRAMES\t3\n"
    "NO_OF_CAMERAS\t8\n"
    "NO_OF_MARKERS\t2\n"
    "FREQUENCY\t100\n"
    "NO_OF_ANALOG\t0\n"
    "ANALOG_FREQUENCY\t0\n"
    "DESCRIPTION\t--\n"
    "TIME_STAMP\t2016-09-06, 20:16:48\t13033.15494344\n"
    "DATA_INCLUDED\t3D\n"
    "MARKER_NAMES\tHEAD\tL HAND\n"
    "TRAJECTORY_TYPES\tMeasured\tMeasured\n"
    "Frame\tTime\tHEAD X\tHEAD Y\tHEAD Z\tL HAND X\tL HAND Y\tL HAND Z\n"
    "5\t0.00000\t10.5\t-2.25\t1700.125\t300.0\t1.5\t900\n"
    "6\t0.01000\t\t\t\t301\t1.5\t900\n"
    "7\t0.02000\t10.5\t-2.25\t1700.125\tNaN\tNaN\tNaN\n";

const char header_names[] = "KSample,KTime,HEAD_X,HEAD_Y,HEAD_Z,L_HAND_X,L_HAND_Y,L_HAND_Z\n";
const char frame_5[] = "5,0,10.5,-2.25,1700.125,300,1.5,900\n";
const char frame_6[] = "6,0.01,,,,301,1.5,900\n";
const char frame_7[] = "7,0.02,10.5,-2.25,1700.125,,,\n";
const std::string expected_capture = std::string(header_names) + frame_5 + frame_6 + frame_7;

// export_3d with the first `from` replaced by `to`.
std::string replaced(const std::string& from, const std::string& to, std::string text = export_3d) {
  const size_t at = text.find(from);
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

// text with every LF replaced by `line_end`.
std::string with_line_ends(const std::string& text, const std::string& line_end) {
  std::string result;
  for (char c : text) result += c == '\n' ? line_end : std::string(1, c);
  return result;
}

// export_3d as older exports write it: no Frame/Time column row and no such
// cells, rows numbered from 1.
std::string without_frame_columns() {
  std::string text =
      replaced("Frame\tTime\tHEAD X\tHEAD Y\tHEAD Z\tL HAND X\tL HAND Y\tL HAND Z\n", "");
  for (const char* row_start : {"5\t0.00000\t", "6\t0.01000\t", "7\t0.02000\t"})
    text = replaced(row_start, "", text);
  return text;
}

// The capture text of table converted as recorded (Z-up, own units).
std::string convert_table(const std::string& table, ConversionSummary* summary = nullptr) {
  return convert_text("trial.tsv", table, summary);
}

// Exports that convert. Columns: the quirk, the export, the capture, the
// frames the summary says the file claims.
TEST(QualisysConversion, QuirksOfTheExportConvert) {
  const std::string frames_1_to_3 = std::string(header_names) +
                                    "1,0,10.5,-2.25,1700.125,300,1.5,900\n" +
                                    "2,0.01,,,,301,1.5,900\n" + "3,0.02,10.5,-2.25,1700.125,,,\n";
  const struct {
    const char* quirk;
    std::string text;
    std::string capture;
    int64_t claimed;
  } cases[] = {
      {"as exported", export_3d, expected_capture, 3},
      {"a tab at every line end", with_line_ends(export_3d, "\t\n"), expected_capture, 3},
      {"CRLF", with_line_ends(export_3d, "\r\n"), expected_capture, 3},
      {"blank lines at the end", std::string(export_3d) + "\n\r\n  \n", expected_capture, 3},
      {"byte-order mark", "\xEF\xBB\xBF" + std::string(export_3d), expected_capture, 3},
      {"no Frame and Time columns", without_frame_columns(), frames_1_to_3, 3},
      {"no Frame column, CRLF", with_line_ends(without_frame_columns(), "\r\n"), frames_1_to_3, 3},
      {"a lost marker written as 0.000 three times",
       replaced("301\t1.5\t900", "0.000\t0.000\t0.000"),
       std::string(header_names) + frame_5 + "6,0.01,,,,,,\n" + frame_7, 3},
      {"single zero coordinates are seen", replaced("301\t1.5\t900", "0\t-0.0\t900"),
       std::string(header_names) + frame_5 + "6,0.01,,,,0,-0,900\n" + frame_7, 3},
      {"a row cut short", replaced("\t300.0\t1.5\t900", "\t300.0"),
       std::string(header_names) + "5,0,10.5,-2.25,1700.125,,,\n" + frame_6 + frame_7, 3},
      {"fewer frames than claimed", replaced("NO_OF_FRAMES\t3", "NO_OF_FRAMES\t9"),
       expected_capture, 9},
      {"a key without a tab", replaced("DESCRIPTION\t--", "DESCRIPTION--"), expected_capture, 3},
      {"a key and value apart by a blank", replaced("FREQUENCY\t100", "FREQUENCY 100"),
       expected_capture, 3},
      {"no DATA_INCLUDED", replaced("DATA_INCLUDED\t3D\n", ""), expected_capture, 3},
      {"no NO_OF_MARKERS", replaced("NO_OF_MARKERS\t2\n", ""), expected_capture, 3},
      {"no NO_OF_FRAMES: the rows there", replaced("NO_OF_FRAMES\t3\n", ""), expected_capture, 3},
      {"FREQUENCY and MARKER_NAMES alone",
       "FREQUENCY\t100\nMARKER_NAMES\tHEAD\tL HAND\n" +
           without_frame_columns().substr(without_frame_columns().find("10.5")),
       frames_1_to_3, 3},
      {"an EVENT line", replaced("DATA_INCLUDED", "EVENT\tstart\t6\t0.01\nDATA_INCLUDED"),
       expected_capture, 3},
      {"a timecode column before the markers",
       replaced("Time\tHEAD X", "Time\tSMPTE\tHEAD X",
                replaced("0.00000\t", "0.00000\t00:00:00:01\t",
                         replaced("0.01000\t", "0.01000\t\t",
                                  replaced("0.02000\t", "0.02000\t00:00:00:03\t")))),
       expected_capture, 3},
  };
  for (const auto& c : cases) {
    ConversionSummary summary;
    try {
      EXPECT_EQ(convert_table(c.text, &summary), c.capture) << c.quirk;
      EXPECT_EQ(summary.frames_claimed, c.claimed) << c.quirk;
      EXPECT_EQ(summary.units, "mm") << c.quirk;
    } catch (const ConversionError& error) {
      ADD_FAILURE() << c.quirk << ": " << error.what();
    }
  }
}

// Exports that must be refused. Columns: what is wrong, the export, a part
// of the message.
TEST(QualisysConversion, BadExportsEndWithAMessage) {
  const struct {
    const char* what;
    std::string text;
    const char* message;
  } cases[] = {
      {"6D rigid bodies", replaced("3D", "6D"),
       "line 9: the file holds 6D data, not 3D marker positions"},
      {"DATA_INCLUDED empty", replaced("\t3D", "\t"),
       "line 9: DATA_INCLUDED names no kind of data"},
      {"no FREQUENCY", replaced("FREQUENCY\t100\n", ""), "no FREQUENCY line"},
      {"FREQUENCY 0", replaced("FREQUENCY\t100", "FREQUENCY\t0"),
       "line 4: FREQUENCY is not a rate from 0.001 Hz to 1000000 Hz"},
      {"FREQUENCY 2 MHz", replaced("FREQUENCY\t100", "FREQUENCY\t2e6"),
       "line 4: FREQUENCY is not a rate from 0.001 Hz to 1000000 Hz"},
      {"FREQUENCY text", replaced("FREQUENCY\t100", "FREQUENCY\tfast"),
       "line 4: FREQUENCY is not a rate from 0.001 Hz to 1000000 Hz"},
      {"NO_OF_FRAMES text", replaced("NO_OF_FRAMES\t3", "NO_OF_FRAMES\t3.5"),
       "line 1: NO_OF_FRAMES is not a whole number"},
      {"no MARKER_NAMES", replaced("MARKER_NAMES\tHEAD\tL HAND\n", ""),
       "names no markers (no MARKER_NAMES line)"},
      {"MARKER_NAMES empty", replaced("MARKER_NAMES\tHEAD\tL HAND", "MARKER_NAMES\t\t"),
       "line 10: MARKER_NAMES names no marker"},
      {"NO_OF_MARKERS disagrees", replaced("NO_OF_MARKERS\t2", "NO_OF_MARKERS\t3"),
       "line 3: NO_OF_MARKERS is 3 but MARKER_NAMES names 2 markers"},
      {"a line neither key nor row", replaced("NO_OF_ANALOG", "analog"),
       "line 5: neither a KEY<TAB>value header line nor a row of numbers"},
      {"no data rows", replaced("5\t0.00000", "").substr(0, std::string(export_3d).find("5\t0.0")),
       "holds no data rows"},
      {"first frame number negative", replaced("5\t0.00000", "-5\t0.00000"),
       "line 13: the frame number is not a whole number"},
      {"fractional frame number", replaced("6\t0.01000", "6.5\t0.01000"),
       "line 14: the frame number is not a whole number"},
      {"text in a cell", replaced("1700.125", "1700.1x"), "line 13: column 5 holds no number"},
      {"infinite cell", replaced("301", "inf"), "line 14: column 6 holds no number"},
      {"text in a cell, no Frame column", replaced("301", "3O1", without_frame_columns()),
       "line 13: column 4 holds no number"},
  };
  for (const auto& c : cases) {
    const std::string message = conversion_error("trial.tsv", c.text);
    EXPECT_NE(message.find(c.message), std::string::npos) << c.what << ": " << message;
  }
}

// The shipped QTM export: counts from its header, values from its text
// (frame 1, and frame 228 where R_HEAD is written as 0.000 three times).
TEST(QualisysConversion, RecordedExportConverts) {
  ConversionSummary summary;
  const std::string capture = convert_table(read_file(RECORDED_QUALISYS), &summary);
  EXPECT_EQ(summary.markers, 53);
  EXPECT_EQ(summary.frames, 229);
  EXPECT_EQ(summary.frames_claimed, 229);
  EXPECT_EQ(summary.rate_hz, 100.0);
  EXPECT_EQ(capture.substr(0, 30), "KSample,KTime,L_HEAD_X,L_HEAD_");
  EXPECT_NE(capture.find("\n1,0,2366.027,83.741,1652.105,2373.94,254.245,1641.639,"),
            std::string::npos);
  EXPECT_NE(capture.find("\n228,2.27,-1136.078,51.781,1656.706,,,,-1256.793,"), std::string::npos);
  EXPECT_NE(capture.find(",224.405,130.035\n"), std::string::npos);  // the last values
}

}  // namespace
