#include "line_reader.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

#include "fault.h"
#include "huge_page_block.h"
#include "messages.h"

namespace {

// One huge page: the reader's first read fills it with one page fault.
constexpr size_t buffer_size = huge_page_bytes;

// The longest text that can hold a line of allowed length and its line end,
// a carriage return and a newline at most.
constexpr size_t window = LineReader::max_line_length + 2;

// The UTF-8 byte-order mark that some programs put before the text.
constexpr char byte_order_mark[] = "\xEF\xBB\xBF";
constexpr size_t byte_order_mark_size = sizeof byte_order_mark - 1;

static_assert(buffer_size > byte_order_mark_size + window,
              "the buffer holds a byte-order mark and the longest line with its line end");
static_assert(LineReader::file_start_bytes == byte_order_mark_size + window + 1,
              "the start of a file holds a byte-order mark, the longest line and one byte more");

}  // namespace

size_t byte_order_mark_length(const char* text, size_t size) {
  return size >= byte_order_mark_size &&
                 std::memcmp(text, byte_order_mark, byte_order_mark_size) == 0
             ? byte_order_mark_size
             : 0;
}

char first_line_end(const char* text, size_t size) {
  constexpr char line_ends[] = {'\r', '\n'};
  const char* const searched_end = text + std::min(size, window);
  const char* const first_end = std::find_first_of(text, searched_end, line_ends, line_ends + 2);
  const char* const text_end = text + size;
  const bool lone_carriage_return = first_end != searched_end && *first_end == '\r' &&
                                    (first_end + 1 == text_end || first_end[1] != '\n');
  return lone_carriage_return ? '\r' : '\n';
}

LineReader::LineReader(FILE* file) : LineReader(file, FilePart{0, -1, '\n'}) {
  quiet = false;
  chooses_line_end = true;
  if (buffer == nullptr) report_fault(messages::out_of_memory);
}

LineReader::LineReader(FILE* file, const FilePart& part)
    : descriptor(fileno(file)), buffer(static_cast<char*>(allocate_block(buffer_size))) {
  read_part(part);
}

void LineReader::read_part(const FilePart& part) {
  next_offset = part.begin;
  end_offset = part.end;
  quiet = true;
  unread_begin = 0;
  unread_end = 0;
  at_end_of_file = false;
  at_file_start = part.begin == 0;
  line_end = part.line_end;
  lines_read = 0;
  fault = buffer == nullptr;
  last_line_ended = false;
}

LineReader::~LineReader() { free_block(buffer, buffer_size); }

bool LineReader::next_line(const char*& text, size_t& length) {
  if (fault) return false;
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
  if (fault || (newline == nullptr && unread == 0)) return false;

  ++lines_read;
  length = newline != nullptr ? static_cast<size_t>(newline - line) : unread;
  // Only what one read of a line could take is looked at for a NUL byte.
  const size_t checked = length < window ? length : window;
  if (std::memchr(line, '\0', checked) != nullptr) {
    return stop_at_line_fault(messages::nul_character);
  }
  // The carriage return of a CRLF line end stays in the text but is not
  // counted against the limit.
  const bool crlf =
      newline != nullptr && line_end == '\n' && length > 0 && line[length - 1] == '\r';
  if (length - (crlf ? 1 : 0) > max_line_length) {
    return stop_at_line_fault(messages::line_too_long);
  }
  unread_begin += length + (newline != nullptr ? 1 : 0);
  last_line_ended = newline != nullptr;
  text = line;
  return true;
}

void LineReader::read_file_start() {
  at_file_start = false;
  while (unread_end - unread_begin < byte_order_mark_size + window + 1 && !at_end_of_file) refill();
  unread_begin += byte_order_mark_length(buffer + unread_begin, unread_end - unread_begin);
  if (chooses_line_end) line_end = first_line_end(buffer + unread_begin, unread_end - unread_begin);
}

void LineReader::refill() {
  const size_t unread = unread_end - unread_begin;
  std::memmove(buffer, buffer + unread_begin, unread);
  unread_begin = 0;
  unread_end = unread;
  size_t wanted = buffer_size - unread_end;
  if (end_offset >= 0) wanted = std::min(wanted, static_cast<size_t>(end_offset - next_offset));
  ssize_t got = 0;
  if (wanted > 0) {
    do {
      got = pread(descriptor, buffer + unread_end, wanted, next_offset);
    } while (got < 0 && errno == EINTR);
  }
  if (got < 0) {
    stop_at_fault(messages::cannot_open);
    at_end_of_file = true;
    return;
  }
  unread_end += static_cast<size_t>(got);
  next_offset += got;
  if (got == 0) at_end_of_file = true;
}

bool LineReader::stop_at_line_fault(const char* message_format) {
  if (!quiet) report_line_fault(message_format, lines_read, max_line_length);
  fault = true;
  return false;
}

void LineReader::stop_at_fault(const char* message) {
  if (!quiet) report_fault(message);
  fault = true;
}
