// Marker view: initial state, frame selection and playing.
#include "marker_view.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "counting_view.h"
#include "test_capture.h"

namespace {

TEST(MarkerView, NewViewHasInitialCameraAndReplacesLabel) {
  // Whatever label the caller gives is replaced by the OpenGL note.
  for (const char* given : {"label", "", "Displays the Markers"}) {
    MarkerView view(10, 20, 300, 200, given);
    EXPECT_EQ(view.get_zoom(), 10.0f);
    EXPECT_EQ(view.get_rotation_x(), 0.0f);
    EXPECT_EQ(view.get_rotation_y(), 0.0f);
    EXPECT_EQ(view.get_pan_x(), 0.0f);
    EXPECT_EQ(view.get_pan_y(), 0.0f);
    EXPECT_EQ(view.get_current_frame(), 0);
    EXPECT_EQ(std::string(view.label()), "OpenGL is required for this program to operate.");
    EXPECT_EQ(static_cast<int>(view.align()), 144);
    EXPECT_EQ(view.x(), 10);
    EXPECT_EQ(view.y(), 20);
    EXPECT_EQ(view.w(), 300);
    EXPECT_EQ(view.h(), 200);
  }
}

TEST(MarkerView, SelectFrameKeepsRequestsWithinTheSamples) {
  struct Case {
    int samples;
    int request;
    int expected;
  };
  // Columns: sample count, requested frame, resulting current frame.
  const Case cases[] = {
      {300, 0, 0},  {300, 150, 150}, {300, 299, 299}, {300, 300, 299}, {300, 5000, 299},
      {300, -1, 0}, {300, -5000, 0}, {1, 7, 0},       {1, -7, 0},
  };
  for (const Case& c : cases) {
    TestCapture capture(c.samples, 1);
    MarkerView view(0, 0, 100, 100, "label");
    view.set_data(capture.data());
    view.select_frame(c.request);
    EXPECT_EQ(view.get_current_frame(), c.expected)
        << c.samples << " samples, request " << c.request;
  }
}

TEST(MarkerView, PlayOffTheScreenEndsOnTheLastSampleAtOnce) {
  // Columns: sample count, frame before playing, frame after playing. Played
  // on the screen at 100 samples a second, the longest would take 300 s.
  const int cases[][3] = {{300, 0, 299}, {300, 120, 299}, {1, 0, 0}, {30000, 5, 29999}};
  for (const auto& c : cases) {
    TestCapture capture(c[0], 2);
    for (int r = 0; r < c[0]; ++r) capture.set_time(r, r / 100.0);
    MarkerView view(0, 0, 100, 100, "label");
    view.set_data(capture.data());
    view.select_frame(c[1]);
    const double took = timed_play(view);
    EXPECT_EQ(view.get_current_frame(), c[2]) << c[0] << " samples";
    EXPECT_LT(took, 1.0) << c[0] << " samples";
  }
}

// A view that showed sample `frame` of a capture of 300 samples and was
// then given `second`.
class MarkerViewWithNewData : public testing::Test {
 protected:
  void show_then_replace(int32_t frame, TestCapture& second) {
    view.set_data(first.data());
    view.select_frame(frame);
    view.set_data(second.data());
  }

  TestCapture first{300, 1};
  MarkerView view{0, 0, 100, 100, "label"};
};

TEST_F(MarkerViewWithNewData, PlayWithoutSamplesKeepsTheFrame) {
  TestCapture empty_capture(0, 1);
  show_then_replace(42, empty_capture);
  view.play();
  EXPECT_EQ(view.get_current_frame(), 42);
}

TEST_F(MarkerViewWithNewData, SetDataKeepsTheFrame) {
  TestCapture second(10, 3);
  show_then_replace(200, second);
  EXPECT_EQ(view.get_current_frame(), 200);
}

TEST(MarkerView, WithoutDataFrameOperationsChangeNothing) {
  MarkerView view(0, 0, 100, 100, "label");
  view.select_frame(25);
  EXPECT_EQ(view.get_current_frame(), 0);
  view.play();
  EXPECT_EQ(view.get_current_frame(), 0);
}

}  // namespace
