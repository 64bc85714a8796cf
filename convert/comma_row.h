// The cells of one comma-separated row read from left to right, without
// splitting the whole row first: a cell that is not read costs only the
// search for its comma, and a number is read where it stands.
#ifndef COMMA_ROW_H
#define COMMA_ROW_H

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "text_lines.h"

class CommaRow {
 public:
  // The cells of line as split_cells gives them. A line with a quote in it
  // is split by split_cells into cells, which is kept to spare allocations.
  CommaRow(std::string_view line, std::vector<std::string_view>& cells);

  // The cell in column; nothing past the row's end. Columns are asked for
  // from left to right.
  std::optional<std::string_view> cell(size_t column);

  // What read_number_cell reads in the cell in column, empty past the
  // row's end; a number is stored times 10^power, the double that
  // shift_decimal_point gives for it.
  CellValue number(size_t column, int power, double& value);

 private:
  // Moves to the start of column's cell; false past the row's end.
  bool reach(size_t column);

  std::string_view line;
  const std::vector<std::string_view>& quoted_cells;
  bool quoted;
  size_t column_at = 0;  // the column whose cell starts at line[start]
  size_t start = 0;      // past line's end once no cell is left
};

#endif  // COMMA_ROW_H
