// One capture line per digits mode: the recording's floats and doubles
// kept exactly, computed values cut to 9 significant digits but never to 0.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "frame_text.h"

namespace {

std::string line_of(double x, CoordinateDigits digits) {
  Frame frame;
  frame.number = 7;
  frame.points = {{x, -x, std::nan(""), true}, {}};
  std::string text(longest_frame_text(frame.points.size()), '\0');
  text.resize(
      static_cast<size_t>(write_frame_text(text.data(), frame, 0.25, digits) - text.data()));
  return text;
}

// Columns: x of the first point, how it is written, the line.
TEST(FrameText, EachModeWritesItsDigits) {
  struct Case {
    double x;
    CoordinateDigits digits;
    const char* line;
  };
  const Case cases[] = {
      {733.70410156250, CoordinateDigits::shortest_float, "7,0.25,733.7041,-733.7041,,,,\n"},
      {733.70410156250, CoordinateDigits::shortest_double,
       "7,0.25,733.7041015625,-733.7041015625,,,,\n"},
      {733.70410156250, CoordinateDigits::nine_significant, "7,0.25,733.704102,-733.704102,,,,\n"},
      {0.1 + 0.2, CoordinateDigits::nine_significant, "7,0.25,0.3,-0.3,,,,\n"},
      {123456789012.0, CoordinateDigits::nine_significant,
       "7,0.25,1.23456789e+11,-1.23456789e+11,,,,\n"},
      {4.2e-13, CoordinateDigits::nine_significant, "7,0.25,4.2e-13,-4.2e-13,,,,\n"},
      {5e-324, CoordinateDigits::nine_significant, "7,0.25,4.94065646e-324,-4.94065646e-324,,,,\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(line_of(c.x, c.digits), c.line);
}

}  // namespace
