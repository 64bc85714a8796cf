#include "qualisys_reader.h"

#include <utility>

#include "conversion_error.h"
#include "frame_rate.h"

namespace {

constexpr char tab = '\t';
constexpr size_t default_first_marker_column = 2;  // after Frame and Time

// Length of the upper-case key word (A-Z, then A-Z, 0-9, _) that starts
// cell, or 0 when cell starts with anything else.
size_t key_length(std::string_view cell) {
  if (cell.empty() || cell[0] < 'A' || cell[0] > 'Z') return 0;
  size_t length = 1;
  while (length < cell.size()) {
    const char c = cell[length];
    if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_')) break;
    ++length;
  }
  return length;
}

// The column of the first marker's X in the Frame<TAB>Time<TAB>... row: the
// first heading after Frame that ends in " X", else the one after Time.
size_t marker_column_of(const std::vector<std::string_view>& headings) {
  for (size_t c = 1; c < headings.size(); ++c) {
    const std::string_view heading = trim_blanks(headings[c]);
    if (heading == "X" || (heading.size() > 2 && heading.substr(heading.size() - 2) == " X")) {
      return c;
    }
  }
  return default_first_marker_column;
}

// A line that holds nothing but blanks; in files without a Frame column a
// row of tabs is a frame of markers not seen.
bool is_blank(std::string_view line, bool numbered) {
  return numbered ? trim_blanks(line).empty() : line.find_first_not_of(" \r") == line.npos;
}

}  // namespace

bool is_qualisys_key_line(std::string_view line) {
  const std::string_view key = line.substr(0, key_length(line));
  for (const std::string_view known :
       {"NO_OF_FRAMES", "NO_OF_CAMERAS", "NO_OF_MARKERS", "FREQUENCY", "NO_OF_ANALOG",
        "ANALOG_FREQUENCY", "DESCRIPTION", "TIME_STAMP", "DATA_INCLUDED", "MARKER_NAMES",
        "TRAJECTORY_TYPES"}) {
    if (key == known) return true;
  }
  return false;
}

QualisysReader::QualisysReader(InputFile file) : lines(std::move(file)) {
  description.units = "mm";
  description.up = UpAxis::z;
  description.frames_claimed = -1;  // until a NO_OF_FRAMES line says
  read_header();
  check_header();
}

void QualisysReader::read_header() {
  std::vector<std::string_view> values;
  for (;;) {
    const TextLines::Mark before = lines.mark();
    std::string_view line;
    if (!lines.next(line)) return;
    if (trim_blanks(line).empty()) continue;
    split_cells(line, tab, cells);
    const std::string_view first = trim_blanks(cells[0]);
    if (first == "Frame") {
      numbered = true;
      first_marker_column = marker_column_of(cells);
      return;
    }
    double number = 0.0;
    if (read_number_cell(cells[0], number) != CellValue::bad) {
      lines.seek(before);
      return;
    }
    const size_t length = key_length(first);
    if (length == 0) {
      throw ConversionError(
          at_line(lines.line_number(), "neither a KEY<TAB>value header line nor a row of numbers"));
    }
    // A key written without a tab before its value ("DESCRIPTION--") keeps
    // the rest of its cell as the first value.
    values.clear();
    const std::string_view rest = trim_blanks(first.substr(length));
    if (!rest.empty()) values.push_back(rest);
    values.insert(values.end(), cells.begin() + 1, cells.end());
    take_key(first.substr(0, length), values);
  }
}

