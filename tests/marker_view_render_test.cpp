// Marker view drawn on an X display: where the cubes land on the screen.
#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "capture_generator.h"
#include "marker_view.h"
#include "number_parser.h"
#include "program_texts.h"
#include "temp_dir.h"
#include "test_capture.h"
#include "toolkit_display.h"

namespace {

constexpr int width = 400;
constexpr int height = 300;
constexpr int tolerance = 2;  // pixels between a drawn and a computed edge

// A view that keeps the pixels of every frame it draws, read from the back
// buffer before the toolkit swaps it to the screen.
class CapturingView : public MarkerView {
 public:
  CapturingView(int w, int h) : MarkerView(0, 0, w, h, "label") {}

  int frames = 0;
  std::vector<unsigned char> pixels;  // RGB, bottom row first
  GLenum gl_error = GL_NO_ERROR;      // the first error of the last draw

 protected:
  void draw() override {
    MarkerView::draw();
    gl_error = glGetError();
    pixels.assign(static_cast<size_t>(w()) * static_cast<size_t>(h()) * 3, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, w(), h(), GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    ++frames;
  }
};

// Pixel rectangle, columns from the left and rows from the bottom.
struct Box {
  int left = 1 << 30;
  int bottom = 1 << 30;
  int right = -1;
  int top = -1;

  bool empty() const { return right < left; }
  void add(int column, int row) {
    left = std::min(left, column);
    right = std::max(right, column);
    bottom = std::min(bottom, row);
    top = std::max(top, row);
  }
};

struct Camera {
  float rotation_x;
  float rotation_y;
  float pan_x;
  float pan_y;
  float zoom;
};

struct Point {
  double x;
  double y;
  double z;
};

constexpr Camera initial_camera = {0.0f, 0.0f, 0.0f, 0.0f, 10.0f};

double radians(double degrees) { return degrees * std::acos(-1.0) / 180.0; }

// Where scene point p lands in a view of w x h pixels, worked out by hand:
// rotation about X, then about Y, then the pan, then the eye at (0, 0, zoom)
// looking at the origin with +Y up, then a 60-degree perspective.
Point project(Point p, const Camera& camera, int w, int h) {
  const double ax = radians(camera.rotation_x);
  p = {p.x, p.y * std::cos(ax) - p.z * std::sin(ax), p.y * std::sin(ax) + p.z * std::cos(ax)};
  const double ay = radians(camera.rotation_y);
  p = {p.x * std::cos(ay) + p.z * std::sin(ay), p.y, -p.x * std::sin(ay) + p.z * std::cos(ay)};
  p = {p.x + camera.pan_x, p.y + camera.pan_y, p.z};
  // Seen from the -Z side (negative zoom) left and right swap.
  const double side = camera.zoom > 0 ? 1.0 : -1.0;
  const double right = side * p.x;
  const double depth = side * (camera.zoom - p.z);
  const double focal = 1.0 / std::tan(radians(30.0));
  const double aspect = static_cast<double>(w) / h;
  const double ndc_x = focal / aspect * right / depth;
  const double ndc_y = focal * p.y / depth;
  return {(ndc_x + 1.0) * w / 2.0, (ndc_y + 1.0) * h / 2.0, 0.0};
}

// Box around the eight projected corners of the cube of edge 0.5 on centre.
void add_cube(Box& box, Point centre, const Camera& camera, int w, int h) {
  for (double dx : {-0.25, 0.25})
    for (double dy : {-0.25, 0.25})
      for (double dz : {-0.25, 0.25}) {
        const Point corner = project({centre.x + dx, centre.y + dy, centre.z + dz}, camera, w, h);
        box.add(static_cast<int>(std::floor(corner.x)), static_cast<int>(std::floor(corner.y)));
      }
}

// Box around every pixel that is not black; counts pixels that are neither
// black nor white.
Box drawn_box(const CapturingView& view, int& coloured) {
  Box box;
  coloured = 0;
  for (int row = 0; row < view.h(); ++row)
    for (int column = 0; column < view.w(); ++column) {
      const unsigned char* rgb = &view.pixels[3 * (static_cast<size_t>(row) * view.w() + column)];
      const int sum = rgb[0] + rgb[1] + rgb[2];
      if (sum == 0) continue;
      box.add(column, row);
      if (sum != 3 * 255) ++coloured;
    }
  return box;
}

void expect_same_box(const Box& drawn, const Box& expected) {
  ASSERT_FALSE(drawn.empty()) << "nothing was drawn";
  EXPECT_NEAR(drawn.left, expected.left, tolerance);
  EXPECT_NEAR(drawn.right, expected.right, tolerance);
  EXPECT_NEAR(drawn.bottom, expected.bottom, tolerance);
  EXPECT_NEAR(drawn.top, expected.top, tolerance);
}

class MarkerViewRender : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "needs an X display";
    ASSERT_TRUE(open_toolkit_display()) << "cannot connect to the X display";
    window = new Fl_Window(width, height, "marker view test");
    view = new CapturingView(width, height);
    window->end();
    window->resizable(view);
    window->show();
  }

