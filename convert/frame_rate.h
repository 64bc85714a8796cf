// The frame rates the converter takes: one rule for every reader.
#ifndef FRAME_RATE_H
#define FRAME_RATE_H

#include <string>

// True when hz is from 0.001 Hz to 1,000,000 Hz. Slower rates give frame
// numbers up to 10^15 times past any clock, faster ones are no marker
// system's; NaN and infinities are refused too.
bool is_usable_rate(double hz);

// what + " is not a rate from 0.001 Hz to 1000000 Hz": the cause a reader
// names when it refuses the rate it read as what.
std::string rate_refusal(const std::string& what);

#endif  // FRAME_RATE_H
