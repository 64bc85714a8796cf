// Vicon Nexus CSV exports converted in-process: one fixture per quirk of the
// format, and the shipped export checked against the C3D of the same trial.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "conversion_error.h"
#include "converter.h"
#include "recording_format.h"
#include "temp_dir.h"

namespace {

// Two markers over three frames in mm: RASI not seen in frame 2 (empty
// cells) and frame 3 (NaN).
const char head[] =
    "Trajectories\n"
    "100\n"
    ",,Sub:LASI,,,Sub:RASI,,\n"
    "Frame,Sub Frame,X,Y,Z,X,Y,Z\n"
    ",,mm,mm,mm,mm,mm,mm\n";
const char rows[] =
    "1,0,1.5,-2,3,4,5,6\n"
    "2,0,1.6,-2,3,,,\n"
    "3,0,1.7,-2,3,NaN,NaN,NaN\n";
const std::string table = std::string(head) + rows;

const char capture[] =
    "KSample,KTime,Sub:LASI_X,Sub:LASI_Y,Sub:LASI_Z,Sub:RASI_X,Sub:RASI_Y,Sub:RASI_Z\n"
    "1,0,1.5,-2,3,4,5,6\n"
    "2,0.01,1.6,-2,3,,,\n"
    "3,0.02,1.7,-2,3,,,\n";

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  return text.replace(text.find(from), from.size(), to);
}

// Every line end of text as padding commas and CRLF.
std::string padded_crlf(const std::string& text) {
  std::string result;
  for (char c : text) result += c == '\n' ? std::string(",,,,\r\n") : std::string(1, c);
  return result;
}

// The capture text written from file, or "Error: " and the message.
std::string outcome(const std::string& file) {
  TempDir dir("nexus-");
  const std::string input = dir.write("trial.csv", file);
  try {
    convert_recording(input, dir.path() + "/out.csv");
  } catch (const ConversionError& error) {
    return std::string("Error: ") + error.what();
  }
  return read_file(dir.path() + "/out.csv");
}

// Columns: the quirk, the file, the capture it gives (starting KSample) or a
// part of its error message.
TEST(NexusConversion, EachQuirkGivesItsCaptureOrError) {
  const struct {
    const char* what;
    std::string file;
    std::string expected;
  } cases[] = {
      {"plain", table, capture},
      {"padding commas and CRLF", padded_crlf(table), capture},
      {"names row one field longer", replaced(table, "RASI,,\n", "RASI,,,\n"), capture},
      {"sections before and after",
       "Devices,,\n1000\n,,Plate\nFrame,Sub Frame,Fx\n,,N\n1,0,5\n1,1,6\n\n" + table +
           "\nJoints\n100\n,,Sub:Knee\nFrame,Sub Frame,RX\n,,deg\n1,0,9\n",
       capture},
      {"blank line ends the section", table + ",,,,\n9,0,bad\n", capture},
      {"blank lines at the end", table + "\n\r\n,,\n", capture},
      {"short row", replaced(table, "3,0,1.7,-2,3,NaN,NaN,NaN", "3,0,1.7,-2"),
       replaced(capture, "3,0.02,1.7,-2,3", "3,0.02,,,")},
      {"no units row", replaced(table, ",,mm,mm,mm,mm,mm,mm\n", ""), capture},
      {"metres", replaced(table, ",,mm,mm,mm,mm,mm,mm", ",,m,m,m,m,m,m"),
       "KSample,KTime,Sub:LASI_X,Sub:LASI_Y,Sub:LASI_Z,Sub:RASI_X,Sub:RASI_Y,Sub:RASI_Z\n"
       "1,0,1500,-2000,3000,4000,5000,6000\n"
       "2,0.01,1600,-2000,3000,,,\n"
       "3,0.02,1700,-2000,3000,,,\n"},
      {"a name missing", replaced(table, "Sub:RASI", ""),
       replaced(capture, "Sub:RASI_X,Sub:RASI_Y,Sub:RASI_Z", "P2_X,P2_Y,P2_Z")},
      {"no names", replaced(table, ",,Sub:LASI,,,Sub:RASI,,", ",,,,,,,"),
       replaced(capture, "Sub:LASI_X,Sub:LASI_Y,Sub:LASI_Z,Sub:RASI_X,Sub:RASI_Y,Sub:RASI_Z",
                "P1_X,P1_Y,P1_Z,P2_X,P2_Y,P2_Z")},
      {"quoted cells",
       replaced(replaced(table, "Sub:RASI,,", "\"Sub, \"\"R\"\"\",,"), "1,0,1.5,-2,",
                "1,\"0\", \"1.5\" ,-2,"),
       replaced(capture, "Sub:RASI_X,Sub:RASI_Y,Sub:RASI_Z",
                "Sub__\"R\"_X,Sub__\"R\"_Y,Sub__\"R\"_Z")},
      {"columns after the markers", replaced(table, "Y,Z\n", "Y,Z,X',Y',Z'\n"), capture},
      {"frames from 7",
       replaced(replaced(replaced(table, "1,0,", "7,0,"), "2,0,", "8,0,"), "3,0,", "9,0,"),
       replaced(replaced(replaced(capture, "\n1,0,", "\n7,0,"), "\n2,0.01", "\n8,0.01"), "\n3,0.02",
                "\n9,0.02")},
      {"only a Devices section", "Devices\n1000\n,,Plate\nFrame,Sub Frame,Fx\n,,N\n1,0,5\n",
       "no Trajectories section"},
      {"heading alone", "Trajectories,,\n",
       "line 2: the Trajectories section ends before its rate"},
      {"rate in words", replaced(table, "100", "fast"), "line 2: the Trajectories rate \"fast\""},
      {"rate 0", replaced(table, "100", "0"),
       "line 2: the Trajectories rate \"0\" is not a rate from 0.001 Hz to 1000000 Hz"},
      {"rate 1e-300", replaced(table, "100", "1e-300"),
       "line 2: the Trajectories rate \"1e-300\" is"},
      {"no names row", "Trajectories\n100\n", "line 3: the Trajectories section ends before"},
      {"no Frame row", replaced(table, "Frame,", "Field #,"), "line 4: the row under the marker"},
      {"X without Y and Z", replaced(table, "Y,Z\n", "Y,Q\n"), "line 4: column 6 is headed X"},
      {"no X column", replaced(table, "X,Y,Z,X,Y,Z", "A,B,C"), "line 4: no column is headed X"},
      {"mixed units", replaced(table, "mm,mm,mm,mm,mm,mm", "mm,mm,mm,m,m,m"),
       "line 5: column 6 is in \"m\" but column 3 in \"mm\""},
      {"no data rows", std::string(head) + ",,,\n" + rows,
       "line 6: the Trajectories section holds no"},
      {"text in a cell", replaced(table, "5,6", "5x,6"), "line 6: column 7 holds \"5x\""},
      {"control characters in a cell", replaced(table, "5,6", "5\r\t\x01x,6"),
       "line 6: column 7 holds \"5???x\""},
      {"bytes not UTF-8 in a cell", replaced(table, "5,6", "5\xE9\xC3\xA9\xE2\x82,6"),
       "line 6: column 7 holds \"5?\xC3\xA9??\""},
      {"infinite cell", replaced(table, "-2,3,,", "inf,3,,"), "line 7: column 4 holds \"inf\""},
      {"fractional frame", replaced(table, "2,0,", "2.5,0,"), "line 7: the frame number \"2.5\""},
      {"sub frame 1", replaced(table, "3,0,", "3,1,"), "line 8: sub frame \"1\""},
  };
  for (const auto& c : cases) {
    const std::string result = outcome(c.file);
    if (c.expected.rfind("KSample", 0) == 0) {
      EXPECT_EQ(result, c.expected) << c.what;
    } else {
      EXPECT_NE(result.find(c.expected), std::string::npos) << c.what << ": " << result;
    }
  }
}

