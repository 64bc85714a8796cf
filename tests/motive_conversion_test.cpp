// OptiTrack Motive CSV exports converted in-process: header rows with and
// without labels, rigid bodies and bones among the markers, gaps, damaged
// files, and a real export.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "conversion_error.h"
#include "converter.h"
#include "temp_dir.h"
#include "text_conversion.h"

namespace {

// A rigid body (rotation, position, mean marker error), one of its markers
// (with its quality), an unlabeled marker, a bone and a bone marker, in m.
// Frame 1: the rigid body marker is not seen (empty cells), the bone marker
// has NaN; frame 2 is cut short before the bone.
const char export_file[] =
    "Format Version,1.23,Take Name,walk,Take Notes,,Capture Frame Rate,200.000000,Export Frame "
    "Rate,100.000000,Capture Start Time,2023-11-28 10.27.58.765 DU.,Capture Start Frame,78593,"
    "Total Frames in Take,3,Total Exported Frames,3,Rotation Type,Quaternion,Length Units,Meters,"
    "Coordinate Space,Global\n"
    "\n"
    ",Type,Rigid Body,Rigid Body,Rigid Body,Rigid Body,Rigid Body,Rigid Body,Rigid Body,Rigid "
    "Body,Rigid Body Marker,Rigid Body Marker,Rigid Body Marker,Rigid Body Marker,Marker,Marker,"
    "Marker,Bone,Bone,Bone,Bone Marker,Bone Marker,Bone Marker\n"
    ",Name,Wand,Wand,Wand,Wand,Wand,Wand,Wand,Wand,Wand:Marker1,Wand:Marker1,Wand:Marker1,Wand:"
    "Marker1,Unlabeled 1036,Unlabeled 1036,Unlabeled 1036,Skeleton:Hip,Skeleton:Hip,Skeleton:Hip,"
    "Skeleton:Hip_1,Skeleton:Hip_1,Skeleton:Hip_1\n"
    ",ID,1,1,1,1,1,1,1,1,\"2\",\"2\",\"2\",\"2\",\"3\",\"3\",\"3\",4,4,4,5,5,5\n"
    ",,Rotation,Rotation,Rotation,Rotation,Position,Position,Position,Mean Marker Error,Position,"
    "Position,Position,Marker Quality,Position,Position,Position,Position,Position,Position,"
    "Position,Position,Position\n"
    "Frame,Time (Seconds),X,Y,Z,W,X,Y,Z,,X,Y,Z,,X,Y,Z,X,Y,Z,X,Y,Z\n"
    "0,0.000000,0.1,0.2,0.3,0.9,1.0,1.1,1.2,0.0001,0.5,1.5,-0.25,1,2.659741,-0.830793,-2.862191,"
    "9,9,9,0.1,0.9,0.2\n"
    "1,0.010000,0.1,0.2,0.3,0.9,1.0,1.1,1.2,0.0001,,,,,2.659775,-0.830803,-2.862214,9,9,9,0.1,0.9,"
    "NaN\n"
    "2,0.020000,0.1,0.2,0.3,0.9,1.0,1.1,1.2,0.0001,0.51,1.5,-0.25,0.98,2.659801,-0.830914,"
    "-2.862259\n";

const char capture_header[] =
    "KSample,KTime,Wand:Marker1_X,Wand:Marker1_Y,Wand:Marker1_Z,Unlabeled_1036_X,Unlabeled_1036_Y,"
    "Unlabeled_1036_Z,Skeleton:Hip_1_X,Skeleton:Hip_1_Y,Skeleton:Hip_1_Z\n";

const char capture_rows[] =
    "0,0,0.5,1.5,-0.25,2.659741,-0.830793,-2.862191,0.1,0.9,0.2\n"
    "1,0.01,,,,2.659775,-0.830803,-2.862214,,,\n"
    "2,0.02,0.51,1.5,-0.25,2.659801,-0.830914,-2.862259,,,\n";

// export_file with every `from` replaced by its `to`, pair by pair.
std::string edited(const std::vector<std::pair<std::string, std::string>>& edits) {
  std::string text = export_file;
  for (const auto& [from, to] : edits) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
      text.replace(at, from.size(), to);
  }
  return text;
}

