// "Run" on an X display: real-time pacing, controls during a playback, and a
// second click on "Run" while one is running.
#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <gtest/gtest.h>
// After gtest, whose names the X headers' None and Bool macros would break.
#include <FL/x.H>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "counting_view.h"
#include "marker_view.h"
#include "program_run.h"
#include "test_capture.h"
#include "toolkit_display.h"
#include "viewer_ui.h"
#include "window_pixels.h"

namespace {

// The bounds a playback of 3 s must keep: 3 s +- 20 %.
constexpr double play_seconds = 3.0;
constexpr double play_tolerance = 0.2 * play_seconds;
// Longer than any correct playback here; then the test hides the window,
// which ends a playback that ignores the pace it should keep.
constexpr double give_up_seconds = 10.0;

// Runs `action` once, `seconds` after construction, from the toolkit's event
// handling; never runs it after the object is gone.
class Later {
 public:
  Later(double seconds, std::function<void()> to_do) : action(std::move(to_do)) {
    Fl::add_timeout(seconds, fire, this);
  }
  ~Later() { Fl::remove_timeout(fire, this); }
  Later(const Later&) = delete;
  Later& operator=(const Later&) = delete;

  bool fired = false;

 private:
  static void fire(void* self) {
    Later* later = static_cast<Later*>(self);
    later->fired = true;
    later->action();
  }
  std::function<void()> action;
};

// A capture of one joint standing still at capture point (100, 200, 300),
// which the initial camera shows, with sample r at first + r / rate_hz s.
void stand_still(TestCapture& capture, int samples, double first, double rate_hz) {
  for (int r = 0; r < samples; ++r) {
    capture.place(0, r, 100, 200, 300);
    capture.set_time(r, first + r / rate_hz);
  }
}

// Lets the toolkit draw everything pending, up to five seconds.
void settle(Fl_Window& view) {
  for (int i = 0; i < 100 && (!view.visible() || view.damage() != 0); ++i) Fl::wait(0.05);
}

// Shows ui on a capture of one joint standing still at 100 Hz, drawn once.
void show_standing_still(ViewerUI& ui, TestCapture& capture, int samples) {
  stand_still(capture, samples, 0.0, 100.0);
  ui.set_data(capture.data());
  ui.show();
  settle(*ui.view);
}

class PlaybackOnScreen : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "needs an X display";
    ASSERT_TRUE(open_toolkit_display()) << "cannot connect to the X display";
  }
};

TEST_F(PlaybackOnScreen, PlaysAtTheCapturesPaceAndDrawsMostSamples) {
  struct Case {
    const char* what;
    int samples;
    std::function<double(int)> time;  // time of sample r, in seconds
  };
  // Columns: what the capture's clock is, sample count, time of sample r.
  // Every one plays in about 3 s: by its own clock (a jump or a blank last
  // line's time 0 bridged by the typical step), or at 100 samples a second
  // when its times are no clock.
  const Case cases[] = {
      {"100 Hz from 12.5 s", 300, [](int r) { return 12.5 + r / 100.0; }},
      {"50 Hz", 150, [](int r) { return r / 50.0; }},
      {"100 Hz with a pause of a minute midway", 300,
       [](int r) { return r / 100.0 + (r >= 150 ? 60.0 : 0.0); }},
      {"no times (all 0.0)", 300, [](int) { return 0.0; }},
      {"30 Hz with a blank last line", 91, [](int r) { return r < 90 ? r / 30.0 : 0.0; }},
  };
  Fl_Window window(400, 300, "playback test");
  CountingView* view = new CountingView(400, 300);
  window.end();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TestCapture capture(c.samples, 1);
    for (int r = 0; r < c.samples; ++r) {
      capture.place(0, r, 100, 200 + r, 300);
      capture.set_time(r, c.time(r));
    }
    view->set_data(capture.data());
    window.show();
    settle(*view);
    view->frames_drawn.clear();

    Later give_up(give_up_seconds, [&window] { window.hide(); });
    const double took = timed_play(*view);
    EXPECT_FALSE(give_up.fired) << "the playback did not end by itself";
    EXPECT_NEAR(took, play_seconds, play_tolerance);

    const int last = c.samples - 1;
    EXPECT_EQ(view->get_current_frame(), last);
    const std::vector<int32_t>& drawn = view->frames_drawn;
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(drawn.back(), last) << "the last sample must be shown";
    EXPECT_TRUE(std::is_sorted(drawn.begin(), drawn.end())) << "frames were drawn out of order";
    std::vector<int32_t> distinct = drawn;
    distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
    EXPECT_GT(static_cast<int>(distinct.size()), c.samples / 2) << "distinct samples drawn";
  }
}

