#include "time_window.h"

#include <cmath>
#include <string>

#include "conversion_error.h"
#include "shortest_text.h"

TimeWindow::TimeWindow(std::optional<double> from, std::optional<double> to)
    : start(from.value_or(-HUGE_VAL)), end(to.value_or(HUGE_VAL)) {
  if ((from && !std::isfinite(*from)) || (to && !std::isfinite(*to))) {
    throw ConversionError("--start and --end take a number of seconds");
  }
  if (end < start) {
    throw ConversionError("--end " + shortest_string(end) + " is before --start " +
                          shortest_string(start));
  }
}