// The export's values as written, Z-up.
std::string convert_export(const std::string& text, ConversionSummary* summary = nullptr) {
  return convert_text("take.csv", text, summary);
}

// Columns: the quirk, the file, the capture's frame rows, the frames the
// file claims.
TEST(MotiveConversion, ExportVariantsGiveTheirFrames) {
  const std::string rows = capture_rows;
  const struct {
    const char* what;
    std::string text;
    std::string rows;
    int64_t claimed;
  } cases[] = {
      {"labelled header rows", export_file, rows, 3},
      {"header rows without labels", edited({{",Type,", ",,"}, {",Name,", ",,"}, {",ID,", ",,"}}),
       rows, 3},
      {"header cells from the first cell",
       edited({{"\n,Type,", "\n"}, {"\n,Name,", "\n"}, {"\n,ID,", "\n"}, {"\n,,Rot", "\nRot"}}),
       rows, 3},
      {"no ID row, no blank line",
       edited(
           {{"\n\n", "\n"},
            {",ID,1,1,1,1,1,1,1,1,\"2\",\"2\",\"2\",\"2\",\"3\",\"3\",\"3\",4,4,4,5,5,5\n", ""}}),
       rows, 3},
      {"a quoted cell with a comma", edited({{"1.2,0.0001,", "1.2,\"0,0001\","}}), rows, 3},
      {"Time heading", edited({{"Time (Seconds)", "Time"}}), rows, 3},
      {"CRLF", edited({{"\n", "\r\n"}}), rows, 3},
      {"blank lines at the end", std::string(export_file) + "\n\r\n,,,\n", rows, 3},
      {"capture rate alone", edited({{"Export Frame Rate,100.000000,", ""}}),
       "0,0,0.5,1.5,-0.25,2.659741,-0.830793,-2.862191,0.1,0.9,0.2\n"
       "1,0.005,,,,2.659775,-0.830803,-2.862214,,,\n"
       "2,0.01,0.51,1.5,-0.25,2.659801,-0.830914,-2.862259,,,\n",
       3},
      {"fewer frames than claimed", edited({{"Exported Frames,3", "Exported Frames,9"}}), rows, 9},
      {"no frame count", edited({{"Total Exported Frames,3,", ""}}), rows, 3},
      {"range starting at frame 7",
       edited(
           {{"\n0,0.000000,", "\n7,0,"}, {"\n1,0.010000,", "\n8,0,"}, {"\n2,0.020000,", "\n9,0,"}}),
       "7,0,0.5,1.5,-0.25,2.659741,-0.830793,-2.862191,0.1,0.9,0.2\n"
       "8,0.01,,,,2.659775,-0.830803,-2.862214,,,\n"
       "9,0.02,0.51,1.5,-0.25,2.659801,-0.830914,-2.862259,,,\n",
       3},
  };
  for (const auto& c : cases) {
    ConversionSummary summary;
    try {
      EXPECT_EQ(convert_export(c.text, &summary), capture_header + c.rows) << c.what;
      EXPECT_EQ(summary.frames_claimed, c.claimed) << c.what;
    } catch (const ConversionError& error) {
      ADD_FAILURE() << c.what << ": " << error.what();
    }
  }
}

// Columns: the Length Units setting, the units the summary names when the
// values are kept as recorded.
TEST(MotiveConversion, LengthUnitsAreTheRecordedUnits) {
  const struct {
    std::string setting;
    const char* units;
  } cases[] = {
      {"Length Units,Meters,", "Meters"},
      {"Length Units,Centimeters,", "Centimeters"},
      {"Length Units,Millimeters,", "Millimeters"},
      {"", ""},
  };
  for (const auto& c : cases) {
    ConversionSummary summary;
    convert_export(edited({{"Length Units,Meters,", c.setting}}), &summary);
    EXPECT_EQ(summary.units, c.units) << c.setting;
  }
}

