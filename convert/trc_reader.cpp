#include "trc_reader.h"

#include <charconv>
#include <cmath>

#include "conversion_error.h"
#include "input_file.h"

namespace {

constexpr size_t header_rows = 5;
constexpr size_t first_marker_column = 2;

std::string trimmed(const std::string& cell) {
  const size_t first = cell.find_first_not_of(" \t\r");
  if (first == std::string::npos) return "";
  return cell.substr(first, cell.find_last_not_of(" \t\r") - first + 1);
}

// The whole trimmed cell as a number; false when it holds anything else.
bool parse_number(const std::string& cell, double& value) {
  const std::string number = trimmed(cell);
  const char* end = number.data() + number.size();
  const std::from_chars_result result = std::from_chars(number.data(), end, value);
  return result.ec == std::errc() && result.ptr == end && std::isfinite(value);
}

bool all_empty(const std::vector<std::string>& cells) {
  for (const std::string& cell : cells) {
    if (!trimmed(cell).empty()) return false;
  }
  return true;
}

}  // namespace

TrcReader::TrcReader(const std::string& path) {
  const InputFile file(path);
  if (file.size() > 0) text.assign(reinterpret_cast<const char*>(file.data()), file.size());
  open();
}

std::vector<std::string> TrcReader::cells(size_t index) const {
  std::vector<std::string> row;
  size_t start = line_starts[index];
  const size_t end = line_starts[index + 1];
  for (size_t at = start; at <= end; ++at) {
    if (at == end || text[at] == delimiter || text[at] == '\n') {
      row.push_back(text.substr(start, at - start));
      start = at + 1;
      if (at < end && text[at] == '\n') break;
    }
  }
  return row;
}

void TrcReader::open() {
  line_starts.push_back(0);
  for (size_t at = 0; at < text.size(); ++at) {
    if (text[at] == '\n' && at + 1 < text.size()) line_starts.push_back(at + 1);
  }
  line_starts.push_back(text.size());
  const size_t line_count = line_starts.size() - 1;

  const size_t first_line_end = text.find('\n');
  delimiter = text.substr(0, first_line_end).find('\t') != std::string::npos ? '\t' : ',';
  if (line_count < header_rows || trimmed(cells(0)[0]) != "PathFileType") {
    throw ConversionError("the file is not a TRC file (no PathFileType row and four header rows)");
  }

  const std::vector<std::string> names = cells(1);
  const std::vector<std::string> values = cells(2);
  double rate = 0.0;
  double claimed = -1.0;
  double markers = 0.0;
  for (size_t i = 0; i < names.size() && i < values.size(); ++i) {
    const std::string name = trimmed(names[i]);
    if (name == "DataRate" && !parse_number(values[i], rate)) rate = 0.0;
    if (name == "NumFrames" && !parse_number(values[i], claimed)) claimed = -1.0;
    if (name == "NumMarkers" && !parse_number(values[i], markers)) markers = 0.0;
    if (name == "Units") description.units = trimmed(values[i]);
  }
  if (!(rate > 0.0)) throw ConversionError("the TRC file's DataRate is not a positive number");
  description.rate_hz = rate;

  const std::vector<std::string> marker_row = cells(3);
  if (markers >= 1.0 && std::trunc(markers) == markers) {
    // Every marker has its name's column in the names row: a count past
    // them is a damaged header, not a table of empty columns.
    if (3.0 * markers > static_cast<double>(marker_row.size())) {
      throw ConversionError("the TRC file's NumMarkers is more than its names row has room for");
    }
    marker_count = static_cast<size_t>(markers);
  } else {
    for (size_t c = first_marker_column; c < marker_row.size(); c += 3) {
      if (!trimmed(marker_row[c]).empty()) marker_count = (c - first_marker_column) / 3 + 1;
    }
  }
  if (marker_count == 0) throw ConversionError("the TRC file names no markers");
  for (size_t m = 0; m < marker_count; ++m) {
    const size_t column = first_marker_column + 3 * m;
    description.labels.push_back(column < marker_row.size() ? trimmed(marker_row[column]) : "");
  }

  next_row = header_rows;
  int64_t present = 0;
  for (size_t line = header_rows; line < line_count; ++line) {
    if (all_empty(cells(line))) continue;
    if (present == 0) next_row = line;
    ++present;
  }
  description.frames_present = present;
  description.frames_claimed =
      claimed >= 0.0 && claimed < 1e15 ? static_cast<int64_t>(claimed) : present;
  if (present == 0) throw ConversionError("the TRC file holds no data rows");
  Frame first;
  const size_t row = next_row;
  next_frame(first);
  next_row = row;
  description.first_frame = first.number;
}

bool TrcReader::next_frame(Frame& frame) {
  const size_t line_count = line_starts.size() - 1;
  std::vector<std::string> row;
  while (next_row < line_count && all_empty(row = cells(next_row))) ++next_row;
  if (next_row >= line_count) return false;
  const size_t line_number = next_row + 1;
  ++next_row;

  double number = 0.0;
  if (!parse_number(row[0], number) || std::trunc(number) != number || std::fabs(number) > 1e15) {
    throw ConversionError("line " + std::to_string(line_number) +
                          " of the TRC file has no whole frame number");
  }
  frame.number = static_cast<int64_t>(number);
  frame.points.assign(marker_count, MarkerPoint());
  for (size_t m = 0; m < marker_count; ++m) {
    const size_t column = first_marker_column + 3 * m;
    MarkerPoint& point = frame.points[m];
    double* coordinates[3] = {&point.x, &point.y, &point.z};
    point.seen = column + 2 < row.size();
    for (size_t i = 0; i < 3 && point.seen; ++i) {
      const std::string& cell = row[column + i];
      if (trimmed(cell).empty()) {
        point.seen = false;
      } else if (!parse_number(cell, *coordinates[i])) {
        throw ConversionError("line " + std::to_string(line_number) + ", column " +
                              std::to_string(column + i + 1) + " of the TRC file holds no number");
      }
    }
  }
  return true;
}
