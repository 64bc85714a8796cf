#include "marker_view.h"

#include <FL/Fl.H>
#include <FL/glu.h>
#include <FL/glut.H>

#include <algorithm>
#include <chrono>
#include <cmath>

#include "motion_data.h"
#include "playback_clock.h"

namespace {

constexpr double field_of_view = 60.0;  // degrees
constexpr double near_plane = 0.5;
constexpr double far_plane = 1000.0;
constexpr double cube_edge = 0.5;  // scene units
constexpr double capture_units_per_scene = 100.0;

float to_scene(double capture_value) {
  return static_cast<float>(capture_value / capture_units_per_scene);
}

using WallClock = std::chrono::steady_clock;

double seconds_since(WallClock::time_point start) {
  return std::chrono::duration<double>(WallClock::now() - start).count();
}

// Lets the toolkit handle events (and draw what they damage) until `due`
// seconds after start. Returns false as soon as the window is no longer on
// the screen, closed or hidden meanwhile.
bool wait_on_screen(Fl_Window& window, WallClock::time_point start, double due) {
  for (double left = due - seconds_since(start); left > 0.0; left = due - seconds_since(start)) {
    Fl::wait(left);
    if (!window.shown()) return false;
  }
  return true;
}

}  // namespace

MarkerView::MarkerView(int x, int y, int w, int h, const char* label)
    : Fl_Gl_Window(x, y, w, h, label),
      rotation_x(0.0f),
      rotation_y(0.0f),
      pan_y(0.0f),
      pan_x(0.0f),
      zoom(10.0f),
      current_frame(0) {
  this->label("OpenGL is required for this program to operate.");
  align(FL_ALIGN_INSIDE | FL_ALIGN_WRAP);
}

void MarkerView::select_frame(int frame) {
  if (data == nullptr) return;
  const int last = data->sample_count - 1;
  current_frame = std::min(frame, last);
  if (last >= 0 && current_frame < 0) current_frame = 0;
}

void MarkerView::play() {
  if (data == nullptr || data->sample_count <= 0 || playing) return;
  playing = true;
  if (shown())
    play_on_screen();
  else
    current_frame = data->sample_count - 1;
  playing = false;
}

void MarkerView::play_on_screen() {
  const PlaybackClock clock(data->sample_times, data->sample_count);
  const int32_t last = data->sample_count - 1;
  const WallClock::time_point start = WallClock::now();
  for (int32_t i = 0; i <= last; ++i) {
    const double due = clock.due(i);
    // A step whose moment has passed is not drawn, or the playback would
    // fall behind real time for good. The first step is due at the very
    // start, and the last is always shown: the playback ends on it.
    const bool skip = i > 0 && i < last && seconds_since(start) > due;
    if (!skip && !wait_on_screen(*this, start, due)) return;
    current_frame = i;
    if (skip) continue;
    redraw();
    Fl::flush();
  }
}

bool MarkerView::has_current_sample() const {
  return data != nullptr && current_frame >= 0 && current_frame < data->sample_count;
}

void MarkerView::draw() {
  glViewport(0, 0, w(), h());
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  const int height = h() > 0 ? h() : 1;
  gluPerspective(field_of_view, static_cast<float>(w()) / static_cast<float>(height), near_plane,
                 far_plane);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glMatrixMode(GL_MODELVIEW);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  // An eye on the point it looks at has no viewing direction.
  if (!has_current_sample() || zoom == 0.0f) return;

  gluLookAt(0.0, 0.0, zoom, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
  glTranslatef(pan_x, pan_y, 0.0f);
  glRotatef(rotation_y, 0.0f, 1.0f, 0.0f);
  glRotatef(rotation_x, 1.0f, 0.0f, 0.0f);
  for (int j = 0; j < data->joint_count; ++j) {
    const JointTrack& joint = data->joints[j];
    // A marker never seen (NaN) or out of range (infinite) has no place.
    if (!std::isfinite(joint.x[current_frame]) || !std::isfinite(joint.y[current_frame]) ||
        !std::isfinite(joint.z[current_frame]))
      continue;
    glPushMatrix();
    glTranslatef(to_scene(joint.y[current_frame]), to_scene(joint.z[current_frame]),
                 to_scene(joint.x[current_frame]));
    glutWireCube(cube_edge);
    glPopMatrix();
  }
}
