#include "viewer_ui.h"

namespace {

// Type 1 makes sliders (FL_HOR_SLIDER) and rollers (FL_HORIZONTAL) horizontal.
constexpr unsigned char horizontal_type = 1;

// The object that built the window holding w, found `levels` parents above it.
ViewerUI* ui_above(Fl_Widget* w, int levels) {
  Fl_Widget* window = w;
  for (int i = 0; i < levels; ++i) window = window->parent();
  return static_cast<ViewerUI*>(window->user_data());
}

}  // namespace

ViewerUI::ViewerUI() {
  {
    main_window = new Fl_Window(920, 752, "Displays the Markers");
    main_window->user_data(this);
    {
      new Fl_Group(25, 25, 1020, 795);
      {
        zoom_slider = new Fl_Value_Slider(350, 45, 515, 35, "Zoom Input");
        zoom_slider->type(horizontal_type);
        zoom_slider->minimum(-1000);
        zoom_slider->maximum(1000);
        zoom_slider->step(5);
        zoom_slider->callback(on_zoom);
      }
      {
        vertical_group = new Fl_Group(50, 100, 250, 530);
        {
          pan_vertical_slider = new Fl_Slider(260, 155, 35, 425, "Pan Camera Vertical");
          pan_vertical_slider->minimum(-500);
          pan_vertical_slider->maximum(500);
          pan_vertical_slider->step(5);
          pan_vertical_slider->callback(on_pan_vertical);
        }
        {
          rotate_vertical_roller = new Fl_Roller(115, 155, 35, 425, "Rotate Camera Vertical");
          rotate_vertical_roller->minimum(-180);
          rotate_vertical_roller->maximum(180);
          rotate_vertical_roller->step(1);
          rotate_vertical_roller->callback(on_rotate_vertical);
        }
        vertical_group->end();
      }
      {
        horizontal_group = new Fl_Group(465, 595, 315, 165);
        {
          rotate_horizontal_roller = new Fl_Roller(465, 675, 305, 40, "Rotate Camera Horizontal");
          rotate_horizontal_roller->type(horizontal_type);
          rotate_horizontal_roller->minimum(-180);
          rotate_horizontal_roller->maximum(180);
          rotate_horizontal_roller->step(1);
          rotate_horizontal_roller->callback(on_rotate_horizontal);
        }
        {
          pan_horizontal_slider = new Fl_Slider(465, 620, 305, 40, "Pan Camera Horizontal");
          pan_horizontal_slider->type(horizontal_type);
          pan_horizontal_slider->minimum(-500);
          pan_horizontal_slider->maximum(500);
          pan_horizontal_slider->step(5);
          pan_horizontal_slider->callback(on_pan_horizontal);
        }
        horizontal_group->end();
      }
      {
        view_group = new Fl_Group(280, 100, 605, 510);
        {
          view = new MarkerView(350, 110, 535, 500, "label");
          view->box(FL_DOWN_BOX);
          Fl_Group::current()->resizable(view);
        }
        view_group->end();
      }
      Fl_Group::current()->end();
    }
    {
      frame_slider = new Fl_Value_Slider(0, 45, 345, 35, "Frame Number");
      frame_slider->type(horizontal_type);
      frame_slider->maximum(1000);
      frame_slider->step(1);
      frame_slider->callback(on_frame);
    }
    {
      run_button = new Fl_Light_Button(5, 90, 45, 40, "Run");
      run_button->callback(on_run);
    }
    main_window->end();
    main_window->resizable(main_window);
  }
}

void ViewerUI::show() { main_window->show(); }

void ViewerUI::set_data(MotionData* data) { view->set_data(data); }

void ViewerUI::on_zoom(Fl_Widget* w, void* v) {
  ui_above(w, 2)->zoom_changed(static_cast<Fl_Value_Slider*>(w), v);
}

void ViewerUI::on_pan_vertical(Fl_Widget* w, void* v) {
  ui_above(w, 3)->pan_vertical_changed(static_cast<Fl_Slider*>(w), v);
}

void ViewerUI::on_rotate_vertical(Fl_Widget* w, void* v) {
  ui_above(w, 3)->rotate_vertical_changed(static_cast<Fl_Roller*>(w), v);
}

void ViewerUI::on_rotate_horizontal(Fl_Widget* w, void* v) {
  ui_above(w, 3)->rotate_horizontal_changed(static_cast<Fl_Roller*>(w), v);
}

void ViewerUI::on_pan_horizontal(Fl_Widget* w, void* v) {
  ui_above(w, 3)->pan_horizontal_changed(static_cast<Fl_Slider*>(w), v);
}

void ViewerUI::on_frame(Fl_Widget* w, void* v) {
  ui_above(w, 1)->frame_changed(static_cast<Fl_Value_Slider*>(w), v);
}

void ViewerUI::on_run(Fl_Widget* w, void* v) {
  ui_above(w, 1)->run_clicked(static_cast<Fl_Light_Button*>(w), v);
}

void ViewerUI::zoom_changed(Fl_Value_Slider* slider, void*) {
  view->set_zoom(static_cast<float>(slider->value()));
  view->redraw();
}

void ViewerUI::pan_vertical_changed(Fl_Slider* slider, void*) {
  view->set_pan_y(static_cast<float>(slider->value()));
  view->redraw();
}

void ViewerUI::rotate_vertical_changed(Fl_Roller* roller, void*) {
  view->set_rotation_x(static_cast<float>(roller->value()));
  view->redraw();
}

void ViewerUI::rotate_horizontal_changed(Fl_Roller* roller, void*) {
  view->set_rotation_y(static_cast<float>(roller->value()));
  view->redraw();
}

void ViewerUI::pan_horizontal_changed(Fl_Slider* slider, void*) {
  view->set_pan_x(static_cast<float>(slider->value()));
  view->redraw();
}

void ViewerUI::frame_changed(Fl_Value_Slider* slider, void*) {
  view->select_frame(static_cast<int>(slider->value()));
  view->redraw();
}

void ViewerUI::run_clicked(Fl_Light_Button*, void*) {
  view->play();
  view->redraw();
}