TEST_F(PlaybackOnScreen, CameraControlsChangeThePictureDuringAPlayback) {
  struct Row {
    const char* name;
    Fl_Valuator* (*control)(ViewerUI&);
    double value;
  };
  // Columns: control, value it is moved to. Every value keeps the marker in
  // sight at a new place or size.
  const Row rows[] = {
      {"zoom", [](ViewerUI& ui) -> Fl_Valuator* { return ui.zoom_slider; }, 20},
      {"pan horizontal", [](ViewerUI& ui) -> Fl_Valuator* { return ui.pan_horizontal_slider; }, -5},
      {"pan vertical", [](ViewerUI& ui) -> Fl_Valuator* { return ui.pan_vertical_slider; }, -5},
      {"rotate vertical", [](ViewerUI& ui) -> Fl_Valuator* { return ui.rotate_vertical_roller; },
       45},
      {"rotate horizontal",
       [](ViewerUI& ui) -> Fl_Valuator* { return ui.rotate_horizontal_roller; }, 90},
  };
  constexpr int capture_samples = 200;  // 2 s at 100 Hz
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TestCapture capture(capture_samples, 1);
    ViewerUI ui;
    show_standing_still(ui, capture, capture_samples);

    std::vector<unsigned long> before;
    std::vector<unsigned long> after;
    int32_t frame_before = -1;
    int32_t frame_after = -1;
    Later move(0.5, [&] {
      before = window_pixels(fl_display, fl_xid(ui.view));
      frame_before = ui.view->get_current_frame();
      Fl_Valuator* control = row.control(ui);
      control->value(row.value);
      control->do_callback();
    });
    Later look(1.0, [&] {
      after = window_pixels(fl_display, fl_xid(ui.view));
      frame_after = ui.view->get_current_frame();
    });
    Later give_up(give_up_seconds, [&ui] { ui.main_window->hide(); });
    ui.run_button->do_callback();
    ui.main_window->hide();
    Fl::check();

    ASSERT_TRUE(move.fired && look.fired) << "no events during the playback";
    EXPECT_LT(frame_after, capture_samples - 1) << "looked after the playback";
    EXPECT_LT(frame_before, frame_after);
    ASSERT_FALSE(before.empty());
    EXPECT_GT(lit_pixels(before), 0) << "the marker was not shown";
    EXPECT_TRUE(before != after) << "the picture kept the old camera";
  }
}

TEST_F(PlaybackOnScreen, ClickOnRunDuringAPlaybackLetsItGoOn) {
  constexpr int capture_samples = 300;  // 3 s at 100 Hz
  TestCapture capture(capture_samples, 1);
  ViewerUI ui;
  show_standing_still(ui, capture, capture_samples);

  int32_t frame_at_click = -1;
  int32_t frame_later = -1;
  int light_later = -1;
  // A real click, through the X server, in the middle of "Run".
  Later click(1.0, [&] {
    frame_at_click = ui.view->get_current_frame();
    const Fl_Light_Button* run = ui.run_button;
    run_command("xdotool mousemove --window " + std::to_string(fl_xid(ui.main_window)) + " " +
                std::to_string(run->x() + run->w() / 2) + " " +
                std::to_string(run->y() + run->h() / 2) + " click 1");
  });
  Later look(1.5, [&] {
    frame_later = ui.view->get_current_frame();
    light_later = ui.run_button->value();
  });
  Later give_up(give_up_seconds, [&ui] { ui.main_window->hide(); });
  const double took = timed_play(*ui.view);
  ui.main_window->hide();
  Fl::check();

  ASSERT_TRUE(click.fired && look.fired) << "no events during the playback";
  EXPECT_EQ(light_later, 1) << "the click did not reach the button";
  EXPECT_GT(frame_later, frame_at_click) << "the playback started over";
  EXPECT_NEAR(took, play_seconds, play_tolerance);
  EXPECT_EQ(ui.view->get_current_frame(), capture_samples - 1);
}

}  // namespace
