#include "frame_rate.h"

namespace {

constexpr double slowest_rate_hz = 0.001;
constexpr double fastest_rate_hz = 1e6;

}  // namespace

bool is_usable_rate(double hz) { return hz >= slowest_rate_hz && hz <= fastest_rate_hz; }

std::string rate_refusal(const std::string& what) {
  return what + " is not a rate from 0.001 Hz to 1000000 Hz";
}
