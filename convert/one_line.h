// The text of an error message made safe for one line of a terminal.
#ifndef ONE_LINE_H
#define ONE_LINE_H

#include <string>
#include <string_view>

// message with every byte that is not part of valid UTF-8 (a stray
// continuation byte, a sequence cut short, an overlong form, a surrogate,
// a code point past U+10FFFF) shown as '?', and every control character
// (below U+0020, U+007F to U+009F) as one '?': a name read from a damaged
// file may hold any byte, and the message stays one line of plain text.
std::string one_line(std::string_view message);

#endif  // ONE_LINE_H