// The shipped Nexus export holds the trial of the shipped C3D, rounded to
// six significant digits: the same frames, names and gaps, values within
// that rounding.
TEST(NexusConversion, ExportAgreesWithTheC3dOfTheSameTrial) {
  const std::unique_ptr<MarkerRecording> c3d = open_recording(RECORDED_C3D);
  const std::unique_ptr<MarkerRecording> nexus = open_recording(RECORDED_NEXUS);
  EXPECT_EQ(nexus->info().labels, c3d->info().labels);
  EXPECT_EQ(nexus->info().units, c3d->info().units);
  EXPECT_EQ(nexus->info().rate_hz, c3d->info().rate_hz);
  EXPECT_EQ(nexus->info().first_frame, c3d->info().first_frame);
  EXPECT_EQ(nexus->info().frames_present, 580);
  Frame expected;
  Frame frame;
  int64_t frames = 0;
  int64_t not_seen = 0;
  while (c3d->next_frame(expected)) {
    ASSERT_TRUE(nexus->next_frame(frame)) << "frame " << expected.number;
    ASSERT_EQ(frame.number, expected.number);
    ASSERT_EQ(frame.points.size(), expected.points.size());
    for (size_t m = 0; m < frame.points.size(); ++m) {
      const MarkerPoint& p = frame.points[m];
      const MarkerPoint& q = expected.points[m];
      ASSERT_EQ(p.seen, q.seen) << "frame " << frame.number << ", marker " << m;
      if (!p.seen) {
        ++not_seen;
        continue;
      }
      for (const auto& [value, reference] : {std::pair{p.x, q.x}, {p.y, q.y}, {p.z, q.z}}) {
        EXPECT_NEAR(value, reference, 1e-5 * std::fabs(reference))
            << "frame " << frame.number << ", marker " << m;
      }
    }
    ++frames;
  }
  EXPECT_FALSE(nexus->next_frame(frame));
  EXPECT_EQ(frames, 580);
  EXPECT_EQ(not_seen, 305);
}

}  // namespace
