#include "text_mutator.h"

#include <algorithm>
#include <iterator>

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

}  // namespace

const char* TextMutator::apply_one(std::string& text) {
  return apply_edit(static_cast<int>(between(0, 16)), text);
}

const char* TextMutator::apply_edit(int edit, std::string& text) {
  switch (edit) {
    case 0: flip_byte(text); return "flip-byte";
    case 1: insert_bytes(text); return "insert-bytes";
    case 2: delete_bytes(text); return "delete-bytes";
    case 3: truncate_line(text); return "truncate-line";
    case 4: truncate_file(text); return "truncate-file";
    case 5: duplicate_line(text); return "duplicate-line";
    case 6: delete_line(text); return "delete-line";
    case 7: insert_blank_line(text); return "blank-line";
    case 8: double_delimiter(text); return "double-delimiter";
    case 9: delete_delimiter(text); return "delete-delimiter";
    case 10: add_fields(text); return "add-fields";
    case 11: crlf_line_ends(text); return "crlf";
    case 12: insert_nul(text); return "nul-byte";
    case 13: odd_number(text); return "odd-number";
    case 14: cr_line_ends(text); return "cr";
    case 15: byte_order_mark(text); return "bom";
    default: drop_final_newline(text); return "no-final-newline";
  }
}

size_t TextMutator::position(const std::string& text) { return between(0, text.size()); }

void TextMutator::pick_line(const std::string& text, bool first_only, size_t& start, size_t& end) {
  start = first_only ? 0 : position(text);
  while (start > 0 && text[start - 1] != '\n') --start;
  end = std::min(text.find('\n', start), text.size());
}

size_t TextMutator::pick_delimiter(const std::string& text) {
  const size_t from = position(text);
  size_t at = text.find(delimiter, from);
  if (at == std::string::npos) at = text.find(delimiter);
  return at == std::string::npos ? text.size() : at;
}

void TextMutator::truncate_line(std::string& text) {
  size_t start, end;
  pick_line(text, false, start, end);
  const size_t cut = between(start, end);
  text.erase(cut, end - cut);
}

void TextMutator::truncate_file(std::string& text) { text.resize(position(text)); }

void TextMutator::duplicate_line(std::string& text) {
  size_t start, end;
  pick_line(text, false, start, end);
  text.insert(start, text.substr(start, end - start) + "\n");
}

void TextMutator::delete_line(std::string& text) {
  size_t start, end;
  pick_line(text, false, start, end);
  text.erase(start, end + 1 - start);
}

void TextMutator::insert_blank_line(std::string& text) {
  size_t start, end;
  pick_line(text, false, start, end);
  text.insert(start, between(0, 1) == 0 ? "\n" : "\r\n");
}

void TextMutator::double_delimiter(std::string& text) {
  text.insert(pick_delimiter(text), between(1, 3), delimiter);
}

void TextMutator::delete_delimiter(std::string& text) { text.erase(pick_delimiter(text), 1); }

void TextMutator::add_fields(std::string& text) {
  size_t start, end;
  pick_line(text, false, start, end);
  const std::string cell(1, delimiter);
  text.insert(end, between(0, 1) == 0 ? cell + "1.5" + cell + "2" + cell + "3"
                                      : std::string(between(1, 400), delimiter));
}

void TextMutator::crlf_line_ends(std::string& text) {
  const bool every_line = between(0, 1) == 0;
  size_t at = text.find('\n', every_line ? 0 : position(text));
  while (at != std::string::npos) {
    text.insert(at, 1, '\r');
    at = every_line ? text.find('\n', at + 2) : std::string::npos;
  }
}

// Old Mac line ends: every newline, or one, becomes a carriage return.
void TextMutator::cr_line_ends(std::string& text) {
  if (between(0, 1) == 0) {
    std::replace(text.begin(), text.end(), '\n', '\r');
    return;
  }
  const size_t at = text.find('\n', position(text));
  if (at != std::string::npos) text[at] = '\r';
}

// A spreadsheet's UTF-8 byte-order mark, at the start of the file or anywhere.
void TextMutator::byte_order_mark(std::string& text) {
  text.insert(between(0, 1) == 0 ? 0 : position(text), "\xEF\xBB\xBF");
}

void TextMutator::insert_nul(std::string& text) { text.insert(position(text), 1, '\0'); }

// The cell after a random delimiter replaced by an odd number.
void TextMutator::odd_number(std::string& text) {
  const size_t at = pick_delimiter(text);
  if (at == text.size()) return;
  const size_t cell_end =
      std::min(text.find_first_of(std::string{delimiter, '\n'}, at + 1), text.size());
  text.replace(at + 1, cell_end - at - 1, odd_numbers[between(0, std::size(odd_numbers) - 1)]);
}

void TextMutator::drop_final_newline(std::string& text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
}
