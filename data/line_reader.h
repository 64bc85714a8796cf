// Line-by-line reading of a capture file through one large buffer.
#ifndef LINE_READER_H
#define LINE_READER_H

#include <cstddef>
#include <cstdio>

// Hands out the lines of an open file from its current position, each
// without its newline. The text stays valid until the next call. Every line
// is checked: one with a NUL byte or with more than max_line_length
// characters before its line end (a newline, or a carriage return and a
// newline) ends the process with its "Error:" line. A last line without a
// newline ends at the end of the file.
class LineReader {
 public:
  // Most characters a line may hold before its line end; the source of both
  // the check and the text of its message.
  static constexpr size_t max_line_length = 1000000;

  // Allocates the buffer; ends the process when memory is exhausted.
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

  FILE* file;
  char* buffer;
  size_t unread_begin = 0;
  size_t unread_end = 0;
  bool at_end_of_file = false;
  long lines_read = 0;
};

#endif  // LINE_READER_H
