#include "one_line.h"

namespace {

// Bytes of the valid UTF-8 character that starts at text[at], 0 when none
// does.
size_t character_length(std::string_view text, size_t at) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[at + i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return 1;
  size_t length = 0;
  unsigned char second_low = 0x80;   // the range of the second byte, which
  unsigned char second_high = 0xBF;  // rules out overlong forms and surrogates
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) second_low = 0xA0;
    if (lead == 0xED) second_high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) second_low = 0x90;
    if (lead == 0xF4) second_high = 0x8F;
  } else {
    return 0;
  }
  if (text.size() - at < length || byte(1) < second_low || byte(1) > second_high) return 0;
  for (size_t i = 2; i < length; ++i) {
    if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
  }
  return length;
}

// True for the control characters U+0000 to U+001F and U+007F to U+009F.
bool is_control(std::string_view character) {
  const auto lead = static_cast<unsigned char>(character[0]);
  if (character.size() == 1) return lead < 0x20 || lead == 0x7F;
  return lead == 0xC2 && static_cast<unsigned char>(character[1]) < 0xA0;
}

}  // namespace

std::string one_line(std::string_view message) {
  std::string line;
  line.reserve(message.size());
  for (size_t at = 0; at < message.size();) {
    const size_t length = character_length(message, at);
    const std::string_view character = message.substr(at, length);
    if (length == 0 || is_control(character)) {
      line += '?';
    } else {
      line += character;
    }
    at += length == 0 ? 1 : length;
  }
  return line;
}
