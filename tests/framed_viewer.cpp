// The viewer with its camera sliders set from the command line: reads the
// capture file name at the prompt like marker-viewer, then moves "Zoom
// Input", "Pan Camera Vertical" and "Pan Camera Horizontal" to the values
// given, through their callbacks as a user's drag would, and shows the
// window. scripts/screenshot.sh runs it to picture a converted recording
// framed with the values capture-convert printed.
//
// Usage: framed_viewer ZOOM PAN_VERTICAL PAN_HORIZONTAL
#include <FL/Fl.H>

#include <cstdio>
#include <cstdlib>

#include "motion_data.h"
#include "viewer_ui.h"

namespace {

void set_slider(Fl_Valuator* slider, const char* value) {
  slider->value(std::atof(value));
  slider->do_callback();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::printf("Usage: framed_viewer ZOOM PAN_VERTICAL PAN_HORIZONTAL\n");
    return 2;
  }
  MotionData* data = new MotionData();
  ViewerUI* ui = new ViewerUI();
  ui->set_data(data);
  std::fputs("Please enter a motion capture file: ", stdout);
  std::fflush(stdout);
  char file_name[1000];
  load_motion_data(std::scanf("%999s", file_name) == 1 ? file_name : "", *data);
  data->fill_gaps();
  set_slider(ui->zoom_slider, argv[1]);
  set_slider(ui->pan_vertical_slider, argv[2]);
  set_slider(ui->pan_horizontal_slider, argv[3]);
  ui->show();
  return Fl::run();
}
