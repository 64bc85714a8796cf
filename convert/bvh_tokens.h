// The words of a BVH file's hierarchy and motion header, across lines.
#ifndef BVH_TOKENS_H
#define BVH_TOKENS_H

#include <cstddef>
#include <string_view>

#include "text_lines.h"

class BvhTokens {
 public:
  // Reads words from lines, which must outlive this object.
  explicit BvhTokens(TextLines& lines) : lines(lines) {}

  // Makes word the next run of characters between white space (blanks, tabs,
  // carriage returns, form feeds), going on to the next lines as needed, and
  // returns true; false at the end of the file. Never allocates.
  bool next(std::string_view& word);

  // The text after the last word on its line up to a "{" (which stays to be
  // read next) or the line's end, without the blanks around it: a name that
  // may hold blanks. Empty when that word ended its line.
  std::string_view name_before_brace();

  // True when the last word ended its line but for white space.
  bool at_line_end() const;

  // Number, from 1, of the line of the last word (or the last line read).
  size_t line_number() const { return lines.line_number(); }

 private:
  TextLines& lines;
  std::string_view rest;  // what follows the last word on its line
};

#endif  // BVH_TOKENS_H
