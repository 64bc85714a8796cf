#include "line_reader.h"

#include <cstring>
#include <new>

#include "fault.h"
#include "messages.h"

namespace {

constexpr size_t buffer_size = size_t{1} << 20;
static_assert(buffer_size > LineReader::max_line_length + 2,
              "the buffer holds the longest line and its line end");

}  // namespace

LineReader::LineReader(FILE* file) : file(file), buffer(new (std::nothrow) char[buffer_size]) {
  if (buffer == nullptr) report_fault(messages::out_of_memory);
}

LineReader::~LineReader() { delete[] buffer; }

bool LineReader::next_line(const char*& text, size_t& length) {
  // The longest text that can hold a line of allowed length and its line
  // end, a carriage return and a newline at most.
  constexpr size_t window = max_line_length + 2;
  const char* newline = nullptr;
  for (;;) {
    const size_t unread = unread_end - unread_begin;
    const size_t searched = unread < window ? unread : window;
    newline = static_cast<const char*>(std::memchr(buffer + unread_begin, '\n', searched));
    if (newline != nullptr || unread >= window || at_end_of_file) break;
    refill();
  }
  const char* line = buffer + unread_begin;
  const size_t unread = unread_end - unread_begin;
  if (newline == nullptr && unread == 0) return false;

  ++lines_read;
  length = newline != nullptr ? static_cast<size_t>(newline - line) : unread;
  // Only what one read of a line could take is looked at for a NUL byte.
  const size_t checked = length < window ? length : window;
  if (std::memchr(line, '\0', checked) != nullptr) {
    report_line_fault(messages::nul_character, lines_read);
  }
  // The carriage return of a CRLF line end stays in the text but is not
  // counted against the limit.
  const bool crlf = newline != nullptr && length > 0 && line[length - 1] == '\r';
  if (length - (crlf ? 1 : 0) > max_line_length) {
    report_line_fault(messages::line_too_long, lines_read, max_line_length);
  }
  unread_begin += length + (newline != nullptr ? 1 : 0);
  text = line;
  return true;
}

void LineReader::refill() {
  const size_t unread = unread_end - unread_begin;
  std::memmove(buffer, buffer + unread_begin, unread);
  unread_begin = 0;
  unread_end = unread;
  const size_t got = std::fread(buffer + unread_end, 1, buffer_size - unread_end, file);
  unread_end += got;
  if (got == 0) {
    if (std::ferror(file)) report_fault(messages::cannot_open);
    at_end_of_file = true;
  }
}
