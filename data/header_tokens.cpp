#include "header_tokens.h"

#include <cstring>

bool HeaderTokens::next(const char*& text, size_t& size) {
  while (position < length && line[position] == ',') ++position;
  if (position == length) return false;
  token_begin = position;
  while (position < length && line[position] != ',') ++position;
  const bool lone_carriage_return =
      position == length && position - token_begin == 1 && line[token_begin] == '\r';
  if (lone_carriage_return) return false;
  text = line + token_begin;
  size = position - token_begin;
  return true;
}

bool HeaderTokens::token_is(const char* word) const {
  const size_t size = position - token_begin;
  return size == std::strlen(word) && std::memcmp(line + token_begin, word, size) == 0;
}