void QualisysReader::take_key(std::string_view key, const std::vector<std::string_view>& values) {
  const std::string_view value = values.empty() ? std::string_view() : trim_blanks(values[0]);
  const size_t line = lines.line_number();
  if (key == "FREQUENCY") {
    if (read_number_cell(value, description.rate_hz) != CellValue::number ||
        !is_usable_rate(description.rate_hz)) {
      throw ConversionError(at_line(line, rate_refusal("FREQUENCY")));
    }
    has_frequency = true;
  } else if (key == "NO_OF_FRAMES") {
    if (!read_whole_number(value, description.frames_claimed)) {
      throw ConversionError(at_line(line, "NO_OF_FRAMES is not a whole number"));
    }
  } else if (key == "NO_OF_MARKERS") {
    if (!read_whole_number(value, declared_markers)) {
      throw ConversionError(at_line(line, "NO_OF_MARKERS is not a whole number"));
    }
    declared_markers_line = line;
  } else if (key == "DATA_INCLUDED") {
    if (value.empty()) throw ConversionError(at_line(line, "DATA_INCLUDED names no kind of data"));
    if (value != "3D") {
      throw ConversionError(at_line(line, "the file holds " + std::string(value.substr(0, 16)) +
                                              " data, not 3D marker positions"));
    }
  } else if (key == "MARKER_NAMES") {
    size_t count = values.size();
    while (count > 0 && trim_blanks(values[count - 1]).empty()) --count;  // a tab at the end
    description.labels.clear();
    for (size_t m = 0; m < count; ++m) description.labels.emplace_back(trim_blanks(values[m]));
    names_line = line;
  }
}

void QualisysReader::check_header() {
  if (!has_frequency) throw ConversionError("the file has no FREQUENCY line");
  if (names_line == 0) throw ConversionError("the file names no markers (no MARKER_NAMES line)");
  marker_count = description.labels.size();
  if (marker_count == 0) throw ConversionError(at_line(names_line, "MARKER_NAMES names no marker"));
  if (declared_markers >= 0 && static_cast<size_t>(declared_markers) != marker_count) {
    throw ConversionError(
        at_line(declared_markers_line, "NO_OF_MARKERS is " + std::to_string(declared_markers) +
                                           " but MARKER_NAMES names " +
                                           std::to_string(marker_count) + " markers"));
  }

  const TextLines::Mark data_start = lines.mark();
  std::string_view row;
  int64_t present = 0;
  while (next_row(row)) {
    if (present == 0 && numbered) {
      split_cells(row, tab, cells);
      if (!read_whole_number(cells[0], description.first_frame)) {
        throw ConversionError(
            at_line(lines.line_number(), "the frame number is not a whole number"));
      }
    }
    ++present;
  }
  lines.seek(data_start);
  if (present == 0) throw ConversionError("the file holds no data rows");
  if (!numbered) description.first_frame = 1;
  description.frames_present = present;
  if (description.frames_claimed < 0) description.frames_claimed = present;
}

bool QualisysReader::next_row(std::string_view& row) {
  while (lines.next(row)) {
    if (!is_blank(row, numbered)) return true;
  }
  return false;
}

bool QualisysReader::next_frame(Frame& frame) {
  std::string_view row;
  if (!next_row(row)) return false;
  split_cells(row, tab, cells);
  if (!numbered) {
    frame.number = next_number++;
  } else if (!read_whole_number(cells[0], frame.number)) {
    throw ConversionError(at_line(lines.line_number(), "the frame number is not a whole number"));
  }
  frame.points.resize(marker_count);
  for (size_t m = 0; m < marker_count; ++m) {
    const size_t column = first_marker_column + 3 * m;
    MarkerPoint& point = frame.points[m];
    double* const coordinates[3] = {&point.x, &point.y, &point.z};
    bool complete = true;
    for (size_t i = 0; i < 3; ++i) {
      if (column + i >= cells.size()) {
        complete = false;
        break;
      }
      const CellValue value = read_number_cell(cells[column + i], *coordinates[i]);
      if (value == CellValue::bad) {
        throw ConversionError(at_line(
            lines.line_number(), "column " + std::to_string(column + i + 1) + " holds no number"));
      }
      complete = complete && value == CellValue::number;
    }
    point.seen = complete && !(point.x == 0.0 && point.y == 0.0 && point.z == 0.0);
  }
  return true;
}