// The export in metres written in millimetres, each coordinate moved by its
// decimal point whatever its cell looks like. Columns: the quirk, the
// export, the capture's first frame row.
TEST(MotiveConversion, MetresBecomeMillimetresCellByCell) {
  const std::string row = "0,0,500,1500,-250,2659.741,-830.793,-2862.191,100,900,200\n";
  const struct {
    const char* what;
    std::string text;
    std::string row;
  } cases[] = {
      {"plain cells", export_file, row},
      {"quoted cells", edited({{",2.659741,", ",\"2.659741\","}}), row},
      {"padded cells", edited({{",2.659741,", ", 2.659741 ,"}}), row},
      {"an exponent", edited({{",2.659741,", ",2659.741e-3,"}}), row},
      {"16 digits", edited({{",2.659741,", ",2.659741000000000,"}}), row},
      {"a quote in a skipped column", edited({{"1.2,0.0001,0.5", "1.2,\"0,0001\",0.5"}}), row},
      {"minus zero", edited({{",-0.830793,", ",-0.000000,"}}),
       "0,0,500,1500,-250,2659.741,-0,-2862.191,100,900,200\n"},
  };
  for (const auto& c : cases) {
    const std::string capture = convert_text("take.csv", c.text, nullptr, {UpAxis::z, false});
    const size_t first_row = capture.find('\n') + 1;
    EXPECT_EQ(capture.substr(first_row, c.row.size()), c.row) << c.what;
  }
}

// Exports that must be refused. Columns: what is wrong, the file, the end
// of the message (the converter puts the file's path before it).
TEST(MotiveConversion, BadExportsNameTheLineAndTheCause) {
  const std::string header_end = "Frame,Time (Seconds),X,Y,Z,W,X,Y,Z,,X,Y,Z,,X,Y,Z,X,Y,Z,X,Y,Z\n";
  const std::string header_only =
      std::string(export_file)
          .substr(0, std::string(export_file).find(header_end) + header_end.size());
  const struct {
    const char* what;
    std::string text;
    const char* message;
  } cases[] = {
      {"no markers", edited({{"Marker", "Body"}}),
       "line 7: no marker Position columns (Type Marker, Rigid Body Marker or Bone Marker)"},
      {"text in a cell", edited({{"2.659775", "2.65x"}}), "line 9: column 15 holds no number"},
      {"infinite cell", edited({{"-0.830803", "-inf"}}), "line 9: column 16 holds no number"},
      {"two bad cells in a row", edited({{"2.659775,-0.830803", "2.65x,-0.8y"}}),
       "line 9: column 15 holds no number"},
      {"text in a cell of a row with a quote",
       edited({{"2.659775", "2.65x"}, {"1.2,0.0001,,", "1.2,\"0,0001\",,"}}),
       "line 9: column 15 holds no number"},
      {"an exponent without digits", edited({{"-0.830803", "-0.830803e"}}),
       "line 9: column 16 holds no number"},
      {"fractional frame number", edited({{"\n1,0.01", "\n1.5,0.01"}}),
       "line 9: the frame number is not a whole number"},
      {"rate 0", edited({{"Rate,100.000000", "Rate,0"}}),
       "line 1: the Export Frame Rate is not a rate from 0.001 Hz to 1000000 Hz"},
      {"rate too slow for finite times", edited({{"Rate,100.000000", "Rate,1e-300"}}),
       "line 1: the Export Frame Rate is not a rate from 0.001 Hz to 1000000 Hz"},
      {"rate 2 MHz", edited({{"Rate,100.000000", "Rate,2e6"}}),
       "line 1: the Export Frame Rate is not a rate from 0.001 Hz to 1000000 Hz"},
      {"no rate", edited({{"Export Frame Rate", "Export"}, {"Capture Frame Rate", "Capture"}}),
       "line 1: no Export Frame Rate or Capture Frame Rate"},
      {"frame count in words", edited({{"Exported Frames,3", "Exported Frames,three"}}),
       "line 1: Total Exported Frames is not a whole number"},
      {"no Frame row", edited({{"\nFrame,", "\nFrames,"}}),
       "line 10: the file ends before the row of column headings (Frame, Time, X, Y, Z, ...)"},
      {"no frame rows", header_only + "\n", "line 8: no frame rows below the column headings"},
      {"headings out of order", edited({{",,X,Y,Z,X,Y,Z,X,Y,Z\n", ",,X,Z,Y,X,Y,Z,X,Y,Z\n"}}),
       "line 7: the marker Position columns from column 15 are not headed X, Y, Z"},
      {"group row missing", header_only.substr(0, header_only.find(",Name,")) + header_end,
       "line 4: the column headings are not below the Type, Name and group rows"},
  };
  for (const auto& c : cases) {
    const std::string message = conversion_error("take.csv", c.text);
    const std::string end = c.message;
    EXPECT_EQ(message.substr(message.size() - std::min(message.size(), end.size())), end)
        << c.what << ": " << message;
  }
}