  void TearDown() override {
    window->hide();
    delete window;
    Fl::check();
  }

  // Has the toolkit draw the view once more, waiting up to five seconds.
  void draw_view() {
    const int before = view->frames;
    view->redraw();
    for (int i = 0; i < 100 && view->frames == before; ++i) Fl::wait(0.05);
    ASSERT_GT(view->frames, before) << "the view was never drawn";
  }

  void use_camera(const Camera& camera) {
    view->set_rotation_x(camera.rotation_x);
    view->set_rotation_y(camera.rotation_y);
    view->set_pan_x(camera.pan_x);
    view->set_pan_y(camera.pan_y);
    view->set_zoom(camera.zoom);
  }

  void expect_black() {
    draw_view();
    int coloured = 0;
    const Box drawn = drawn_box(*view, coloured);
    EXPECT_TRUE(drawn.empty()) << "drawn from column " << drawn.left << " row " << drawn.bottom;
  }

  Fl_Window* window = nullptr;
  CapturingView* view = nullptr;
};

TEST_F(MarkerViewRender, CubesLandWhereTheCameraPutsThem) {
  struct Case {
    const char* what;
    Camera camera;
    std::vector<Point> joints;  // capture x, y, z in sample 1
  };
  // Columns: what is shown, camera, joints of the sample drawn.
  const Case cases[] = {
      {"initial camera", initial_camera, {{100, 200, 300}}},
      {"rotation about Y", {0, 90, 0, 0, 10}, {{0, 100, 0}, {0, 0, 150}}},
      {"rotation about X acts first", {90, 90, 0, 0, 10}, {{0, 0, 100}}},
      {"pan", {0, 0, 1.5f, -1, 10}, {{100, 200, 300}}},
      {"pan after rotation", {0, 90, 2, 0, 10}, {{0, 100, 0}}},
      {"all at once", {30, -45, 1, -0.5f, 12}, {{100, 200, 300}}},
      {"eye behind the origin", {0, 0, 0, 0, -10}, {{100, 200, 300}}},
      {"two joints", initial_camera, {{0, -300, -200}, {100, 200, 300}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const int joint_count = static_cast<int>(c.joints.size());
    TestCapture capture(2, joint_count);
    for (int j = 0; j < joint_count; ++j) {
      const Point& p = c.joints[static_cast<size_t>(j)];
      // Sample 0 lies far off to the left; only sample 1 may be drawn.
      capture.place(j, 0, p.x, p.y - 250, p.z);
      capture.place(j, 1, p.x, p.y, p.z);
    }
    view->set_data(capture.data());
    view->select_frame(1);
    use_camera(c.camera);
    draw_view();

    Box expected;
    for (const Point& p : c.joints)
      add_cube(expected, {p.y / 100, p.z / 100, p.x / 100}, c.camera, view->w(), view->h());
    int coloured = 0;
    expect_same_box(drawn_box(*view, coloured), expected);
    EXPECT_EQ(coloured, 0) << "lines are white on black";
  }
}

TEST_F(MarkerViewRender, JointsWithoutAFinitePositionAreLeftOut) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const char overflow[] = "1e400";  // read from a capture file it is +infinity
  const double huge = parse_decimal(overflow, overflow + sizeof overflow - 1);
  struct Case {
    const char* what;
    Point bad;     // capture x, y, z of the second joint
    int warnings;  // "The whole data is missing!" lines of gap filling
  };
  // Columns: what the second joint's position is, that position, warnings.
  // The first joint sits at (100, 200, 300) in every case.
  const Case cases[] = {
      {"never seen, filled by gap filling", {0, 0, 0}, 3},
      {"1e400 in x", {huge, 200, 300}, 0},
      {"-1e400 in y", {100, -huge, 300}, 0},
      {"infinite everywhere", {huge, huge, -huge}, 0},
      {"NaN in z only", {100, 200, nan}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TestCapture capture(2, 2);
    for (int r = 0; r < 2; ++r) {
      capture.place(0, r, 100, 200, 300);
      capture.place(1, r, c.bad.x, c.bad.y, c.bad.z);
    }
    testing::internal::CaptureStdout();
    capture.data()->fill_gaps();
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              texts::whole_series_missing_times(c.warnings));
    view->set_data(capture.data());
    view->select_frame(1);
    use_camera(initial_camera);
    draw_view();

    // Only the first joint's cube: nothing at the origin or anywhere else.
    Box expected;
    add_cube(expected, {2, 3, 1}, initial_camera, view->w(), view->h());
    int coloured = 0;
    expect_same_box(drawn_box(*view, coloured), expected);
    EXPECT_EQ(view->gl_error, static_cast<GLenum>(GL_NO_ERROR));
  }
}

TEST_F(MarkerViewRender, GeneratedCaptureOfThreeHundredMarkersIsDrawnWhole) {
  TempDir dir("marker-view-render-");
  CaptureShape shape;
  shape.samples = 20;
  shape.markers = 300;
  const std::string path = dir.path() + "/three-hundred.csv";
  ASSERT_TRUE(write_capture_file(path.c_str(), shape));
  const std::string text = read_file(path);
  const size_t header_end = text.find('\n');
  ASSERT_GT(text.find('\n', header_end + 1) - header_end, 998u) << "data lines too short";
  MotionData data;
  load_motion_data(path.c_str(), data);
  ASSERT_EQ(data.joint_count, 300);
  data.fill_gaps();
  view->set_data(&data);
  view->select_frame(10);
  draw_view();

  Box expected;
  for (int j = 0; j < data.joint_count; ++j) {
    const JointTrack& joint = data.joints[j];
    add_cube(expected, {joint.y[10] / 100, joint.z[10] / 100, joint.x[10] / 100}, initial_camera,
             view->w(), view->h());
  }
  int coloured = 0;
  expect_same_box(drawn_box(*view, coloured), expected);
}

TEST_F(MarkerViewRender, ResizedViewUsesTheNewAspectRatio) {
  TestCapture capture(1, 1);
  capture.place(0, 0, 100, 200, 300);
  view->set_data(capture.data());
  window->size(250, 350);
  draw_view();
  ASSERT_EQ(view->w(), 250);
  ASSERT_EQ(view->h(), 350);

  Box expected;
  add_cube(expected, {2, 3, 1}, initial_camera, 250, 350);
  int coloured = 0;
  expect_same_box(drawn_box(*view, coloured), expected);
}

TEST_F(MarkerViewRender, ViewIsBlackWithoutASampleOrWithTheEyeOnTheOrigin) {
  expect_black();  // no data set attached

  TestCapture no_joints(5, 0);
  view->set_data(no_joints.data());
  expect_black();

  TestCapture no_samples(0, 2);
  view->set_data(no_samples.data());
  view->select_frame(0);
  expect_black();

  TestCapture one_joint(1, 1);
  one_joint.place(0, 0, 100, 200, 300);
  view->set_data(one_joint.data());
  view->set_zoom(0.0f);
  expect_black();
}

}  // namespace
