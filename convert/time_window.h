// The frames of a recording whose written time lies between two moments.
#ifndef TIME_WINDOW_H
#define TIME_WINDOW_H

#include <optional>

class TimeWindow {
 public:
  // From start to end seconds, inclusive; an unset end leaves that side
  // open. Throws ConversionError when a bound is not finite or end < start.
  TimeWindow(std::optional<double> start, std::optional<double> end);

  // True for a frame written at `seconds`; called once per frame read.
  bool holds(double seconds) const { return seconds >= start && seconds <= end; }

 private:
  double start;
  double end;
};

#endif  // TIME_WINDOW_H