// The value of every cell of a CSV line, NaN for an empty one.
std::vector<double> line_values(const std::string& line) {
  std::vector<double> values;
  std::istringstream cells(line);
  for (std::string cell; std::getline(cells, cell, ',');)
    values.push_back(cell.empty() ? std::nan("") : std::stod(cell));
  if (!line.empty() && line.back() == ',') values.push_back(std::nan(""));
  return values;
}

// Line `number` (from 1) of text.
std::string line_of(const std::string& text, size_t number) {
  std::istringstream lines(text);
  std::string line;
  for (size_t i = 0; i < number && std::getline(lines, line);) ++i;
  return line;
}

// The real export: 18 unlabeled markers at 360 Hz in mm, Y-up, gaps as empty
// cells. Frames are compared with the file's text turned Z-up: (x, -z, y).
TEST(MotiveConversion, RecordedExportStandsUprightInMillimetres) {
  TempDir dir("motive-recorded-");
  const ConversionSummary summary = convert_recording(RECORDED_MOTIVE, dir.path() + "/out.csv");
  EXPECT_EQ(summary.markers, 18);
  EXPECT_EQ(summary.rate_hz, 360.0);
  EXPECT_EQ(summary.frames, 1353);
  EXPECT_EQ(summary.frames_claimed, 1353);
  EXPECT_NE(summary_line(summary).find(" at 360 Hz in mm, Y-up turned Z-up,"), std::string::npos)
      << summary_line(summary);
  const std::string recorded = read_file(RECORDED_MOTIVE);
  const std::string capture = read_file(dir.path() + "/out.csv");
  const std::string names = "KSample,KTime,Unlabeled_1036_X,Unlabeled_1036_Y,Unlabeled_1036_Z,";
  EXPECT_EQ(line_of(capture, 1).substr(0, names.size()), names);
  // The first frame, one with gaps (frame 10), and the last.
  for (const size_t frame : {0, 10, 1352}) {
    const std::vector<double> in = line_values(line_of(recorded, 8 + frame));
    const std::vector<double> out = line_values(line_of(capture, 2 + frame));
    ASSERT_EQ(in.size(), 2 + 18 * 3) << frame;
    ASSERT_EQ(out.size(), in.size()) << frame;
    EXPECT_EQ(out[0], in[0]);
    EXPECT_DOUBLE_EQ(out[1], static_cast<double>(frame) / 360.0);
    for (size_t x = 2; x < in.size(); x += 3) {
      EXPECT_EQ(std::isnan(out[x]), std::isnan(in[x])) << frame << " column " << x;
      if (std::isnan(in[x])) continue;
      EXPECT_EQ(out[x], in[x]) << frame << " column " << x;
      EXPECT_EQ(out[x + 1], -in[x + 2]) << frame << " column " << x;
      EXPECT_EQ(out[x + 2], in[x + 1]) << frame << " column " << x;
    }
  }
}

}  // namespace
