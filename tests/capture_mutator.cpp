#include "capture_mutator.h"

#include <algorithm>
#include <iterator>

#include "line_reader.h"

namespace {

// Field texts at the edges of the number grammar and of the value ranges.
// clang-format off
const char* const odd_numbers[] = {
    "",     "-",      "+",          "+-5",         "--5",         ".",
    "e5",   "1e",     "0x1A",       "nan",         "inf",         "-inf",
    "1e999", "-1e999", "1e-400",    "4.9e-324",    "2147483648",  "-2147483649",
    "99999999999999999999999999999",  "2.9",       " -.5",        "\t7",
    "\r",   "12.5\r", "1.5e+308x",  "0.0",         "-0.0",        "1e-99999999999",
};
// clang-format on

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
    case 8: double_comma(text); return "double-comma";
    case 9: delete_comma(text); return "delete-comma";
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

size_t CaptureMutator::position(const std::string& text) { return between(0, text.size()); }

void CaptureMutator::pick_line(const std::string& text, bool header_only, size_t& start,
                               size_t& end) {
  start = header_only ? 0 : position(text);
  while (start > 0 && text[start - 1] != '\n') --start;
  end = std::min(text.find('\n', start), text.size());
}

size_t CaptureMutator::pick_comma(const std::string& text) {
  const size_t from = position(text);
  size_t comma = text.find(',', from);
  if (comma == std::string::npos) comma = text.find(',');
  return comma == std::string::npos ? text.size() : comma;
}

void CaptureMutator::truncate_line(std::string& text) {
  size_t start, end;
  pick_line(text, false, start, end);
  const size_t cut = between(start, end);
  text.erase(cut, end - cut);
}

void CaptureMutator::truncate_file(std::string& text) { text.resize(position(text)); }

void CaptureMutator::duplicate_line(std::string& text) {
  size_t start, end;
  pick_line(text, false, start, end);
  text.insert(start, text.substr(start, end - start) + "\n");
}

void CaptureMutator::delete_line(std::string& text) {
  size_t start, end;
  pick_line(text, false, start, end);
  text.erase(start, end + 1 - start);
}

void CaptureMutator::insert_blank_line(std::string& text) {
  size_t start, end;
  pick_line(text, false, start, end);
  text.insert(start, between(0, 1) == 0 ? "\n" : "\r\n");
}

void CaptureMutator::double_comma(std::string& text) {
  text.insert(pick_comma(text), between(1, 3), ',');
}

void CaptureMutator::delete_comma(std::string& text) { text.erase(pick_comma(text), 1); }

void CaptureMutator::add_fields(std::string& text) {
  size_t start, end;
  pick_line(text, false, start, end);
  text.insert(end,
              between(0, 1) == 0 ? std::string(",1.5,2,3") : std::string(between(1, 400), ','));
}

void CaptureMutator::crlf_line_ends(std::string& text) {
  const bool every_line = between(0, 1) == 0;
  size_t at = text.find('\n', every_line ? 0 : position(text));
  while (at != std::string::npos) {
    text.insert(at, 1, '\r');
    at = every_line ? text.find('\n', at + 2) : std::string::npos;
  }
}

// Old Mac line ends: every newline, or one, becomes a carriage return.
void CaptureMutator::cr_line_ends(std::string& text) {
  if (between(0, 1) == 0) {
    std::replace(text.begin(), text.end(), '\n', '\r');
    return;
  }
  const size_t at = text.find('\n', position(text));
  if (at != std::string::npos) text[at] = '\r';
}

// A spreadsheet's UTF-8 byte-order mark, at the start of the file or anywhere.
void CaptureMutator::byte_order_mark(std::string& text) {
  text.insert(between(0, 1) == 0 ? 0 : position(text), "\xEF\xBB\xBF");
}

void CaptureMutator::insert_nul(std::string& text) { text.insert(position(text), 1, '\0'); }

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

void CaptureMutator::odd_number(std::string& text) {
  const size_t comma = pick_comma(text);
  if (comma == text.size()) return;
  const size_t field_end = std::min(text.find_first_of(",\n", comma + 1), text.size());
  text.replace(comma + 1, field_end - comma - 1,
               odd_numbers[between(0, std::size(odd_numbers) - 1)]);
}

void CaptureMutator::drop_final_newline(std::string& text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
}
