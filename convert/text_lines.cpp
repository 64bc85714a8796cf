#include "text_lines.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "number_parser.h"

TextLines::TextLines(InputFile input) : file(std::move(input)) {
  static constexpr unsigned char byte_order_mark[] = {0xEF, 0xBB, 0xBF};
  if (file.size() >= 3 && std::memcmp(file.data(), byte_order_mark, 3) == 0) offset = 3;
}

bool TextLines::next(std::string_view& line) {
  const size_t size = file.size();
  if (offset >= size) return false;
  const char* const text = reinterpret_cast<const char*>(file.data());
  const void* found = std::memchr(text + offset, '\n', size - offset);
  const size_t end =
      found != nullptr ? static_cast<size_t>(static_cast<const char*>(found) - text) : size;
  size_t length = end - offset;
  if (length > 0 && text[offset + length - 1] == '\r') --length;
  line = std::string_view(text + offset, length);
  offset = end + 1;
  ++number;
  return true;
}

namespace {

constexpr char quote = '"';

// The closing quote of the quoted text opened at line[open], past every ""
// inside it; npos when it never closes.
size_t closing_quote(std::string_view line, size_t open) {
  for (size_t at = open + 1;; at += 2) {
    at = line.find(quote, at);
    if (at == std::string_view::npos || at + 1 == line.size() || line[at + 1] != quote) return at;
  }
}

// When the cell from line[start] is quoted, puts the text inside its quotes
// into cells and returns where the cell ends (its comma or the line's end);
// npos when it is no quoted cell.
size_t take_quoted_cell(std::string_view line, size_t start, std::vector<std::string_view>& cells) {
  const size_t open = line.find_first_not_of(" \t", start);
  if (open == std::string_view::npos || line[open] != quote) return std::string_view::npos;
  const size_t close = closing_quote(line, open);
  if (close == std::string_view::npos) return std::string_view::npos;
  const size_t end = std::min(line.find_first_not_of(" \t", close + 1), line.size());
  if (end < line.size() && line[end] != ',') return std::string_view::npos;
  cells.push_back(line.substr(open + 1, close - open - 1));
  return end;
}

}  // namespace

void split_cells(std::string_view line, char delimiter, std::vector<std::string_view>& cells) {
  cells.clear();
  size_t start = 0;
  for (;;) {
    // Only a cell that starts with a quote or a blank can be quoted.
    if (delimiter == ',' && start < line.size() &&
        (line[start] == quote || line[start] == ' ' || line[start] == '\t')) {
      const size_t end = take_quoted_cell(line, start, cells);
      if (end == line.size()) return;
      if (end != std::string_view::npos) {
        start = end + 1;
        continue;
      }
    }
    const size_t at = line.find(delimiter, start);
    if (at == std::string_view::npos) break;
    cells.push_back(line.substr(start, at - start));
    start = at + 1;
  }
  cells.push_back(line.substr(start));
}

std::string cell_text(std::string_view cell) {
  cell = trim_blanks(cell);
  std::string text;
  text.reserve(cell.size());
  for (size_t at = 0; at < cell.size(); ++at) {
    text += cell[at];
    if (cell[at] == quote && at + 1 < cell.size() && cell[at + 1] == quote) ++at;
  }
  return text;
}

bool is_blank_row(std::string_view line, char delimiter) {
  for (const char c : line) {
    if (c != delimiter && c != ' ' && c != '\t' && c != '\r') return false;
  }
  return true;
}

std::string_view trim_blanks(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

namespace {

bool is_nan_word(std::string_view text) {
  return text.size() == 3 && (text[0] | 0x20) == 'n' && (text[1] | 0x20) == 'a' &&
         (text[2] | 0x20) == 'n';
}

}  // namespace

CellValue read_number_cell(std::string_view cell, double& value) {
  const char* const begin = cell.data();
  const char* const end = begin + cell.size();
  const char* const stop = scan_decimal(begin, end, value);
  if (stop != begin && std::isfinite(value)) {
    // Plain cells end at the number; only padded ones need the blanks looked at.
    if (stop == end ||
        trim_blanks(std::string_view(stop, static_cast<size_t>(end - stop))).empty()) {
      return CellValue::number;
    }
    return CellValue::bad;
  }
  const std::string_view word = trim_blanks(cell);
  return word.empty() || is_nan_word(word) ? CellValue::empty : CellValue::bad;
}

bool read_whole_number(std::string_view text, int64_t& value) {
  double number = 0.0;
  if (read_number_cell(text, number) != CellValue::number) return false;
  if (std::trunc(number) != number || number < 0.0 || number > 1e15) return false;
  value = static_cast<int64_t>(number);
  return true;
}

std::string at_line(size_t line_number, const std::string& cause) {
  return "line " + std::to_string(line_number) + ": " + cause;
}
