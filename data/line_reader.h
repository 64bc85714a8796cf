// Line-by-line reading of a capture file through one large buffer.
#ifndef LINE_READER_H
#define LINE_READER_H

#include <cstddef>
#include <cstdio>

// Hands out the lines of an open file read from its start, each without its
// line end. A UTF-8 byte-order mark at the start of the file is skipped. The
// line end is the newline, unless the first line ends with a carriage return
// that no newline follows (old Mac files): then that carriage return ends
// every line. A carriage return before a newline stays in the line's text.
// The text stays valid until the next call. Every line is checked: one with
// a NUL byte or with more than max_line_length characters before its line
// end (a carriage return before a newline counting as part of the line end)
// ends the process with its "Error:" line. A last line without a line end
// ends at the end of the file.
class LineReader {
 public:
  // Most characters a line may hold before its line end; the source of both
  // the check and the text of its message.
  static constexpr size_t max_line_length = 1000000;

  // Allocates the buffer; ends the process when memory is exhausted. The
  // file must be at its start.
  explicit LineReader(FILE* file);
  ~LineReader();
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  // Makes text and length the next line; false at the end of the file.
  // Ends the process with the cannot-open message when the file cannot be read.
  bool next_line(const char*& text, size_t& length);

  // 1-based number of the line last handed out.
  long line_number() const { return lines_read; }

 private:
  // Reads more of the file after the unread text, which moves to the front.
  void refill();
  // Skips a byte-order mark and chooses the line end from the first line.
  void read_file_start();

  FILE* file;
  char* buffer;
  size_t unread_begin = 0;
  size_t unread_end = 0;
  bool at_end_of_file = false;
  bool at_file_start = true;
  char line_end = '\n';
  long lines_read = 0;
};

#endif  // LINE_READER_H
