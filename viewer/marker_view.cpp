#include "marker_view.h"

#include <FL/glu.h>
#include <FL/glut.H>

#include <algorithm>

#include "motion_data.h"

namespace {

constexpr double kFieldOfView = 60.0;  // degrees
constexpr double kNearPlane = 0.5;
constexpr double kFarPlane = 1000.0;
constexpr double kCubeEdge = 0.5;           // scene units
constexpr double kCaptureUnitsPerScene = 100.0;

float to_scene(double capture_value) {
  return static_cast<float>(capture_value / kCaptureUnitsPerScene);
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
  if (data == nullptr) return;
  for (int i = 0; i < data->sample_count; ++i) {
    current_frame = i;
    redraw();
  }
}

bool MarkerView::has_current_sample() const {
  return data != nullptr && current_frame >= 0 &&
         current_frame < data->sample_count;
}

void MarkerView::draw() {
  glViewport(0, 0, w(), h());
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  const int height = h() > 0 ? h() : 1;
  gluPerspective(kFieldOfView,
                 static_cast<float>(w()) / static_cast<float>(height),
                 kNearPlane, kFarPlane);
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
    glPushMatrix();
    glTranslatef(to_scene(joint.y[current_frame]),
                 to_scene(joint.z[current_frame]),
                 to_scene(joint.x[current_frame]));
    glutWireCube(kCubeEdge);
    glPopMatrix();
  }
}
