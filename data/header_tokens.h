// Splitting of the header line into its tokens.
#ifndef HEADER_TOKENS_H
#define HEADER_TOKENS_H

#include <cstddef>

// Hands out the tokens of one header line (without its newline): commas
// separate, commas before the first token are skipped and a run of commas is
// one separator, so no token is empty. A carriage return standing alone after
// the last comma is the line end, not a token.
class HeaderTokens {
 public:
  HeaderTokens(const char* line, size_t length) : line(line), length(length) {}

  // Makes text and size the next token; false when none is left.
  bool next(const char*& text, size_t& size);

  // True when the token last handed out reaches the end of the line, so that
  // it carries the line's newline.
  bool token_ends_line() const { return position == length; }

  // True when the token last handed out is exactly word.
  bool token_is(const char* word) const;

 private:
  const char* line;
  size_t length;
  size_t position = 0;
  size_t token_begin = 0;
};

#endif  // HEADER_TOKENS_H
