// Seeded random damage to the text of a capture file, for the mutation sweep.
#ifndef CAPTURE_MUTATOR_H
#define CAPTURE_MUTATOR_H

#include <cstddef>
#include <cstdint>
#include <string>

#include "byte_mutator.h"

// mutate(capture, edits) returns capture with one to three of these edits.
class CaptureMutator : public ByteMutator {
 public:
  // The same seed gives the same edits on the same text.
  explicit CaptureMutator(uint64_t seed) : ByteMutator(seed) {}

 private:
  // Applies one randomly chosen edit to text and returns its name.
  const char* apply_one(std::string& text) override;

  // A random position in text, 0 to text.size().
  size_t position(const std::string& text);
  // Start and end (the newline or the end of text) of a random line; line 0
  // (the header) when header_only.
  void pick_line(const std::string& text, bool header_only, size_t& start, size_t& end);
  // Position of a random comma, or text.size() when there is none.
  size_t pick_comma(const std::string& text);

  void truncate_line(std::string& text);
  void truncate_file(std::string& text);
  void duplicate_line(std::string& text);
  void delete_line(std::string& text);
  void insert_blank_line(std::string& text);
  void double_comma(std::string& text);
  void delete_comma(std::string& text);
  void add_fields(std::string& text);
  void crlf_line_ends(std::string& text);
  void cr_line_ends(std::string& text);
  void byte_order_mark(std::string& text);
  void insert_nul(std::string& text);
  void lengthen_line(std::string& text);
  void damage_header(std::string& text);
  void odd_number(std::string& text);
  void drop_final_newline(std::string& text);
};

#endif  // CAPTURE_MUTATOR_H
