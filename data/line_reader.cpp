#include "line_reader.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "fault.h"
#include "messages.h"

namespace {

constexpr size_t buffer_size = size_t{1} << 20;

// The longest text that can hold a line of allowed length and its line end,
// a carriage return and a newline at most.
constexpr size_t window = LineReader::max_line_length + 2;

// The UTF-8 byte-order mark that some programs put before the text.
constexpr char byte_order_mark[] = "\xEF\xBB\xBF";
constexpr size_t byte_order_mark_size = sizeof byte_order_mark - 1;

static_assert(buffer_size > byte_order_mark_size + window,
              "the buffer holds a byte-order mark and the longest line with its line end");

}  // namespace

LineReader::LineReader(FILE* file) : file(file), buffer(new (std::nothrow) char[buffer_size]) {
  if (buffer == nullptr) report_fault(messages::out_of_memory);
}

LineReader::~LineReader() { delete[] buffer; }

bool LineReader::next_line(const char*& text, size_t& length) {
  if (at_file_start) read_file_start();
  const char* newline = nullptr;
  for (;;) {
    const size_t unread = unread_end - unread_begin;
    const size_t searched = unread < window ? unread : window;
    newline = static_cast<const char*>(std::memchr(buffer + unread_begin, line_end, searched));
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
  const bool crlf =
      newline != nullptr && line_end == '\n' && length > 0 && line[length - 1] == '\r';
  if (length - (crlf ? 1 : 0) > max_line_length) {
    report_line_fault(messages::line_too_long, lines_read, max_line_length);
  }
  unread_begin += length + (newline != nullptr ? 1 : 0);
  text = line;
  return true;
}

void LineReader::read_file_start() {
  at_file_start = false;
  while (unread_end - unread_begin < byte_order_mark_size + window + 1 && !at_end_of_file) refill();
  const char* start = buffer + unread_begin;
  if (unread_end - unread_begin >= byte_order_mark_size &&
      std::memcmp(start, byte_order_mark, byte_order_mark_size) == 0) {
    unread_begin += byte_order_mark_size;
    start += byte_order_mark_size;
  }
  // The first line end decides: a carriage return without a newline after it
  // ends the lines of the whole file.
  constexpr char line_ends[] = {'\r', '\n'};
  const char* const searched_end = start + std::min(unread_end - unread_begin, window);
  const char* const first_end = std::find_first_of(start, searched_end, line_ends, line_ends + 2);
  const char* const text_end = buffer + unread_end;
  if (first_end != searched_end && *first_end == '\r' &&
      (first_end + 1 == text_end || first_end[1] != '\n')) {
    line_end = '\r';
  }
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
