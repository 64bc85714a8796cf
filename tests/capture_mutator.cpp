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
  // Edits 13 and 14 are the capture file's own; the others are every text's.
  const auto edit = static_cast<int>(between(0, 18));
  if (edit == 13) {
    lengthen_line(text);
    return "long-line";
  }
  if (edit == 14) {
    damage_header(text);
    return "header-damage";
  }
  return apply_edit(edit < 13 ? edit : edit - 2, text);
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
