#include "motive_reader.h"

#include <optional>
#include <utility>

#include "comma_row.h"
#include "conversion_error.h"
#include "frame_rate.h"

namespace {

// Columns before the first data column: Frame and Time.
constexpr size_t data_column = 2;

// One header row above the Frame row, its cells lined up with the columns.
class HeaderRow {
 public:
  explicit HeaderRow(std::string_view line) {
    split_cells(line, ',', cells);
    // A row that carries its label (",Type,...") or nothing (",,...") in the
    // Frame and Time columns is aligned; one whose first cell holds a header
    // cell starts at the first data column.
    if (!trim_blanks(cells.front()).empty()) shift = data_column;
  }

  // The cell above column, trimmed; empty past the row's end.
  std::string_view at(size_t column) const {
    if (column < shift || column - shift >= cells.size()) return {};
    return trim_blanks(cells[column - shift]);
  }

 private:
  std::vector<std::string_view> cells;
  size_t shift = 0;
};

bool is_marker_type(std::string_view type) {
  return type == "Marker" || type == "Rigid Body Marker" || type == "Bone Marker";
}

// The cell after the first cell named key on the settings line, if any.
std::optional<std::string_view> setting(const std::vector<std::string_view>& cells,
                                        std::string_view key) {
  for (size_t i = 0; i + 1 < cells.size(); ++i) {
    if (trim_blanks(cells[i]) == key) return cells[i + 1];
  }
  return std::nullopt;
}

}  // namespace

MotiveReader::MotiveReader(InputFile file) : lines(std::move(file)) {
  description.up = UpAxis::y;
  std::string_view line;
  if (!lines.next(line)) throw ConversionError(at_line(1, "the file is empty"));
  read_settings(line);
  read_columns();
  count_frames();
}

void MotiveReader::read_settings(std::string_view line) {
  split_cells(line, ',', cells);
  const char* rate_name = "Export Frame Rate";
  std::optional<std::string_view> rate = setting(cells, rate_name);
  if (!rate) {
    rate_name = "Capture Frame Rate";
    rate = setting(cells, rate_name);
  }
  if (!rate) throw ConversionError(at_line(1, "no Export Frame Rate or Capture Frame Rate"));
  double hz = 0.0;
  if (read_number_cell(*rate, hz) != CellValue::number || !is_usable_rate(hz)) {
    throw ConversionError(at_line(1, rate_refusal(std::string("the ") + rate_name)));
  }
  description.rate_hz = hz;
  description.units = std::string(trim_blanks(setting(cells, "Length Units").value_or("")));
  const std::optional<std::string_view> claimed = setting(cells, "Total Exported Frames");
  description.frames_claimed = -1;  // the frames present, once counted
  if (claimed && !read_whole_number(*claimed, description.frames_claimed)) {
    throw ConversionError(at_line(1, "Total Exported Frames is not a whole number"));
  }
}

void MotiveReader::read_columns() {
  // The rows between the settings line and the Frame row: Type first, Name
  // second, the group (Position, Rotation, ...) last.
  std::string_view first_row, second_row, last_row, line;
  size_t header_rows = 0;
  for (;;) {
    if (!lines.next(line)) {
      throw ConversionError(at_line(lines.line_number(),
                                    "the file ends before the row of column headings "
                                    "(Frame, Time, X, Y, Z, ...)"));
    }
    if (is_blank_row(line, ',')) continue;
    split_cells(line, ',', cells);
    if (trim_blanks(cells.front()) == "Frame") break;
    (header_rows == 0 ? first_row : header_rows == 1 ? second_row : last_row) = line;
    ++header_rows;
  }
  const size_t column_row = lines.line_number();
  if (header_rows < 3) {
    throw ConversionError(at_line(column_row,
                                  "the column headings are not below the Type, "
                                  "Name and group rows"));
  }
  const HeaderRow types(first_row), names(second_row), groups(last_row);
  auto is_marker_position = [&](size_t column) {
    return column < cells.size() && is_marker_type(types.at(column)) &&
           groups.at(column) == "Position";
  };
  auto heading = [&](size_t column) { return trim_blanks(cells[column]); };
  for (size_t column = 1; column < cells.size();) {
    if (!is_marker_position(column)) {
      ++column;
      continue;
    }
    if (!(is_marker_position(column + 2) && is_marker_position(column + 1) &&
          heading(column) == "X" && heading(column + 1) == "Y" && heading(column + 2) == "Z")) {
      throw ConversionError(at_line(column_row, "the marker Position columns from column " +
                                                    std::to_string(column + 1) +
                                                    " are not headed X, Y, Z"));
    }
    x_columns.push_back(column);
    description.labels.push_back(cell_text(names.at(column)));
    column += 3;
  }
  if (x_columns.empty()) {
    throw ConversionError(at_line(column_row,
                                  "no marker Position columns (Type Marker, Rigid "
                                  "Body Marker or Bone Marker)"));
  }
}

void MotiveReader::count_frames() {
  const TextLines::Mark first_row = lines.mark();
  Frame first;
  if (!next_frame(first)) {
    throw ConversionError(at_line(lines.line_number(), "no frame rows below the column headings"));
  }
  description.first_frame = first.number;
  int64_t present = 1;
  for (std::string_view line; lines.next(line);) {
    if (!is_blank_row(line, ',')) ++present;
  }
  description.frames_present = present;
  if (description.frames_claimed < 0) description.frames_claimed = present;
  lines.seek(first_row);
}

bool MotiveReader::next_frame(Frame& frame) {
  std::string_view line;
  do {
    if (!lines.next(line)) return false;
  } while (is_blank_row(line, ','));
  const size_t line_number = lines.line_number();
  CommaRow row(line, cells);
  if (!read_whole_number(row.cell(0).value_or(""), frame.number)) {
    throw ConversionError(at_line(line_number, "the frame number is not a whole number"));
  }
  frame.points.resize(x_columns.size());
  for (size_t m = 0; m < x_columns.size(); ++m) {
    MarkerPoint& point = frame.points[m];
    double* const coordinates[3] = {&point.x, &point.y, &point.z};
    point.seen = true;
    for (size_t i = 0; i < 3; ++i) {
      const size_t column = x_columns[m] + i;
      const CellValue value = row.number(column, millimetre_power, *coordinates[i]);
      if (value == CellValue::bad) {
        throw ConversionError(
            at_line(line_number, "column " + std::to_string(column + 1) + " holds no number"));
      }
      if (value == CellValue::empty) point.seen = false;
    }
  }
  return true;
}

bool MotiveReader::read_times_power_of_ten(int power) {
  millimetre_power = power;
  return true;
}
