// When each step of a playback is due, taken from the capture's own clock.
#ifndef PLAYBACK_CLOCK_H
#define PLAYBACK_CLOCK_H

#include <cstdint>
#include <vector>

class PlaybackClock {
 public:
  // Looks once at the sample_count times; sample_times may be null (a record
  // without times). A rise is the step from one sample's time to the next.
  // The typical step is the median of the rises that are finite and above 0
  // (of an even number of them, the lower middle one). A rise fits when it
  // is above 0 and at most 4 typical steps. The times pace the playback when
  // the typical step is at most 1 second and at least half of the rises fit:
  // each sample then follows the one before by its rise when that fits, and
  // by one typical step when it does not (a blank line's time 0, a repeated,
  // falling, jumping, NaN or infinite time). Otherwise the pace is 100 steps
  // a second. Keeps one double per sample and needs as many again while it
  // is built.
  PlaybackClock(const double* sample_times, int32_t sample_count);

  // Seconds after the start of the playback at which step `step` is due:
  // sample_times[step] - sample_times[0] when every rise fits, step / 100 at
  // the fallback pace. Steps outside 0 .. sample_count - 1 also get
  // step / 100, without reading the times.
  double due(int32_t step) const;

 private:
  std::vector<double> dues;  // one per sample; empty at the fallback pace
};

#endif  // PLAYBACK_CLOCK_H
