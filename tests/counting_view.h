// A marker view that notes the sample of every draw, and the time of a
// playback, for the playback tests and the playback benchmark.
#ifndef COUNTING_VIEW_H
#define COUNTING_VIEW_H

#include <chrono>
#include <cstdint>
#include <vector>

#include "marker_view.h"

class CountingView : public MarkerView {
 public:
  CountingView(int w, int h) : MarkerView(0, 0, w, h, "label") {}

  // The current sample of each draw, in the order of the draws.
  std::vector<int32_t> frames_drawn;

 protected:
  void draw() override {
    MarkerView::draw();
    frames_drawn.push_back(get_current_frame());
  }
};

// Seconds that view.play() takes.
inline double timed_play(MarkerView& view) {
  const auto start = std::chrono::steady_clock::now();
  view.play();
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  return took.count();
}

#endif  // COUNTING_VIEW_H
