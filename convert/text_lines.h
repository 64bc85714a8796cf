// The lines of a text export and the cells of one line, shared by every
// text reader.
#ifndef TEXT_LINES_H
#define TEXT_LINES_H

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "input_file.h"

class TextLines {
 public:
  // The lines of file, mapped from disk or in memory. A UTF-8 byte-order
  // mark at its start is skipped.
  explicit TextLines(InputFile file);

  // Makes line the next line without its line end (LF or CRLF) and returns
  // true; false after the last line. A file's last line needs no line end.
  bool next(std::string_view& line);

  // Number, from 1, of the line that next handed out last.
  size_t line_number() const { return number; }

  // Where reading stands, to come back to with seek.
  struct Mark {
    size_t offset;
    size_t number;
  };
  Mark mark() const { return {offset, number}; }
  void seek(const Mark& where) {
    offset = where.offset;
    number = where.number;
  }

 private:
  InputFile file;
  size_t offset = 0;  // start of the next line
  size_t number = 0;
};

// Splits line at every delimiter into cells (cleared first); a line with no
// delimiter is one cell. With ',' as the delimiter a cell in double quotes
// (blanks around them allowed) is one cell whatever it holds: the text
// inside the quotes, where "" stands for one quote (cell_text reads it so).
// A quote that does not close before the cell's delimiter is plain text.
// Does not allocate once cells has grown to the row.
void split_cells(std::string_view line, char delimiter, std::vector<std::string_view>& cells);

// The text of a cell that split_cells gave: without blanks around it, with
// each "" read as one quote.
std::string cell_text(std::string_view cell);

// True when line holds nothing but blanks, tabs, carriage returns and
// delimiters: a row with no cell filled.
bool is_blank_row(std::string_view line, char delimiter);

// text without its leading and trailing blanks, tabs and carriage returns.
std::string_view trim_blanks(std::string_view text);

// What a cell of coordinates holds.
enum class CellValue {
  empty,   // nothing but blanks, or NaN in any case: the point was not seen
  number,  // a finite decimal number, stored in value
  bad,     // anything else
};

// Reads a cell that should hold one decimal number, blanks around it
// allowed. The number is correctly rounded. Never allocates.
CellValue read_number_cell(std::string_view cell, double& value);

// True when trimmed text is a whole number from 0 to 10^15, stored in value.
bool read_whole_number(std::string_view text, int64_t& value);

// "line N: cause", the start of a text reader's error message.
std::string at_line(size_t line_number, const std::string& cause);

#endif  // TEXT_LINES_H
