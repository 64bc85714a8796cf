// The frames a conversion keeps (--start, --end, --every) and a walking
// subject kept in view (--follow), on a generated walk with known times and
// a known travel.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "capture_table.h"
#include "converter.h"
#include "temp_dir.h"

namespace {

// A walk of 2,500 frames at 100 Hz: three markers 100 mm either side of the
// body's centre (C on it) walk +X by `speed` mm a frame, X = 1000 + speed
// (frame - 1), so 4 walks 10,196 mm from B's first X to A's last.
// C is not seen in frame 10, A's X is a recorded 0 in frame 20.
constexpr int walk_frames = 2500;
const double offset_x[3] = {100, -100, 0};
const double offset_y[3] = {50, -50, 0};
const double height[3] = {1000, 1500, 500};

std::string generated_walk(int speed) {
  std::string text = "KSample,KTime,A_X,A_Y,A_Z,B_X,B_Y,B_Z,C_X,C_Y,C_Z\n";
  for (int f = 1; f <= walk_frames; ++f) {
    text += std::to_string(f) + "," + std::to_string((f - 1) / 100.0);
    for (int m = 0; m < 3; ++m) {
      const double x = f == 20 && m == 0 ? 0 : 1000 + speed * (f - 1) + offset_x[m];
      text += f == 10 && m == 2
                  ? ",,,"
                  : "," + std::to_string(x) + "," + std::to_string(2000 + offset_y[m]) + "," +
                        std::to_string(height[m]);
    }
    text += '\n';
  }
  return text;
}

// The capture and summary of the walk at `speed` mm per frame under options.
CaptureTable convert_walk(const ConversionOptions& options, std::string& summary, int speed = 4) {
  TempDir dir("frame-choice-");
  const std::string output = dir.path() + "/out.csv";
  summary = summary_line(
      convert_recording(dir.write("walk.csv", generated_walk(speed)), output, options));
  return read_capture_table(output);
}

// Columns: the options (start, end, every), the frames written, the first
// and last sample, a part of the summary line.
TEST(FrameChoice, WindowAndStrideKeepTheFramesTheirTimesName) {
  struct Case {
    std::optional<double> start, end;
    int64_t every;
    size_t frames;
    double first, last;
    const char* said;
  };
  const Case cases[] = {
      {{},
       {},
       1,
       2500,
       1,
       2500,
       "3 markers, 2,500 frames at 100 Hz in recorded units, Z-up, 0.0 % of points not seen; "},
      {4, 10.25, 2, 313, 401, 1025, " 313 of 2,500 frames (4 s to 10.24 s, every 2nd) at 50 Hz "},
      {{}, 0, 1, 1, 1, 1, " 1 of 2,500 frames (0 s to 0 s) at 100 Hz "},
      {0.005, 0.015, 1, 1, 2, 2, " 1 of 2,500 frames (0.01 s to 0.01 s) at 100 Hz "},
      {24.99, {}, 3, 1, 2500, 2500, "(24.99 s to 24.99 s, every 3rd) at 33.3333 Hz"},
      {{}, {}, 7, 358, 1, 2500, " 358 of 2,500 frames (0 s to 24.99 s, every 7th) at 14.2857 Hz "},
      {{}, {}, 22, 114, 1, 2487, "(0 s to 24.86 s, every 22nd)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.said);
    std::string summary;
    ConversionOptions options;
    options.start = c.start;
    options.end = c.end;
    options.every = c.every;
    const CaptureTable table = convert_walk(options, summary);
    ASSERT_EQ(table.rows.size(), c.frames);
    EXPECT_EQ(table.rows.front()[0], c.first);
    EXPECT_EQ(table.rows.back()[0], c.last);
    EXPECT_EQ(table.rows.back()[1], (c.last - 1) / 100.0) << "the recording's own time";
    EXPECT_NE(summary.find(c.said), std::string::npos) << summary;
  }
}

// Columns: the walk's speed, the options, the hints the summary ends with.
TEST(FrameChoice, HintsTellOfFramesOutOfReachAndOfASubjectWhoTravels) {
  struct Case {
    int speed;
    std::optional<double> start;
    int64_t every;
    bool follow;
    const char* hints;
  };
  const Case cases[] = {
      {4,
       {},
       1,
       false,
       ". Note: Frame Number reaches the first 1,001 frames (up to 10 s); --start/--end or --every "
       "3 "
       "bring the rest within reach. The subject travels 10196 recorded units; --follow keeps it "
       "in view."},
      {4, 10, 1, true,
       ". Note: Frame Number reaches the first 1,001 frames (up to 20 s); --start/--end or --every "
       "2 "
       "bring the rest within reach."},
      {4,
       {},
       3,
       false,
       ". Note: The subject travels 10196 recorded units; --follow keeps it in view."},
      {0,
       {},
       3,
       false,
       "; to frame it all set Zoom Input 25, Pan Camera Vertical -10, Pan Camera Horizontal -20"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.hints);
    std::string summary;
    ConversionOptions options;
    options.start = c.start;
    options.every = c.every;
    options.follow = c.follow;
    convert_walk(options, summary, c.speed);
    const std::string end(c.hints);
    ASSERT_GE(summary.size(), end.size()) << summary;
    EXPECT_EQ(summary.substr(summary.size() - end.size()), end);
  }
}

// The followed walk stays at the origin: away from the ends and from frame
// 20 (its recorded 0 moves the mean), A and B keep their offsets from the
// body's centre and C, on the centre, comes out tiny but not 0 (the centre
// moves aside by a tiny fraction of the frame's box).
// Missing stays missing and no coordinate is 0. Columns: the options, the
// frames written, the frames each end whose centre has fewer neighbours.
TEST(FrameChoice, FollowKeepsTheWalkingSubjectAtTheOriginAndMissingStaysMissing) {
  struct Case {
    std::optional<double> start, end;
    int64_t every;
    size_t frames;
    size_t settle;
  };
  const Case cases[] = {
      {{}, {}, 1, 2500, 71},
      {{}, {}, 2, 1250, 36},
      {5, 15, 1, 1001, 51},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.frames);
    std::string summary;
    ConversionOptions options;
    options.start = c.start;
    options.end = c.end;
    options.every = c.every;
    options.follow = true;
    const CaptureTable table = convert_walk(options, summary);
    ASSERT_EQ(table.rows.size(), c.frames);
    EXPECT_NE(summary.find(", Z-up, followed, "), std::string::npos) << summary;
    for (size_t f = 0; f < table.rows.size(); ++f) {
      const std::vector<double>& row = table.rows[f];
      const int sample = static_cast<int>(row[0]);
      for (size_t field = 2; field < row.size(); ++field) {
        EXPECT_NE(row[field], 0.0) << "sample " << sample << " field " << field;
      }
      EXPECT_EQ(std::isnan(row[8]), sample == 10) << "C unseen in sample 10 only";
      EXPECT_EQ(std::isnan(row[2]), sample == 20) << "A's recorded 0 stays missing";
      if (f < c.settle || f + c.settle > table.rows.size()) continue;
      SCOPED_TRACE(sample);
      for (size_t m = 0; m < 2; ++m) {
        EXPECT_NEAR(row[2 + 3 * m], offset_x[m], 1e-3);
        EXPECT_NEAR(row[3 + 3 * m], offset_y[m], 1e-3);
        EXPECT_EQ(row[4 + 3 * m], height[m]);
      }
      EXPECT_LT(std::fabs(row[8]), 1e-3);
      EXPECT_LT(std::fabs(row[9]), 1e-3);
    }
  }
}

}  // namespace
