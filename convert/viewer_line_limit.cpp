#include "viewer_line_limit.h"

#include <algorithm>

#include "conversion_error.h"

namespace {

constexpr size_t widest_frame_number = 20;  // "-9223372036854775808"
constexpr size_t widest_value = 24;         // "-2.2250738585072014e-308"

}  // namespace

size_t longest_capture_line(const std::vector<std::string>& names) {
  size_t header = std::string("KSample,KTime").size();
  for (const std::string& name : names) header += 3 * (name.size() + std::string(",_X").size());
  const size_t data =
      widest_frame_number + 1 + widest_value + names.size() * 3 * (1 + widest_value);
  return std::max(header, data);
}

void require_lines_within_viewer_limit(const std::vector<std::string>& names,
                                       const std::string& input) {
  const size_t longest = longest_capture_line(names);
  if (longest <= viewer_line_limit) return;
  throw ConversionError(input + ": a capture of " + std::to_string(names.size()) +
                        " markers could hold lines of " + std::to_string(longest) +
                        " characters, past the viewer's limit of " +
                        std::to_string(viewer_line_limit) + " characters a line");
}
