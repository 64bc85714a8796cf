#include "trc_reader.h"

#include <cmath>
#include <utility>

#include "conversion_error.h"
#include "frame_rate.h"

namespace {

constexpr size_t first_marker_column = 2;

// The non-empty fields of a key or value row, trimmed: writers pad these
// rows with blanks and doubled tabs, so keys and values pair up only
// without the empty fields.
std::vector<std::string> header_fields(std::string_view line, char delimiter) {
  std::vector<std::string_view> cells;
  split_cells(line, delimiter, cells);
  std::vector<std::string> fields;
  for (const std::string_view cell : cells) {
    std::string field = cell_text(cell);
    if (!field.empty()) fields.push_back(std::move(field));
  }
  return fields;
}

[[noreturn]] void not_trc() {
  throw ConversionError("the file is not a TRC file (no PathFileType row and four header rows)");
}

}  // namespace

TrcReader::TrcReader(InputFile file) : lines(std::move(file)) {
  description.up = UpAxis::y;
  open();
}

bool TrcReader::next_row() {
  std::string_view line;
  while (lines.next(line)) {
    if (is_blank_row(line, delimiter)) continue;
    split_cells(line, delimiter, cells);
    return true;
  }
  return false;
}

void TrcReader::open() {
  std::string_view header[5];
  for (std::string_view& row : header) {
    if (!lines.next(row)) not_trc();
  }
  // OpenSim separates the first rows by tabs, and sometimes by blanks too.
  const bool tabs = header[0].find('\t') != std::string_view::npos ||
                    header[1].find('\t') != std::string_view::npos;
  delimiter = tabs ? '\t' : ',';
  if (header[0].substr(0, 12) != "PathFileType") not_trc();

  const std::vector<std::string> keys = header_fields(header[1], delimiter);
  const std::vector<std::string> values = header_fields(header[2], delimiter);
  double rate = 0.0;
  double claimed = -1.0;
  double markers = 0.0;
  auto number = [](const std::string& text, double& value, double otherwise) {
    if (read_number_cell(text, value) != CellValue::number) value = otherwise;
  };
  for (size_t i = 0; i < keys.size() && i < values.size(); ++i) {
    if (keys[i] == "DataRate") number(values[i], rate, 0.0);
    if (keys[i] == "NumFrames") number(values[i], claimed, -1.0);
    if (keys[i] == "NumMarkers") number(values[i], markers, 0.0);
    if (keys[i] == "Units") description.units = values[i];
  }
  if (!is_usable_rate(rate)) throw ConversionError(rate_refusal("the TRC file's DataRate"));
  description.rate_hz = rate;

  std::vector<std::string_view> names;
  split_cells(header[3], delimiter, names);
  if (markers >= 1.0 && std::trunc(markers) == markers) {
    // Every marker has its name's column in the names row: a count past
    // them is a damaged header, not a table of empty columns.
    if (3.0 * markers > static_cast<double>(names.size())) {
      throw ConversionError("the TRC file's NumMarkers is more than its names row has room for");
    }
    marker_count = static_cast<size_t>(markers);
  } else {
    for (size_t c = first_marker_column; c < names.size(); c += 3) {
      if (!trim_blanks(names[c]).empty()) marker_count = (c - first_marker_column) / 3 + 1;
    }
  }
  if (marker_count == 0) throw ConversionError("the TRC file names no markers");
  for (size_t m = 0; m < marker_count; ++m) {
    const size_t column = first_marker_column + 3 * m;
    description.labels.push_back(column < names.size() ? cell_text(names[column]) : "");
  }

  const TextLines::Mark data_start = lines.mark();
  Frame first;
  if (!next_frame(first)) throw ConversionError("the TRC file holds no data rows");
  int64_t present = 1;
  for (std::string_view line; lines.next(line);) present += is_blank_row(line, delimiter) ? 0 : 1;
  lines.seek(data_start);
  description.frames_present = present;
  description.frames_claimed =
      claimed >= 0.0 && claimed < 1e15 ? static_cast<int64_t>(claimed) : present;
  description.first_frame = first.number;
}

bool TrcReader::next_frame(Frame& frame) {
  if (!next_row()) return false;
  const size_t line_number = lines.line_number();
  double number = 0.0;
  if (read_number_cell(cells[0], number) != CellValue::number || std::trunc(number) != number ||
      std::fabs(number) > 1e15) {
    throw ConversionError("line " + std::to_string(line_number) +
                          " of the TRC file has no whole frame number");
  }
  frame.number = static_cast<int64_t>(number);
  frame.points.resize(marker_count);
  for (size_t m = 0; m < marker_count; ++m) {
    const size_t column = first_marker_column + 3 * m;
    MarkerPoint& point = frame.points[m];
    double* coordinates[3] = {&point.x, &point.y, &point.z};
    point.seen = column + 2 < cells.size();
    for (size_t i = 0; i < 3 && point.seen; ++i) {
      switch (read_number_cell(cells[column + i], *coordinates[i])) {
        case CellValue::number: break;
        case CellValue::empty: point.seen = false; break;
        case CellValue::bad:
          throw ConversionError("line " + std::to_string(line_number) + ", column " +
                                std::to_string(column + i + 1) +
                                " of the TRC file holds no number");
      }
    }
  }
  return true;
}
