// Line-by-line reading of a capture file through one large buffer.
#ifndef LINE_READER_H
#define LINE_READER_H

#include <sys/types.h>

#include <cstddef>
#include <cstdio>

// A stretch of an open file to hand out lines from: the bytes from offset
// begin up to offset end, or to the end of the file when end is negative,
// split into lines at every line_end. A byte-order mark is skipped only at
// offset 0.
struct FilePart {
  off_t begin;
  off_t end;
  char line_end;
};

// Hands out the lines of an open file read from its start, each without its
// line end. A UTF-8 byte-order mark at the start of the file is skipped. The
// line end is the newline, unless the first line ends with a carriage return
// that no newline follows (old Mac files): then that carriage return ends
// every line. A carriage return before a newline stays in the line's text.
// The text stays valid until the next call. Every line is checked: one with
// a NUL byte or with more than max_line_length characters before its line
// end (a carriage return before a newline counting as part of the line end)
// ends the process with its "Error:" line. A last line without a line end
// ends at the end of the file. The file is read at offsets of the reader's
// own (pread), so that two readers can share one open file.
class LineReader {
 public:
  // Most characters a line may hold before its line end; the source of both
  // the check and the text of its message.
  static constexpr size_t max_line_length = 1000000;
  // Most bytes that the text of a file holds before its first line end can
  // decide the line end: the byte-order mark, the longest line, a carriage
  // return and the byte after it.
  static constexpr size_t file_start_bytes = 3 + max_line_length + 2 + 1;

  // Reads the whole file from its start. Allocates the buffer; ends the
  // process when memory is exhausted.
  explicit LineReader(FILE* file);
  // Reads one part of the file, whose line end the caller has chosen as the
  // whole-file reader does (first_line_end), and reports nothing: a fault
  // (one that the whole-file reader reports, or no memory for the buffer)
  // ends the lines of the part, and faulted() tells it.
  LineReader(FILE* file, const FilePart& part);
  ~LineReader();
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  // A part's reader goes on with part instead, in the same buffer: the
  // lines it hands out next are those of part, numbered from 1.
  void read_part(const FilePart& part);

  // Makes text and length the next line; false at the end of the file or part.
  // Ends the process with the cannot-open message when the file cannot be
  // read (a part's reader: faulted).
  bool next_line(const char*& text, size_t& length);

  // 1-based number of the line last handed out.
  long line_number() const { return lines_read; }

  // True when a part's reader met a fault; it then hands out no more lines.
  bool faulted() const { return fault; }

  // True when the line last handed out ended with a line end, not with the
  // end of the file or part.
  bool line_was_ended() const { return last_line_ended; }

 private:
  // Reads more of the file after the unread text, which moves to the front.
  void refill();
  // Skips a byte-order mark; the whole-file reader chooses the line end from
  // the first line.
  void read_file_start();
  // Reports a fault of the line last handed out by message_format, which
  // takes its number and then max_line_length; a part's reader notes it
  // instead. Returns false, for next_line.
  bool stop_at_line_fault(const char* message_format);
  // Reports message, a fault of the whole reader, or notes it in a part's reader.
  void stop_at_fault(const char* message);

  int descriptor;
  char* buffer;
  off_t next_offset = 0;
  off_t end_offset = -1;
  bool quiet = true;
  bool chooses_line_end = false;
  size_t unread_begin = 0;
  size_t unread_end = 0;
  bool at_end_of_file = false;
  bool at_file_start = false;
  char line_end = '\n';
  long lines_read = 0;
  bool fault = false;
  bool last_line_ended = false;
};

// The length of a UTF-8 byte-order mark at the start of the size bytes at
// text: 3, or 0 when there is none.
size_t byte_order_mark_length(const char* text, size_t size);

// The character that ends every line of a file whose text, after any
// byte-order mark, starts with the size bytes at text: the carriage return
// when the first line ends with one that no newline follows, else the
// newline. text must hold max_line_length + 3 bytes, or the whole rest of the
// file when it is shorter.
char first_line_end(const char* text, size_t size);

#endif  // LINE_READER_H
