#include "bvh_mutator.h"

#include <iterator>

namespace {

// What a damaged file may hold where a word was: keywords out of place,
// numbers a reader must refuse or survive, nothing at all.
const char* const odd_words[] = {"}",          "{",        "ROOT",   "JOINT",   "End Site",
                                 "OFFSET",     "CHANNELS", "MOTION", "Frames:", "CHANNELS 1000000",
                                 "9999999999", "-1",       "0",      "1e308",   "1e999",
                                 "nan",        "-0",       ".",      "",        "\r",
                                 "Xrotation",  "Yposition"};

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

const char* BvhMutator::apply_one(std::string& text) {
  switch (between(0, 7)) {
    case 0: flip_byte(text); return "flip-byte";
    case 1: insert_bytes(text); return "insert-bytes";
    case 2: delete_bytes(text); return "delete-bytes";
    case 3: delete_line(text); return "delete-line";
    case 4: duplicate_line(text); return "duplicate-line";
    case 5:
    case 6: replace_word(text); return "replace-word";
    default: truncate(text); return "truncate";
  }
}

void BvhMutator::pick_line(const std::string& text, size_t& start, size_t& length) {
  const size_t at = text.empty() ? 0 : between(0, text.size() - 1);
  const size_t before = text.rfind('\n', at == 0 ? 0 : at - 1);
  start = before == std::string::npos || at == 0 ? 0 : before + 1;
  const size_t end = text.find('\n', at);
  length = (end == std::string::npos ? text.size() : end + 1) - start;
}

void BvhMutator::delete_line(std::string& text) {
  size_t start = 0;
  size_t length = 0;
  pick_line(text, start, length);
  text.erase(start, length);
}

void BvhMutator::duplicate_line(std::string& text) {
  size_t start = 0;
  size_t length = 0;
  pick_line(text, start, length);
  text.insert(start, text.substr(start, length));
}

void BvhMutator::replace_word(std::string& text) {
  if (text.empty()) return;
  size_t start = between(0, text.size() - 1);
  while (start > 0 && !is_blank(text[start - 1])) --start;
  size_t end = start;
  while (end < text.size() && !is_blank(text[end])) ++end;
  text.replace(start, end - start, odd_words[between(0, std::size(odd_words) - 1)]);
}

void BvhMutator::truncate(std::string& text) { text.resize(between(0, text.size())); }
