#include "capture_mutator.h"

#include <iterator>

#include "line_reader.h"

namespace {

// Header lines a capture must be rejected for or must survive.
// clang-format off
const char* const odd_headers[] = {
    "ksample,KTime,A_X,A_Y,A_Z",   " KSample,KTime,A_X,A_Y,A_Z",  "KSample,Ktime,A_X,A_Y,A_Z",
    "KSample,KTime",               "KSample,KTime,",              "KSample",
    "KSample,KTime,A_X,A_Y",       "KSample,KTime,A_X,A_Y,A_Z,",  ",,,KSample,,KTime,,A_X,,A_Y,,A_Z",
    "KSample,KTime,A,B,C,D",       "",                            ",,,,",
};
// clang-format on

}  // namespace

const char* CaptureMutator::apply_one(std::string& text) {
  switch (between(0, 18)) {
    case 0: flip_byte(text); return "flip-byte";
    case 1: insert_bytes(text); return "insert-bytes";
    case 2: delete_bytes(text); return "delete-bytes";
    case 3: truncate_line(text); return "truncate-line";
    case 4: truncate_file(text); return "truncate-file";
    case 5: duplicate_line(text); return "duplicate-line";
    case 6: delete_line(text); return "delete-line";
    case 7: insert_blank_line(text); return "blank-line";
    case 8: double_delimiter(text); return "double-comma";
    case 9: delete_delimiter(text); return "delete-comma";
    case 10: add_fields(text); return "add-fields";
    case 11: crlf_line_ends(text); return "crlf";
    case 12: insert_nul(text); return "nul-byte";
    case 13: lengthen_line(text); return "long-line";
    case 14: damage_header(text); return "header-damage";
    case 15: odd_number(text); return "odd-number";
    case 16: cr_line_ends(text); return "cr";
    case 17: byte_order_mark(text); return "bom";
    default: drop_final_newline(text); return "no-final-newline";
  }
}

// Makes a line just short of, at or past the most characters a line may
// hold, or just past the 998 characters that were once the limit, or of any
// length between.
void CaptureMutator::lengthen_line(std::string& text) {
  size_t start, end;
  pick_line(text, false, start, end);
  constexpr size_t limit = LineReader::max_line_length;
  size_t target = 0;
  switch (between(0, 3)) {
    case 0: target = between(limit - 2, limit + 2); break;
    case 1: target = between(996, 1000); break;
    default: target = between(1001, 20000); break;
  }
  if (target <= end - start) return;
  const std::string filler = between(0, 1) == 0 ? ",7.25" : "x";
  std::string grown;
  while (grown.size() < target - (end - start)) grown += filler;
  grown.resize(target - (end - start));
  text.insert(end, grown);
}

void CaptureMutator::damage_header(std::string& text) {
  size_t start, end;
  pick_line(text, true, start, end);
  text.replace(start, end - start, odd_headers[between(0, std::size(odd_headers) - 1)]);
}
