// The main window: camera, frame and run controls around the marker view.
#ifndef VIEWER_UI_H
#define VIEWER_UI_H

#include <FL/Fl_Group.H>
#include <FL/Fl_Light_Button.H>
#include <FL/Fl_Roller.H>
#include <FL/Fl_Slider.H>
#include <FL/Fl_Value_Slider.H>
#include <FL/Fl_Window.H>

#include "marker_view.h"

struct MotionData;

class ViewerUI {
 public:
  // Builds the whole widget tree without showing it and stores itself as the
  // window's user data, where the control callbacks find it.
  ViewerUI();

  // Puts the window, the view included, on the screen.
  void show();
  // Hands the data set to the view; called by the start-up before loading.
  void set_data(MotionData* data);

  // Control callbacks: each climbs from the control to the window, takes this
  // object from the window's user data and calls the matching handler.
  static void on_zoom(Fl_Widget* w, void* v);
  static void on_pan_vertical(Fl_Widget* w, void* v);
  static void on_rotate_vertical(Fl_Widget* w, void* v);
  static void on_rotate_horizontal(Fl_Widget* w, void* v);
  static void on_pan_horizontal(Fl_Widget* w, void* v);
  static void on_frame(Fl_Widget* w, void* v);
  static void on_run(Fl_Widget* w, void* v);

  // Handlers: each passes its control's value to one view operation and asks
  // for a redraw of the view. The user data argument is not used.
  void zoom_changed(Fl_Value_Slider* slider, void* v);
  void pan_vertical_changed(Fl_Slider* slider, void* v);
  void rotate_vertical_changed(Fl_Roller* roller, void* v);
  void rotate_horizontal_changed(Fl_Roller* roller, void* v);
  void pan_horizontal_changed(Fl_Slider* slider, void* v);
  void frame_changed(Fl_Value_Slider* slider, void* v);
  void run_clicked(Fl_Light_Button* button, void* v);

  // The widgets, owned by the window's widget tree.
  Fl_Window* main_window;
  Fl_Value_Slider* zoom_slider;
  Fl_Group* vertical_group;
  Fl_Slider* pan_vertical_slider;
  Fl_Roller* rotate_vertical_roller;
  Fl_Group* horizontal_group;
  Fl_Roller* rotate_horizontal_roller;
  Fl_Slider* pan_horizontal_slider;
  Fl_Group* view_group;
  MarkerView* view;
  Fl_Value_Slider* frame_slider;
  Fl_Light_Button* run_button;
};

#endif  // VIEWER_UI_H
