// The longest line the viewer reads, checked before a capture is written.
#ifndef VIEWER_LINE_LIMIT_H
#define VIEWER_LINE_LIMIT_H

#include <cstddef>
#include <string>
#include <vector>

// Characters the viewer reads in one line of a capture, before its line end.
constexpr size_t viewer_line_limit = 1000000;

// The most characters a line of the capture with these marker names can
// take: its header, or a data line with the widest frame number, time and
// coordinates the writer forms (20 characters for a 64-bit frame number,
// 24 for a double's shortest text). Never throws.
size_t longest_capture_line(const std::vector<std::string>& names);

// Throws ConversionError, naming input, the marker count and the limit,
// when a line of the capture with these marker names could pass
// viewer_line_limit: data lines take up to 13,332 markers, and the header
// 5,000 markers with names of up to 63 characters.
void require_lines_within_viewer_limit(const std::vector<std::string>& names,
                                       const std::string& input);

#endif  // VIEWER_LINE_LIMIT_H
