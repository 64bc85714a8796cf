#include "comma_row.h"

#include "millimetres.h"

CommaRow::CommaRow(std::string_view line, std::vector<std::string_view>& cells)
    : line(line), quoted_cells(cells), quoted(line.find('"') != std::string_view::npos) {
  // Only a quote can make a cell hold a comma; without one every comma
  // divides two cells.
  if (quoted) split_cells(line, ',', cells);
}

bool CommaRow::reach(size_t column) {
  while (column_at < column && start <= line.size()) {
    const size_t comma = line.find(',', start);
    start = comma == std::string_view::npos ? line.size() + 1 : comma + 1;
    ++column_at;
  }
  return start <= line.size();
}

std::optional<std::string_view> CommaRow::cell(size_t column) {
  if (quoted) {
    if (column >= quoted_cells.size()) return std::nullopt;
    return quoted_cells[column];
  }
  if (!reach(column)) return std::nullopt;
  const size_t comma = line.find(',', start);
  return line.substr(start, (comma == std::string_view::npos ? line.size() : comma) - start);
}

CellValue CommaRow::number(size_t column, int power, double& value) {
  if (!quoted && reach(column)) {
    // A plain decimal that fills its cell is read in place.
    const char* const begin = line.data() + start;
    const char* const end = line.data() + line.size();
    const char* const stop = scan_shifted_decimal(begin, end, power, value);
    if (stop != begin && (stop == end || *stop == ',')) {
      start = static_cast<size_t>(stop - line.data()) + 1;
      ++column_at;
      return CellValue::number;
    }
  }
  const std::optional<std::string_view> text = cell(column);
  if (!text) return CellValue::empty;
  const CellValue read = read_number_cell(*text, value);
  if (read == CellValue::number) value = shift_decimal_point(value, power, false);
  return read;
}
