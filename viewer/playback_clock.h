// When each step of a playback is due, taken from the capture's own clock.
#ifndef PLAYBACK_CLOCK_H
#define PLAYBACK_CLOCK_H

#include <cstdint>

class PlaybackClock {
 public:
  // Looks once at the sample_count times; sample_times may be null (a record
  // without times). The times are a steady clock when the first is finite
  // and every later one rises above the one before by more than 0 and at most
  // 1 second; equal, falling, jumping, NaN or infinite times are not. Keeps
  // the pointer, which must outlive the clock; allocates nothing.
  PlaybackClock(const double* sample_times, int32_t sample_count);

  // Seconds after the start of the playback at which step `step` is due:
  // sample_times[step] - sample_times[0] on a steady clock, else step / 100
  // (100 steps a second). Steps outside 0 .. sample_count - 1 also get
  // step / 100, without reading the times.
  double due(int32_t step) const;

 private:
  const double* times;  // null when the times are no steady clock; not owned
  int32_t count;
};

#endif  // PLAYBACK_CLOCK_H
