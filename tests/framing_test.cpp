// The camera values printed after a conversion frame the whole capture: a
// geometric check with the projection of the viewer's starting camera.
#include <gtest/gtest.h>

#include <cmath>

#include "framing.h"

namespace {

// The view: gluPerspective(60, 535 / 500, 0.5, 1000) and an eye at (0, 0,
// zoom) looking at the origin, the scene shifted by the pans and drawn at
// (y, z, x) / 100. True when capture point (x, y, z) lands inside the view.
bool in_view(const CameraValues& camera, double x, double y, double z) {
  const double scene[3] = {y / 100.0 + camera.pan_horizontal, z / 100.0 + camera.pan_vertical,
                           x / 100.0};
  const double depth = camera.zoom - scene[2];  // distance in front of the eye
  if (depth <= 0.5 || depth >= 1000.0) return false;
  const double f = 1.0 / std::tan(30.0 * M_PI / 180.0);
  const double ndc_x = f / (535.0 / 500.0) * scene[0] / depth;
  const double ndc_y = f * scene[1] / depth;
  return std::fabs(ndc_x) <= 1.0 && std::fabs(ndc_y) <= 1.0;
}

bool box_in_view(const CameraValues& camera, const CaptureBounds& box) {
  for (int corner = 0; corner < 8; ++corner) {
    const double x = corner & 1 ? box.high[0] : box.low[0];
    const double y = corner & 2 ? box.high[1] : box.low[1];
    const double z = corner & 4 ? box.high[2] : box.low[2];
    if (!in_view(camera, x, y, z)) return false;
  }
  return true;
}

bool multiple_of_5(double value) { return std::fmod(value, 5.0) == 0.0; }

// Boxes of seen points in capture units (mm). Columns: low x, y, z, high x, y, z.
TEST(Framing, CameraValuesPutEveryCornerInViewAndAreMultiplesOf5) {
  const double boxes[][6] = {
      {600, -300, 0, 900, 300, 1800},         // a subject a metre from the origin
      {-2500, 1500, 0, -2000, 2200, 1750},    // off in a corner of the lab
      {0, 0, 0, 0, 0, 0},                     // one point at the origin
      {10, 10, 10, 10.5, 10.5, 10.5},         // a tiny box
      {-1000, -10000, 0, 1000, 10000, 2000},  // a 20 m walkway
      {0.5, -0.2, 0.0, 0.9, 0.2, 1.8},        // a subject in metres
  };
  for (const auto& b : boxes) {
    CaptureBounds box;
    box.add(b[0], b[1], b[2]);
    box.add(b[3], b[4], b[5]);
    const CameraValues camera = frame_capture(box);
    EXPECT_TRUE(box_in_view(camera, box)) << b[0] << " " << b[1] << " zoom " << camera.zoom;
    EXPECT_TRUE(multiple_of_5(camera.zoom) && multiple_of_5(camera.pan_vertical) &&
                multiple_of_5(camera.pan_horizontal))
        << camera.zoom << " " << camera.pan_vertical << " " << camera.pan_horizontal;
    // One step closer would cut a corner off, unless the eye is already at
    // the smallest positive zoom.
    CameraValues closer = camera;
    closer.zoom -= 5.0;
    if (closer.zoom > 0.0) {
      EXPECT_FALSE(box_in_view(closer, box)) << b[0] << " " << b[1] << " zoom " << camera.zoom;
    }
  }
}

TEST(Framing, SubjectAMetreAwayNeedsMoreThanTheStartingZoom) {
  CaptureBounds box;
  box.add(600, -300, 0);
  box.add(900, 300, 1800);
  const CameraValues camera = frame_capture(box);
  EXPECT_FALSE(box_in_view(CameraValues(), box));
  EXPECT_EQ(camera.pan_vertical, -10.0);  // centre 900 mm high: 9 scene units, nearest step 10
  EXPECT_EQ(camera.pan_horizontal, 0.0);
}

TEST(Framing, NoSeenPointKeepsTheStartingCamera) {
  const CameraValues camera = frame_capture(CaptureBounds());
  EXPECT_EQ(camera.zoom, 10.0);
  EXPECT_EQ(camera.pan_vertical, 0.0);
  EXPECT_EQ(camera.pan_horizontal, 0.0);
}

}  // namespace
