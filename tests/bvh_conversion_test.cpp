// BVH skeleton motions converted in-process: joint positions checked against
// trigonometry worked out here, the recorded walk against its own channels
// and bone lengths, and damaged files against their error lines.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bvh_reader.h"
#include "column_names.h"
#include "conversion_error.h"
#include "converter.h"
#include "temp_dir.h"
#include "text_conversion.h"

namespace {

constexpr double degree = 3.14159265358979323846 / 180.0;

// The capture of a BVH text with its values as placed: recorded units, no
// turn to Z-up.
std::string convert_bvh(const std::string& text, ConversionSummary* summary = nullptr) {
  return convert_text("motion.bvh", text, summary);
}

// The cells of every line of a capture (0 is the header).
std::vector<std::vector<std::string>> capture_cells(const std::string& capture) {
  std::vector<std::vector<std::string>> lines;
  std::istringstream text(capture);
  for (std::string line; std::getline(text, line);) {
    std::istringstream row(line);
    lines.emplace_back();
    for (std::string cell; std::getline(row, cell, ',');) lines.back().push_back(cell);
  }
  return lines;
}

// X, Y, Z of every marker in the cells of one frame.
std::vector<double> frame_points(const std::vector<std::string>& cells) {
  std::vector<double> points;
  for (size_t i = 2; i < cells.size(); ++i) points.push_back(std::stod(cells[i]));
  return points;
}

// A chain with 6 channels on every joint, the root turned 30 degrees about Z:
// the knee sits at its channels (0, -10, 0) in the root's frame, not at its
// OFFSET plus them.
const char six_channels[] =
    "HIERARCHY\n"
    "ROOT Hips\n"
    "{\n"
    "  OFFSET 100 200 300\n"
    "  CHANNELS 6 Xposition Yposition Zposition Zrotation Xrotation Yrotation\n"
    "  JOINT Left Knee\n"
    "  {\n"
    "    OFFSET 50 50 50\n"
    "    CHANNELS 6 Xposition Yposition Zposition Zrotation Xrotation Yrotation\n"
    "    End Site\n"
    "    {\n"
    "      OFFSET 0 -4 0\n"
    "    }\n"
    "  }\n"
    "}\n"
    "MOTION\n"
    "Frames: 2\n"
    "Frame Time: 0.04\n"
    "1 2 3 30 0 0 0 -10 0 0 0 0\n"
    "0 0 0 0 0 0 0 -10 0 0 0 90\n";

// The same text with every other line ending in CRLF, tabs and runs of
// blanks between words, numbers written differently.
std::string mixed_layout(std::string text) {
  const std::string row = "1 2 3 30 0 0";
  text.replace(text.find(row), row.size(), "1 2 3 3.0e1 .0 -0.0");
  std::string mixed;
  int line = 0;
  for (char c : text) {
    if (c == '\n') {
      mixed += line++ % 2 == 0 ? "\r\n" : "\n";
    } else if (c == ' ') {
      mixed += line % 3 == 0 ? " \t " : "\t";
    } else {
      mixed += c;
    }
  }
  return mixed;
}

// Two branches turned by Y then X, and by X then Y (Y by a = 40, X by b = 25
// degrees in both), below a root at its channels; each ends in an End Site 2
// above its joint.
const char two_orders[] =
    "HIERARCHY\n"
    "ROOT Pelvis\n"
    "{\n"
    "\tOFFSET 0 0 0\n"
    "\tCHANNELS 3 Xposition Yposition Zposition\n"
    "\tJOINT YX\n"
    "\t{\n"
    "\t\tOFFSET 1 0 0\n"
    "\t\tCHANNELS 3 Yrotation Xrotation Zrotation\n"
    "\t\tEnd Site\n"
    "\t\t{\n"
    "\t\t\tOFFSET 0 2 0\n"
    "\t\t}\n"
    "\t}\n"
    "\tJOINT XY\n"
    "\t{\n"
    "\t\tOFFSET -1 0 0\n"
    "\t\tCHANNELS 3 Xrotation Yrotation Zrotation\n"
    "\t\tEnd Site\n"
    "\t\t{\n"
    "\t\t\tOFFSET 0 2 0\n"
    "\t\t}\n"
    "\t}\n"
    "}\n"
    "MOTION\n"
    "Frames: 1\n"
    "Frame Time: 0.01\n"
    "5 6 7 40 25 0 25 40 0\n";

// A root with rotation channels only, at its OFFSET, turned c degrees about
// X; then a second root with one position channel, turned about Z.
const char rotation_only_root[] =
    "HIERARCHY\n"
    "ROOT Torso\n"
    "{\n"
    "  OFFSET 5 6 7\n"
    "  CHANNELS 3 Zrotation Yrotation Xrotation\n"
    "  End Site\n"
    "  {\n"
    "    OFFSET 0 2 0\n"
    "  }\n"
    "}\n"
    "ROOT Prop\n"
    "{\n"
    "  OFFSET 3 4 5\n"
    "  CHANNELS 2 Yposition Zrotation\n"
    "  End Site { OFFSET 1 0 0 }\n"
    "}\n"
    "MOTION\n"
    "Frames: 1\n"
    "Frame Time: 0.01\n"
    "0 0 35 9 30\n";

// Skeletons and where their markers are. Columns: what, the text, the
// capture's header, a frame (from 1) and X, Y, Z of its markers.
TEST(BvhConversion, JointsSitWhereTheirChannelsPutThem) {
  const double a = 40 * degree;  // two_orders: first angle
  const double b = 25 * degree;  // second angle
  const std::string six_header =
      "KSample,KTime,Hips_X,Hips_Y,Hips_Z,Left_Knee_X,Left_Knee_Y,Left_Knee_Z,Left_Knee_End_X,"
      "Left_Knee_End_Y,Left_Knee_End_Z";
  const struct {
    const char* what;
    std::string text;
    std::string header;
    size_t frame;
    std::vector<double> points;
  } cases[] = {
      {"6 channels, root turned about Z",
       six_channels,
       six_header,
       1,
       {1, 2, 3, 1 + 10 * std::sin(30 * degree), 2 - 10 * std::cos(30 * degree), 3,
        1 + 14 * std::sin(30 * degree), 2 - 14 * std::cos(30 * degree), 3}},
      // Turning the knee about its own Y leaves the End Site below it on the Y axis.
      {"6 channels, knee turned about Y",
       six_channels,
       six_header,
       2,
       {0, 0, 0, 0, -10, 0, 0, -14, 0}},
      {"mixed line ends and blanks",
       mixed_layout(six_channels),
       six_header,
       1,
       {1, 2, 3, 1 + 10 * std::sin(30 * degree), 2 - 10 * std::cos(30 * degree), 3,
        1 + 14 * std::sin(30 * degree), 2 - 14 * std::cos(30 * degree), 3}},
      // Ry(a) Rx(b) (0, 2, 0) = (2 sin b sin a, 2 cos b, 2 sin b cos a);
      // Rx(b) Ry(a) (0, 2, 0) = (0, 2 cos b, 2 sin b).
      {"two rotation orders",
       two_orders,
       "KSample,KTime,Pelvis_X,Pelvis_Y,Pelvis_Z,YX_X,YX_Y,YX_Z,YX_End_X,YX_End_Y,YX_End_Z,XY_X,"
       "XY_Y,XY_Z,XY_End_X,XY_End_Y,XY_End_Z",
       1,
       {5, 6, 7, 6, 6, 7, 6 + 2 * std::sin(b) * std::sin(a), 6 + 2 * std::cos(b),
        7 + 2 * std::sin(b) * std::cos(a), 4, 6, 7, 4, 6 + 2 * std::cos(b), 7 + 2 * std::sin(b)}},
      {"root with rotations only, second root",
       rotation_only_root,
       "KSample,KTime,Torso_X,Torso_Y,Torso_Z,Torso_End_X,Torso_End_Y,Torso_End_Z,Prop_X,Prop_Y,"
       "Prop_Z,Prop_End_X,Prop_End_Y,Prop_End_Z",
       1,
       {5, 6, 7, 5, 6 + 2 * std::cos(35 * degree), 7 + 2 * std::sin(35 * degree), 3, 9, 5,
        3 + std::cos(30 * degree), 9 + std::sin(30 * degree), 5}},
  };
  for (const auto& c : cases) {
    const std::string capture = convert_bvh(c.text);
    EXPECT_EQ(capture.substr(0, capture.find('\n')), c.header) << c.what;
    const std::vector<double> points = frame_points(capture_cells(capture).at(c.frame));
    ASSERT_EQ(points.size(), c.points.size()) << c.what;
    for (size_t i = 0; i < points.size(); ++i) {
      EXPECT_NEAR(points[i], c.points[i], 1e-12) << c.what << ", value " << i;
    }
  }
}

TEST(BvhConversion, FramesCountFromOneAtTheFrameTime) {
  ConversionSummary summary;
  std::string text = six_channels;
  text.replace(text.find("Frames: 2"), 9, "Frames: 5");
  const std::string capture = convert_bvh(text + "\n\n", &summary);
  const std::vector<std::vector<std::string>> cells = capture_cells(capture);
  ASSERT_EQ(cells.size(), 3u);
  EXPECT_EQ(cells[1][0], "1");
  EXPECT_EQ(cells[2][0], "2");
  EXPECT_EQ(cells[2][1], "0.04");
  EXPECT_EQ(summary.frames, 2);
  EXPECT_EQ(summary.frames_claimed, 5);
  EXPECT_EQ(summary.rate_hz, 25.0);
  EXPECT_EQ(summary.units, "");
}

TEST(BvhConversion, YUpSkeletonStandsUpright) {
  TempDir dir("bvh-");
  const std::string input = dir.write("motion.bvh", six_channels);
  const ConversionSummary summary = convert_recording(input, dir.path() + "/out.csv");
  EXPECT_TRUE(summary.turned_upright);
  // The End Site 14 below the root (Y -14) comes out at Z -14.
  EXPECT_EQ(capture_cells(read_file(dir.path() + "/out.csv")).at(2)[2 + 3 * 2 + 2], "-14");
}

// Files that must be refused. Columns: what is wrong, the text, a part of
// the message.
TEST(BvhConversion, BadFilesEndWithALineNamingTheCause) {
  const std::string good = six_channels;
  auto replaced = [&](const std::string& from, const std::string& to) {
    std::string text = good;
    text.replace(text.find(from), from.size(), to);
    return text;
  };
  const struct {
    const char* what;
    std::string text;
    const char* message;
  } cases[] = {
      {"row one number short", replaced("0 -10 0 0 0 0\n0", "0 -10 0 0 0\n0"),
       "line 19: the row holds 11 numbers for 12 channels"},
      {"row one number long", replaced("0 0 90\n", "0 0 90 1\n"),
       "line 20: the row holds 13 numbers for 12 channels"},
      {"text in a row", replaced("0 0 90", "0 0 9O"), "line 20: \"9O\" is not a number"},
      {"positions past the largest double",
       replaced("1 2 3 30 0 0 0 -10", "1e308 2 3 30 0 0 1e308 -10"),
       "line 19: the joints' positions are beyond the range of numbers"},
      {"infinite number in a row", replaced("0 0 90", "0 0 1e999"), "line 20: \"1e999\""},
      {"missing brace", replaced("    }\n  }\n", "    }\n"), "line 15: MOTION before the }"},
      {"file ends in a joint", good.substr(0, good.find("  }\n}\n")), "ends before the }"},
      {"brace missing after JOINT", replaced("  {\n    OFFSET 50", "    OFFSET 50"),
       "line 7: no { after \"Left Knee\""},
      {"unknown channel", replaced("Zrotation Xrotation", "Zrotation Xrotaton"),
       "line 5: unknown channel \"Xrotaton\""},
      {"count above names", replaced("CHANNELS 6 Xposition", "CHANNELS 7 Xposition"),
       "line 6: CHANNELS says 7 but names 6"},
      {"count below names", replaced("CHANNELS 6 Xposition", "CHANNELS 5 Xposition"),
       "line 5: more channel names than CHANNELS counts"},
      {"no count", replaced("CHANNELS 6 Xposition", "CHANNELS Xposition"),
       "line 5: CHANNELS needs a channel count"},
      {"text in OFFSET", replaced("OFFSET 0 -4 0", "OFFSET 0 -4 O"),
       "line 12: OFFSET needs three numbers"},
      {"no OFFSET", replaced("OFFSET 0 -4 0", ""), "line 13: the End Site of \"Left Knee\" has no"},
      {"no joints", "HIERARCHY\nMOTION\nFrames: 1\nFrame Time: 0.1\n1\n",
       "line 2: the BVH file has no joints"},
      {"no channels", "HIERARCHY\nROOT A\n{\nOFFSET 0 0 0\n}\nMOTION\nFrames: 1\nFrame Time: 1\n\n",
       "line 6: the BVH hierarchy has no channels"},
      {"no MOTION", good.substr(0, good.find("MOTION")), "ends before its MOTION section"},
      {"word out of place", replaced("    End Site", "    Site"),
       "line 10: \"Site\" inside \"Left Knee\""},
      {"Frame Time 0", replaced("0.04", "0"),
       "line 18: 1 / Frame Time is not a rate from 0.001 Hz to 1000000 Hz"},
      {"Frame Time negative", replaced("0.04", "-0.04"),
       "1 / Frame Time is not a rate from 0.001 Hz to 1000000 Hz"},
      {"Frame Time text", replaced("0.04", "fast"),
       "1 / Frame Time is not a rate from 0.001 Hz to 1000000 Hz"},
      {"Frame Time 1 ns", replaced("0.04", "1e-9"),
       "1 / Frame Time is not a rate from 0.001 Hz to 1000000 Hz"},
      {"Frames fractional", replaced("Frames: 2", "Frames: 2.5"),
       "line 17: Frames: is not a whole number"},
      {"no Frames", replaced("Frames: 2", "Count: 2"), "line 17: no \"Frames:\""},
      {"no rows", good.substr(0, good.find("1 2 3")), "holds no frame rows"},
  };
  for (const auto& c : cases) {
    const std::string message = conversion_error("motion.bvh", c.text);
    EXPECT_NE(message.find(c.message), std::string::npos) << c.what << ": " << message;
  }
}

// A hierarchy 100,000 joints deep is read without recursion, by the reader
// alone: a capture of so many markers would pass the viewer's line limit.
TEST(BvhConversion, DeepHierarchyIsReadWithoutRecursion) {
  constexpr size_t depth = 100000;
  std::string text = "HIERARCHY\nROOT J\n{\nOFFSET 0 0 0\nCHANNELS 1 Xposition\n";
  for (size_t i = 0; i < depth; ++i) text += "JOINT J" + std::to_string(i) + " { OFFSET 0 1 0\n";
  for (size_t i = 0; i <= depth; ++i) text += "}\n";
  text += "MOTION\nFrames: 1\nFrame Time: 1\n2\n";
  BvhReader reader(InputFile(std::vector<unsigned char>(text.begin(), text.end())));
  Frame frame;
  ASSERT_TRUE(reader.next_frame(frame));
  ASSERT_EQ(frame.points.size(), depth + 1);
  EXPECT_EQ(frame.points[0].x, 2.0);
  EXPECT_EQ(frame.points[depth].y, static_cast<double>(depth));
}

// 20,000 End Sites of one joint are named in time linear in their count (the
// names alone: their capture would pass the viewer's line limit).
TEST(BvhConversion, ThousandsOfEndSitesOfOneJointGetTheirOwnNames) {
  std::string text = "HIERARCHY\nROOT A\n{\nOFFSET 0 0 0\nCHANNELS 1 Xposition\n";
  for (int i = 0; i < 20000; ++i) text += "End Site { OFFSET 0 1 0 }\n";
  text += "}\nMOTION\nFrames: 1\nFrame Time: 1\n7\n";
  const BvhReader reader(InputFile(std::vector<unsigned char>(text.begin(), text.end())));
  const std::vector<std::string> names = unique_marker_names(reader.info().labels);
  ASSERT_EQ(names.size(), 20001u);
  EXPECT_EQ(names.back(), "A_End_20000");
}

// The recorded walk: the root sits at its position channels in every frame,
// and every bone keeps its OFFSET's length.
TEST(BvhConversion, RecordedWalkKeepsItsRootChannelsAndBoneLengths) {
  std::ifstream file(RECORDED_BVH);
  std::string line;
  while (std::getline(file, line) && line.rfind("Frame Time", 0) != 0) {
  }
  std::vector<std::vector<double>> root_channels;
  while (std::getline(file, line)) {
    std::istringstream row(line);
    std::vector<double> xyz(3);
    if (row >> xyz[0] >> xyz[1] >> xyz[2]) root_channels.push_back(xyz);
  }
  ASSERT_EQ(root_channels.size(), 1064u);

  ConversionSummary summary;
  const std::string capture = convert_bvh(read_file(RECORDED_BVH), &summary);
  EXPECT_EQ(summary.markers, 30);
  EXPECT_EQ(summary.frames, 1064);
  // 1 / 0.008333 s, shown with six significant digits.
  const std::string start = "30 markers, 1,064 frames at 120.005 Hz in recorded units, Z-up";
  EXPECT_EQ(summary_line(summary).substr(0, start.size()), start);
  // Markers (by their place in the header) and their parent's, and the
  // length of the child's OFFSET in the file.
  const struct {
    size_t child;
    size_t parent;
    double length;
  } bones[] = {
      {1, 0, 8.4730},   // Spine below Hips
      {2, 1, 13.8244},  // Head below Spine
      {3, 2, 4.5275},   // Head's End Site
      {5, 4, 7.3084},   // LeftArm below LeftShoulder
      {6, 5, 10.7061},  // LeftForeArm below LeftArm
      {10, 7, 3.9370},  // LeftHand_End below LeftHand
  };
  const std::vector<std::vector<std::string>> cells = capture_cells(capture);
  ASSERT_EQ(cells.size(), root_channels.size() + 1);
  ASSERT_EQ(cells[0][2 + 3 * 10], "LeftHand_End_X");
  for (size_t f = 1; f <= root_channels.size(); ++f) {
    const std::vector<double> points = frame_points(cells[f]);
    for (size_t axis = 0; axis < 3; ++axis) EXPECT_EQ(points[axis], root_channels[f - 1][axis]);
    for (const auto& bone : bones) {
      const double dx = points[3 * bone.child] - points[3 * bone.parent];
      const double dy = points[3 * bone.child + 1] - points[3 * bone.parent + 1];
      const double dz = points[3 * bone.child + 2] - points[3 * bone.parent + 2];
      ASSERT_NEAR(std::sqrt(dx * dx + dy * dy + dz * dz), bone.length, 1e-9)
          << "frame " << f << ", marker " << bone.child;
    }
  }
}

}  // namespace
