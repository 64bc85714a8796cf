// --fit proven with the viewer's own camera: every seen point of a fitted
// real recording, with its whole cube, lies inside the starting view, the
// recording fills a good part of it, and no coordinate is written as 0.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>

#include "c3d_builder.h"
#include "capture_table.h"
#include "converter.h"
#include "fitting.h"
#include "temp_dir.h"

namespace {

constexpr double eye_distance = 10.0;  // the starting zoom
constexpr double near_plane = 0.5;
constexpr double cube_half_edge = 0.25;
const double focal = 1.0 / std::tan(30.0 * M_PI / 180.0);  // 60° vertical field of view
constexpr double aspect = 535.0 / 500.0;

// Where the viewer's starting camera shows the seen points of a capture:
// the extremes of their cube corners in normalized device coordinates, and
// whether any corner fell outside the view or behind the near plane.
struct Projection {
  double low[2] = {HUGE_VAL, HUGE_VAL};
  double high[2] = {-HUGE_VAL, -HUGE_VAL};
  bool outside = false;
  size_t points = 0;

  void add(double x, double y, double z) {
    ++points;
    const double centre[3] = {y / 100.0, z / 100.0, x / 100.0};
    for (int corner = 0; corner < 8; ++corner) {
      const double sx = centre[0] + (corner & 1 ? cube_half_edge : -cube_half_edge);
      const double sy = centre[1] + (corner & 2 ? cube_half_edge : -cube_half_edge);
      const double sz = centre[2] + (corner & 4 ? cube_half_edge : -cube_half_edge);
      const double depth = eye_distance - sz;
      if (depth <= near_plane) {
        outside = true;
        continue;
      }
      const double ndc[2] = {focal / aspect * sx / depth, focal * sy / depth};
      for (int a = 0; a < 2; ++a) {
        low[a] = std::min(low[a], ndc[a]);
        high[a] = std::max(high[a], ndc[a]);
        if (std::fabs(ndc[a]) > 1.0) outside = true;
      }
    }
  }
  // The larger share of the view's width or height the points take.
  double filled() const { return std::max(high[0] - low[0], high[1] - low[1]) / 2.0; }
  // The share of the view's height they take.
  double height_filled() const { return (high[1] - low[1]) / 2.0; }
};

// Fits recording and checks the capture: every point in view, at least half
// the view (and height_share of its height) filled, no coordinate exactly 0.
void expect_fitted(const std::string& recording, ConversionOptions options = {},
                   double height_share = 0.0) {
  SCOPED_TRACE(recording);
  TempDir dir("fit-");
  const std::string output = dir.path() + "/fitted.csv";
  options.fit = true;
  convert_recording(recording, output, options);
  const CaptureTable table = read_capture_table(output);
  Projection view;
  size_t zeros = 0;
  for (const std::vector<double>& row : table.rows) {
    for (size_t c = 2; c + 2 < row.size(); c += 3) {
      zeros += static_cast<size_t>(std::count(row.begin() + static_cast<long>(c),
                                              row.begin() + static_cast<long>(c) + 3, 0.0));
      if (!std::isnan(row[c]) && !std::isnan(row[c + 1]) && !std::isnan(row[c + 2]))
        view.add(row[c], row[c + 1], row[c + 2]);
    }
  }
  EXPECT_GT(view.points, 1000u);
  EXPECT_FALSE(view.outside);
  EXPECT_GE(view.filled(), 0.5);
  EXPECT_GE(view.height_filled(), height_share);
  EXPECT_EQ(zeros, 0u);
}

// The recorded C3D's values, first in its own millimetres, as a TRC table in
// metres.
std::string metre_table(const TempDir& dir) {
  const std::string kept = dir.path() + "/kept.csv";
  ConversionOptions options;
  options.keep_units = true;
  convert_recording(RECORDED_C3D, kept, options);
  const CaptureTable table = read_capture_table(kept);
  const size_t markers = (table.header.size() - 2) / 3;
  std::ofstream trc(dir.path() + "/metres.trc");
  trc << "PathFileType\t4\t(X/Y/"
         "Z)\tmetres.trc\nDataRate\tCameraRate\tNumFrames\tNumMarkers\tUnits\n"
      << "100\t100\t" << table.rows.size() << '\t' << markers << "\tm\nFrame#\tTime";
  for (size_t m = 0; m < markers; ++m) trc << "\tM" << m << "\t\t";
  trc << "\n\t";
  for (size_t m = 1; m <= markers; ++m) trc << "\tX" << m << "\tY" << m << "\tZ" << m;
  trc << '\n';
  trc.precision(17);
  for (const std::vector<double>& row : table.rows) {
    trc << row[0] << '\t' << row[1];
    for (size_t c = 2; c < row.size(); ++c) {
      trc << '\t';
      if (!std::isnan(row[c])) trc << row[c] / 1000.0;
    }
    trc << '\n';
  }
  return dir.path() + "/metres.trc";
}

TEST(Fitting, RecordingsInMillimetresAndMetresFillTheStartingView) {
  expect_fitted(RECORDED_C3D);
  expect_fitted(RECORDED_TRC);
  TempDir dir("fit-metres-");
  const std::string metres = metre_table(dir);
  expect_fitted(metres);
  ConversionOptions keep_units;
  keep_units.keep_units = true;
  expect_fitted(metres, keep_units);
}

// The shipped walk, followed and fitted, is a body that fills most of the
// view's height instead of a clump at one side of the whole trial's box.
TEST(Fitting, FollowedWalkFillsMostOfTheViewsHeight) {
  ConversionOptions follow;
  follow.follow = true;
  expect_fitted(RECORDED_BVH, follow, 0.6);
}

// Columns: what is special, the marker's x in three frames, whether one
// of them lies on the centre the first writing takes: the box's middle (1
// for -2 to 4) moved aside once.
TEST(Fitting, ZerosBecomeEmptyAndNoFittedValueIsZero) {
  struct Case {
    const char* what;
    std::string x[3];
    bool on_first_centre;
  };
  const double first_centre = 1.0 + aside_step(6.0, 1.0, 1);
  char on_centre[32];
  std::snprintf(on_centre, sizeof on_centre, "%.17g", first_centre);
  const Case cases[] = {
      {"a recorded 0 is missing", {"-2", "0", "4"}, false},
      {"a value on the box's middle", {"-2", "1", "4"}, false},
      {"a value on the first centre moves it further aside", {"-2", on_centre, "4"}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir("fit-zero-");
    std::string table =
        "PathFileType\t4\t(X/Y/Z)\tz.trc\nDataRate\tCameraRate\tNumFrames\tNumMarkers\tUnits\n"
        "100\t100\t3\t1\tmm\nFrame#\tTime\tA\t\t\n\t\tX1\tY1\tZ1\n";
    for (int f = 0; f < 3; ++f) {
      table += std::to_string(f + 1) + "\t0\t" + c.x[f] + "\t" + std::to_string(f + 5) + "\t7\n";
    }
    const std::string output = dir.path() + "/out.csv";
    const ConversionSummary summary =
        convert_recording(dir.write("z.trc", table), output, {std::nullopt, false, true});
    ASSERT_TRUE(summary.fit.has_value());
    EXPECT_EQ(summary.fit->centre[0] != first_centre, c.on_first_centre);
    const CaptureTable fitted = read_capture_table(output);
    ASSERT_EQ(fitted.rows.size(), 3u);
    for (int f = 0; f < 3; ++f) {
      const double x = fitted.rows[static_cast<size_t>(f)][2];
      EXPECT_EQ(std::isnan(x), c.x[f] == "0") << "frame " << f + 1;
      for (size_t a = 2; a < 5; ++a) EXPECT_NE(fitted.rows[static_cast<size_t>(f)][a], 0.0);
    }
  }
}

// A C3D is read a second time to be fitted, where other recordings are
// held: its capture is, byte for byte, the one that fitting the same frames
// read from a capture file gives. In every case a value of marker A lies on
// the box's middle, which the centre is moved aside from; A's recorded 0 is
// missing and B is not seen in every fifth frame. Columns: what is asked
// besides --fit.
TEST(Fitting, AC3dReadTwiceGivesTheValuesOfItsFramesHeld) {
  struct Case {
    const char* what;
    ConversionOptions options;
  };
  const Case cases[] = {
      {"every frame", {}},
      {"a window and a stride", {std::nullopt, false, true, 0.05, 0.3, 3}},
      {"Y up", {UpAxis::y, false, true}},
  };
  TempDir dir("fit-c3d-");
  C3dDescription d;
  d.float_storage = true;
  d.scale = 1.0f;  // whole millimetres, which a capture file holds exactly
  d.labels = {"A", "B"};
  d.frames = 40;
  d.point = [](int64_t f, size_t m) {
    const auto v = static_cast<int16_t>(f * 7 % 23 - 11);
    if (m == 0) return StoredPoint{static_cast<int16_t>(f == 39 ? 22 : f - 18), v, 5, true};
    return StoredPoint{v, static_cast<int16_t>(f + 3), static_cast<int16_t>(-f), f % 5 != 0};
  };
  const std::string c3d = dir.path() + "/walk.c3d";
  ASSERT_TRUE(write_c3d_file(c3d, d));
  const std::string plain = dir.path() + "/plain.csv";
  convert_recording(c3d, plain);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ConversionOptions options = c.options;
    options.fit = true;
    const std::string twice = dir.path() + "/twice.csv";
    const std::string held = dir.path() + "/held.csv";
    const ConversionSummary read_twice = convert_recording(c3d, twice, options);
    convert_recording(plain, held, options);
    ASSERT_TRUE(read_twice.fit.has_value());
    EXPECT_NE(read_twice.fit->centre[0], std::round(read_twice.fit->centre[0])) << "not aside";
    EXPECT_EQ(read_file(twice), read_file(held));
  }
}

}  // namespace
