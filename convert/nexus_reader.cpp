#include "nexus_reader.h"

#include <utility>

#include "conversion_error.h"
#include "frame_rate.h"
#include "one_line.h"

namespace {

constexpr size_t longest_quoted_cell = 40;

// The cell, trimmed and cut short, in quotes for a message, as one_line
// shows it.
std::string quoted(std::string_view cell) {
  return "\"" + one_line(trim_blanks(cell).substr(0, longest_quoted_cell)) + "\"";
}

std::string column_name(size_t column) { return "column " + std::to_string(column + 1); }

}  // namespace

std::string_view nexus_section_name(std::string_view line) {
  const size_t end = line.find_last_not_of(", \t\r");
  if (end == line.npos) return {};
  const std::string_view name = trim_blanks(line.substr(0, end + 1));
  for (const std::string_view section :
       {"Trajectories", "Devices", "Joints", "Model Outputs", "Segments"}) {
    if (name == section) return name;
  }
  return {};
}

NexusReader::NexusReader(InputFile file) : lines(std::move(file)) {
  std::string_view line;
  do {
    if (!lines.next(line)) {
      throw ConversionError(
          "the Vicon Nexus file has no Trajectories section, the one that holds marker positions");
    }
  } while (nexus_section_name(line) != "Trajectories");
  read_head();
  count_frames();
}

void NexusReader::read_head() {
  std::string_view line;
  auto next_row = [&](const char* row, bool may_be_blank = false) {
    const bool read = lines.next(line);
    if (!read || (is_blank_row(line, ',') && !may_be_blank)) {
      throw ConversionError(
          at_line(lines.line_number() + (read ? 0 : 1),
                  std::string("the Trajectories section ends before its ") + row));
    }
    split_cells(line, ',', cells);
  };

  next_row("rate row");
  if (read_number_cell(cells[0], description.rate_hz) != CellValue::number ||
      !is_usable_rate(description.rate_hz)) {
    throw ConversionError(
        at_line(lines.line_number(), rate_refusal("the Trajectories rate " + quoted(cells[0]))));
  }

  next_row("names row", true);  // blank when no marker has a name
  std::vector<std::string_view> names = cells;

  next_row("Frame, Sub Frame, X, Y, Z row");
  if (trim_blanks(cells[0]) != "Frame") {
    throw ConversionError(
        at_line(lines.line_number(),
                "the row under the marker names starts with " + quoted(cells[0]) + ", not Frame"));
  }
  has_sub_frames = cells.size() > 1 && trim_blanks(cells[1]) == "Sub Frame";
  // A marker is a column headed X, followed by Y and Z; its name is above X.
  // Other columns (velocities X', Y', Z' and the like) are left out.
  for (size_t column = 1; column < cells.size(); ++column) {
    if (trim_blanks(cells[column]) != "X") continue;
    if (column + 2 >= cells.size() || trim_blanks(cells[column + 1]) != "Y" ||
        trim_blanks(cells[column + 2]) != "Z") {
      throw ConversionError(at_line(lines.line_number(), column_name(column) +
                                                             " is headed X but not followed by Y "
                                                             "and Z"));
    }
    x_columns.push_back(column);
    description.labels.push_back(column < names.size() ? cell_text(names[column]) : "");
  }
  if (x_columns.empty()) {
    throw ConversionError(at_line(
        lines.line_number(), "no column is headed X: the Trajectories section names no markers"));
  }

  // The units row has an empty Frame cell; without it the data rows follow.
  const TextLines::Mark after_columns = lines.mark();
  bool units_row = lines.next(line) && !is_blank_row(line, ',');
  if (units_row) {
    split_cells(line, ',', cells);
    units_row = trim_blanks(cells[0]).empty();
  }
  if (units_row) {
    read_units();
  } else {
    lines.seek(after_columns);
  }
}

void NexusReader::read_units() {
  size_t units_column = 0;
  for (const size_t x : x_columns) {
    for (size_t column = x; column < x + 3 && column < cells.size(); ++column) {
      const std::string_view unit = trim_blanks(cells[column]);
      if (unit.empty()) continue;
      if (description.units.empty()) {
        description.units = unit;
        units_column = column;
      } else if (unit != description.units) {
        throw ConversionError(at_line(lines.line_number(), column_name(column) + " is in " +
                                                               quoted(unit) + " but " +
                                                               column_name(units_column) + " in " +
                                                               quoted(description.units)));
      }
    }
  }
}

void NexusReader::count_frames() {
  const TextLines::Mark first_row = lines.mark();
  std::string_view line;
  int64_t present = 0;
  while (lines.next(line) && !is_blank_row(line, ',')) ++present;
  lines.seek(first_row);
  if (present == 0) {
    throw ConversionError(
        at_line(first_row.number + 1, "the Trajectories section holds no data rows"));
  }
  description.frames_present = present;
  description.frames_claimed = present;
  Frame first;
  next_frame(first);
  description.first_frame = first.number;
  lines.seek(first_row);
}

bool NexusReader::next_frame(Frame& frame) {
  std::string_view line;
  if (section_ended || !lines.next(line) || is_blank_row(line, ',')) {
    section_ended = true;
    return false;
  }
  split_cells(line, ',', cells);
  const size_t line_number = lines.line_number();
  int64_t number = 0;
  if (!read_whole_number(cells[0], number)) {
    throw ConversionError(
        at_line(line_number, "the frame number " + quoted(cells[0]) + " is not a whole number"));
  }
  frame.number = number;
  // Sub frames divide a frame of analog samples; a marker row is a whole
  // frame, and one numbered past 0 would repeat its frame's number.
  double sub_frame = 0.0;
  if (has_sub_frames && cells.size() > 1 &&
      read_number_cell(cells[1], sub_frame) != CellValue::empty && sub_frame != 0.0) {
    throw ConversionError(at_line(line_number, "sub frame " + quoted(cells[1]) +
                                                   ": marker rows are whole frames, sub frame 0"));
  }

  frame.points.resize(x_columns.size());
  for (size_t m = 0; m < x_columns.size(); ++m) {
    MarkerPoint& point = frame.points[m];
    double* const coordinates[3] = {&point.x, &point.y, &point.z};
    int numbers = 0;
    for (size_t i = 0; i < 3; ++i) {
      const size_t column = x_columns[m] + i;
      if (column >= cells.size()) break;
      const CellValue value = read_number_cell(cells[column], *coordinates[i]);
      if (value == CellValue::bad) {
        throw ConversionError(at_line(line_number, column_name(column) + " holds " +
                                                       quoted(cells[column]) + ", not a number"));
      }
      if (value == CellValue::number) ++numbers;
    }
    point.seen = numbers == 3;
  }
  return true;
}
