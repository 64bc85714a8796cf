#include "bvh_tokens.h"

#include <algorithm>

#include "number_parser.h"

namespace {

// The white space between words; a lone carriage return counts as one.
size_t word_start(std::string_view text) {
  size_t at = 0;
  while (at < text.size() && number_parser_detail::is_space(text[at])) ++at;
  return at;
}

size_t word_end(std::string_view text) {
  size_t at = 0;
  while (at < text.size() && !number_parser_detail::is_space(text[at])) ++at;
  return at;
}

}  // namespace

bool BvhTokens::next(std::string_view& word) {
  rest.remove_prefix(word_start(rest));
  while (rest.empty()) {
    if (!lines.next(rest)) return false;
    rest.remove_prefix(word_start(rest));
  }
  const size_t length = word_end(rest);
  word = rest.substr(0, length);
  rest.remove_prefix(length);
  return true;
}

std::string_view BvhTokens::name_before_brace() {
  const size_t brace = std::min(rest.find('{'), rest.size());
  const std::string_view name = trim_blanks(rest.substr(0, brace));
  rest.remove_prefix(brace);
  return name;
}

bool BvhTokens::at_line_end() const { return word_start(rest) == rest.size(); }
