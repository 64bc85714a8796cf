// Main window: widget tree, control set-up and the handlers' effect on the view.
#include "viewer_ui.h"

#include <FL/Fl.H>
#include <gtest/gtest.h>

#include <string>

#include "test_capture.h"
#include "toolkit_display.h"

namespace {

std::string text(const char* label) { return label ? label : "(none)"; }

TEST(ViewerUI, WidgetTreeHasItsGeometryOrderAndLabels) {
  ViewerUI ui;
  Fl_Window* window = ui.main_window;
  ASSERT_EQ(window->children(), 3);
  Fl_Group* outer = window->child(0)->as_group();
  ASSERT_NE(outer, nullptr);

  struct Row {
    Fl_Widget* widget;
    Fl_Group* parent;
    int index;
    int x, y, w, h;
    const char* label;
  };
  // Columns: widget, its parent, its place among the parent's children,
  // x, y, width, height relative to the window, label.
  const Row rows[] = {
      {outer, window, 0, 25, 25, 1020, 795, nullptr},
      {ui.zoom_slider, outer, 0, 350, 45, 515, 35, "Zoom Input"},
      {ui.vertical_group, outer, 1, 50, 100, 250, 530, nullptr},
      {ui.pan_vertical_slider, ui.vertical_group, 0, 260, 155, 35, 425, "Pan Camera Vertical"},
      {ui.rotate_vertical_roller, ui.vertical_group, 1, 115, 155, 35, 425,
       "Rotate Camera Vertical"},
      {ui.horizontal_group, outer, 2, 465, 595, 315, 165, nullptr},
      {ui.rotate_horizontal_roller, ui.horizontal_group, 0, 465, 675, 305, 40,
       "Rotate Camera Horizontal"},
      {ui.pan_horizontal_slider, ui.horizontal_group, 1, 465, 620, 305, 40,
       "Pan Camera Horizontal"},
      {ui.view_group, outer, 3, 280, 100, 605, 510, nullptr},
      {ui.view, ui.view_group, 0, 350, 110, 535, 500,
       "OpenGL is required for this program to operate."},
      {ui.frame_slider, window, 1, 0, 45, 345, 35, "Frame Number"},
      {ui.run_button, window, 2, 5, 90, 45, 40, "Run"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(text(row.label) + " at index " + std::to_string(row.index));
    EXPECT_EQ(row.widget->parent(), row.parent);
    EXPECT_EQ(row.parent->find(row.widget), row.index);
    EXPECT_EQ(row.widget->x(), row.x);
    EXPECT_EQ(row.widget->y(), row.y);
    EXPECT_EQ(row.widget->w(), row.w);
    EXPECT_EQ(row.widget->h(), row.h);
    EXPECT_EQ(text(row.widget->label()), text(row.label));
  }
  EXPECT_EQ(outer->children(), 4);
  EXPECT_EQ(ui.vertical_group->children(), 2);
  EXPECT_EQ(ui.horizontal_group->children(), 2);
  EXPECT_EQ(ui.view_group->children(), 1);
}

TEST(ViewerUI, WindowHasTitleSizeUserDataAndResizables) {
  ViewerUI ui;
  Fl_Window* window = ui.main_window;
  EXPECT_EQ(text(window->label()), "Displays the Markers");
  EXPECT_EQ(window->w(), 920);
  EXPECT_EQ(window->h(), 752);
  EXPECT_EQ(window->user_data(), &ui);
  EXPECT_FALSE(window->shown());
  EXPECT_EQ(window->resizable(), window);
  EXPECT_EQ(ui.view_group->resizable(), ui.view);
  Fl_Group* outer = window->child(0)->as_group();
  for (Fl_Group* group : {outer, ui.vertical_group, ui.horizontal_group})
    EXPECT_EQ(group->resizable(), group);
  EXPECT_EQ(ui.view->box(), FL_DOWN_BOX);
}

TEST(ViewerUI, ValuatorsHaveTheirRangesTypesAndCallbacks) {
  ViewerUI ui;
  struct Row {
    const char* name;
    Fl_Valuator* control;
    double minimum, maximum, step;
    int type;
    Fl_Callback* callback;
  };
  // Columns: control, minimum, maximum, step, orientation type (1 is
  // horizontal), static callback.
  const Row rows[] = {
      {"zoom", ui.zoom_slider, -1000, 1000, 5, 1, ViewerUI::on_zoom},
      {"pan vertical", ui.pan_vertical_slider, -500, 500, 5, 0, ViewerUI::on_pan_vertical},
      {"rotate vertical", ui.rotate_vertical_roller, -180, 180, 1, 0, ViewerUI::on_rotate_vertical},
      {"rotate horizontal", ui.rotate_horizontal_roller, -180, 180, 1, 1,
       ViewerUI::on_rotate_horizontal},
      {"pan horizontal", ui.pan_horizontal_slider, -500, 500, 5, 1, ViewerUI::on_pan_horizontal},
      {"frame", ui.frame_slider, 0, 1000, 1, 1, ViewerUI::on_frame},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(row.control->minimum(), row.minimum);
    EXPECT_EQ(row.control->maximum(), row.maximum);
    EXPECT_EQ(row.control->step(), row.step);
    EXPECT_EQ(row.control->type(), row.type);
    EXPECT_EQ(row.control->callback(), row.callback);
    EXPECT_EQ(row.control->user_data(), nullptr);
    EXPECT_EQ(row.control->when(), FL_WHEN_CHANGED);
    EXPECT_EQ(row.control->value(), 0.0);
  }
}

TEST(ViewerUI, RunButtonIsAToggleWithItsCallback) {
  ViewerUI ui;
  EXPECT_EQ(ui.run_button->type(), FL_TOGGLE_BUTTON);
  EXPECT_EQ(ui.run_button->callback(), ViewerUI::on_run);
  EXPECT_EQ(ui.run_button->user_data(), nullptr);
  EXPECT_EQ(ui.run_button->when(), FL_WHEN_RELEASE);
  EXPECT_EQ(ui.run_button->value(), 0);
}

// Every camera value of the view, to see which one a handler changed.
struct CameraValues {
  float zoom, pan_x, pan_y, rotation_x, rotation_y;
};

CameraValues camera_of(const MarkerView& view) {
  return {view.get_zoom(), view.get_pan_x(), view.get_pan_y(), view.get_rotation_x(),
          view.get_rotation_y()};
}

TEST(ViewerUI, EachCameraControlDrivesItsOwnViewValue) {
  struct Row {
    const char* name;
    Fl_Valuator* (*control)(ViewerUI&);
    double value;
    float CameraValues::*field;
  };
  // Columns: control, value given to it, camera value that must take it.
  const Row rows[] = {
      {"zoom", [](ViewerUI& ui) -> Fl_Valuator* { return ui.zoom_slider; }, -37.5,
       &CameraValues::zoom},
      {"pan horizontal", [](ViewerUI& ui) -> Fl_Valuator* { return ui.pan_horizontal_slider; },
       37.5, &CameraValues::pan_x},
      {"pan vertical", [](ViewerUI& ui) -> Fl_Valuator* { return ui.pan_vertical_slider; }, -455.0,
       &CameraValues::pan_y},
      {"rotate vertical", [](ViewerUI& ui) -> Fl_Valuator* { return ui.rotate_vertical_roller; },
       12.25, &CameraValues::rotation_x},
      {"rotate horizontal",
       [](ViewerUI& ui) -> Fl_Valuator* { return ui.rotate_horizontal_roller; }, -179.0,
       &CameraValues::rotation_y},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ViewerUI ui;
    CameraValues expected = camera_of(*ui.view);
    expected.*row.field = static_cast<float>(row.value);
    Fl_Valuator* control = row.control(ui);
    control->value(row.value);
    control->do_callback();
    const CameraValues got = camera_of(*ui.view);
    EXPECT_EQ(got.zoom, expected.zoom);
    EXPECT_EQ(got.pan_x, expected.pan_x);
    EXPECT_EQ(got.pan_y, expected.pan_y);
    EXPECT_EQ(got.rotation_x, expected.rotation_x);
    EXPECT_EQ(got.rotation_y, expected.rotation_y);
    EXPECT_EQ(ui.view->get_current_frame(), 0);
  }
}

TEST(ViewerUI, FrameSliderSelectsTheTruncatedFrame) {
  // Columns: slider value, current frame with 300 samples.
  const struct {
    double value;
    int frame;
  } rows[] = {{0, 0}, {150, 150}, {150.9, 150}, {298.99, 298}, {299, 299}, {300, 299}, {1000, 299}};
  for (const auto& row : rows) {
    TestCapture capture(300, 1);
    ViewerUI ui;
    ui.set_data(capture.data());
    ui.frame_slider->value(row.value);
    ui.frame_slider->do_callback();
    EXPECT_EQ(ui.view->get_current_frame(), row.frame) << row.value;
  }
}

TEST(ViewerUI, RunPlaysToTheLastSampleAndLeavesTheFrameSlider) {
  TestCapture capture(300, 1);
  ViewerUI ui;
  ui.set_data(capture.data());
  ui.frame_slider->value(40);
  ui.frame_slider->do_callback();
  ui.run_button->do_callback();
  EXPECT_EQ(ui.view->get_current_frame(), 299);
  EXPECT_EQ(ui.frame_slider->value(), 40.0);
}

TEST(ViewerUI, EveryHandlerAsksForARedrawOfTheView) {
  ASSERT_TRUE(open_toolkit_display()) << "cannot connect to the X display";
  TestCapture capture(300, 1);
  ViewerUI ui;
  ui.set_data(capture.data());
  ui.show();
  Fl_Widget* controls[] = {ui.zoom_slider,
                           ui.pan_vertical_slider,
                           ui.rotate_vertical_roller,
                           ui.rotate_horizontal_roller,
                           ui.pan_horizontal_slider,
                           ui.frame_slider,
                           ui.run_button};
  for (Fl_Widget* control : controls) {
    SCOPED_TRACE(control->label());
    // Lets the toolkit draw whatever is pending, up to five seconds.
    for (int i = 0; i < 100 && (!ui.view->visible() || ui.view->damage()); ++i) Fl::wait(0.05);
    ASSERT_EQ(ui.view->damage(), 0);
    control->do_callback();
    EXPECT_NE(ui.view->damage(), 0);
  }
  ui.main_window->hide();
  Fl::check();
}

}  // namespace
