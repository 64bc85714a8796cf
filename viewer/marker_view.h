// The 3-D view that draws every marker of one sample as a white wire cube.
#ifndef MARKER_VIEW_H
#define MARKER_VIEW_H

#include <FL/Fl_Gl_Window.H>

#include <cstdint>

struct MotionData;

class MarkerView : public Fl_Gl_Window {
 public:
  // Builds the view with the initial camera (zoom 10, no pan, no rotation) at
  // frame 0 and no data set. The label passed in is replaced by a note that
  // the toolkit shows where no OpenGL context can be made.
  MarkerView(int x, int y, int w, int h, const char* label);
  // Leaves the data set alone: it belongs to the start-up.
  ~MarkerView() override = default;

  // Attaches the data set drawn from; only stores the pointer, because the
  // start-up attaches it before the capture file is read.
  void set_data(MotionData* motion_data) { data = motion_data; }
  // Selects the sample drawn: requests past the last sample give the last,
  // negative ones give the first. Without a data set nothing changes.
  void select_frame(int frame);
  // Steps the current frame through every sample and leaves it on the last
  // one; without samples or a data set it changes nothing. On the screen each
  // step is drawn when it is due by the capture's clock (PlaybackClock) while
  // the toolkit goes on handling events; a step reached after its moment is
  // not drawn, the first and the last always are. Off the screen no one can
  // watch, so it goes straight to the last sample. A call during a playback
  // returns at once and the playback goes on; the view leaving the screen
  // ends the playback. Called by the "Run" button.
  void play();

  // Rotation about the scene's X axis, in degrees; set by the vertical roller.
  void set_rotation_x(float degrees) { rotation_x = degrees; }
  // Rotation about the scene's Y axis, in degrees; set by the horizontal roller.
  void set_rotation_y(float degrees) { rotation_y = degrees; }
  // Horizontal shift of the scene, in scene units; set by the horizontal pan.
  void set_pan_x(float units) { pan_x = units; }
  // Vertical shift of the scene, in scene units; set by the vertical pan.
  void set_pan_y(float units) { pan_y = units; }
  // Distance of the eye from the origin along +Z; set by the zoom slider.
  void set_zoom(float units) { zoom = units; }

  // Current camera values and sample index, as last set.
  float get_rotation_x() const { return rotation_x; }
  float get_rotation_y() const { return rotation_y; }
  float get_pan_x() const { return pan_x; }
  float get_pan_y() const { return pan_y; }
  float get_zoom() const { return zoom; }
  int32_t get_current_frame() const { return current_frame; }

 protected:
  // Sets up projection and camera and draws one cube of edge 0.5 per joint at
  // (y, z, x) / 100 of the current sample; a joint with a coordinate that is
  // not a finite number (NaN: never seen; infinite) is left out. Without a
  // sample to read, or with the eye on the origin (zoom 0), the view is only
  // cleared.
  void draw() override;

 private:
  // True when the current frame indexes a sample of the attached data set.
  bool has_current_sample() const;
  // The paced playback of play() while the view is on the screen.
  void play_on_screen();

  MotionData* data = nullptr;  // not owned
  float rotation_x;
  float rotation_y;
  float pan_y;
  float pan_x;
  float zoom;
  int32_t current_frame;
  bool playing = false;  // a playback runs; a nested "Run" must not start one
};

#endif  // MARKER_VIEW_H
