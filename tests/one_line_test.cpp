// Error messages made one line of valid UTF-8.
#include "one_line.h"

#include <gtest/gtest.h>

namespace {

// Columns: what the message holds, the message, the line shown.
TEST(OneLine, BytesNotValidUtf8AndControlCharactersShowAsQuestionMarks) {
  const struct {
    const char* what;
    std::string_view message;
    const char* shown;
  } cases[] = {
      {"valid characters of 1 to 4 bytes", "a \xC3\xA9 \xE2\x82\xAC \xF0\x9D\x84\x9E",
       "a \xC3\xA9 \xE2\x82\xAC \xF0\x9D\x84\x9E"},
      {"control characters", "a\tb\nc\x7F\r", "a?b?c??"},
      {"a NUL byte", std::string_view("a\0b", 3), "a?b"},
      {"a C1 control character", "\xC2\x85x\xC2\xA0", "?x\xC2\xA0"},
      {"Latin-1", "Marker \xE9t\xE9", "Marker ?t?"},
      {"a stray continuation byte",
       "\x80"
       "a\xBF",
       "?a?"},
      {"a character cut short", "a\xE2\x82", "a??"},
      {"a character cut short by another",
       "\xE2\x82"
       "b\xF0\x9D\xC3\xA9",
       "??b??\xC3\xA9"},
      {"overlong forms", "\xC0\xAF\xC1\xBF\xE0\x80\xAF\xF0\x80\x80\xAF", "???????????"},
      {"a surrogate", "\xED\xA0\x80\xED\x9F\xBF", "???\xED\x9F\xBF"},
      {"past U+10FFFF", "\xF4\x90\x80\x80\xF5\xFF\xF4\x8F\xBF\xBF", "??????\xF4\x8F\xBF\xBF"},
  };
  for (const auto& c : cases) EXPECT_EQ(one_line(c.message), c.shown) << c.what;
}

}  // namespace
