// Seeded random damage to a delimited text file (a capture file, a TSV or
// CSV export), for the mutation sweeps: lines cut, repeated, dropped or
// blank, delimiters doubled or dropped, odd numbers in cells, other line
// ends, stray bytes.
#ifndef TEXT_MUTATOR_H
#define TEXT_MUTATOR_H

#include <cstddef>
#include <cstdint>
#include <string>

#include "byte_mutator.h"

// mutate(text, edits) returns text with one to three of these edits.
class TextMutator : public ByteMutator {
 public:
  // The same seed gives the same edits on the same text; delimiter separates
  // the cells of a line.
  TextMutator(uint64_t seed, char delimiter) : ByteMutator(seed), delimiter(delimiter) {}

 protected:
  // Applies one randomly chosen edit to text and returns its name.
  const char* apply_one(std::string& text) override;
  // Applies edit number `edit` (0 to 16) to text and returns its name.
  const char* apply_edit(int edit, std::string& text);

  // A random position in text, 0 to text.size().
  size_t position(const std::string& text);
  // Start and end (the newline or the end of text) of a random line; line 0
  // when first_only.
  void pick_line(const std::string& text, bool first_only, size_t& start, size_t& end);
  // Position of a random delimiter, or text.size() when there is none.
  size_t pick_delimiter(const std::string& text);

  void truncate_line(std::string& text);
  void truncate_file(std::string& text);
  void duplicate_line(std::string& text);
  void delete_line(std::string& text);
  void insert_blank_line(std::string& text);
  void double_delimiter(std::string& text);
  void delete_delimiter(std::string& text);
  void add_fields(std::string& text);
  void crlf_line_ends(std::string& text);
  void cr_line_ends(std::string& text);
  void byte_order_mark(std::string& text);
  void insert_nul(std::string& text);
  void odd_number(std::string& text);
  void drop_final_newline(std::string& text);

 private:
  char delimiter;
};

#endif  // TEXT_MUTATOR_H
