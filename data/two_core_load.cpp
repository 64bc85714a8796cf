#include "two_core_load.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <vector>

#include "data_line.h"
#include "line_reader.h"
#include "side_by_side.h"

namespace {

// The bytes read first at the start and at the middle of the file: nearly
// always enough to find a line end, so that the whole reach of the longest
// line is read only when a line is that long.
constexpr size_t first_read_bytes = size_t{1} << 16;

// Reads up to count bytes at offset into text; returns how many it got,
// fewer only at the end of the file, or -1 when reading fails.
ssize_t read_at(int descriptor, char* text, size_t count, off_t offset) {
  size_t got = 0;
  while (got < count) {
    const ssize_t part =
        pread(descriptor, text + got, count - got, offset + static_cast<off_t>(got));
    if (part < 0 && errno == EINTR) continue;
    if (part < 0) return -1;
    if (part == 0) break;
    got += static_cast<size_t>(part);
  }
  return static_cast<ssize_t>(got);
}

// The two halves of the file as parts for a LineReader.
FilePart first_half(const FileSplit& split) { return {0, split.offset, split.line_end}; }
FilePart second_half(const FileSplit& split) { return {split.offset, -1, split.line_end}; }

// What reading the lines of one half found.
struct HalfCount {
  int64_t lines = 0;
  bool faulted = true;
  bool last_line_ended = false;
};

HalfCount count_lines(FILE* file, const FilePart& part) {
  LineReader reader(file, part);
  HalfCount count;
  const char* line;
  size_t length;
  while (reader.next_line(line, length)) ++count.lines;
  count.faulted = reader.faulted();
  count.last_line_ended = reader.line_was_ended();
  return count;
}

}  // namespace

bool find_split(FILE* file, FileSplit& split) {
  const int descriptor = fileno(file);
  struct stat status;
  if (fstat(descriptor, &status) != 0 || status.st_size <= 0) return false;
  const std::unique_ptr<char[]> text(new (std::nothrow) char[LineReader::file_start_bytes]);
  if (text == nullptr) return false;
  const auto size = static_cast<size_t>(status.st_size);
  // Reads at most `most` bytes at offset into text: a short read first, all
  // of them only when found(bytes read) says the short read is not enough.
  const auto read = [&](size_t offset, size_t most, const auto& found) {
    ssize_t got = read_at(descriptor, text.get(), std::min(most, first_read_bytes),
                          static_cast<off_t>(offset));
    if (got > 0 && static_cast<size_t>(got) < most && !found(static_cast<size_t>(got))) {
      got = read_at(descriptor, text.get(), most, static_cast<off_t>(offset));
    }
    return got > 0 ? static_cast<size_t>(got) : 0;
  };

  // The line end is chosen once a line end, and the byte after it, is read.
  constexpr char line_ends[] = {'\r', '\n'};
  size_t mark = 0;
  const size_t head = read(0, std::min(size, LineReader::file_start_bytes), [&](size_t got) {
    mark = byte_order_mark_length(text.get(), got);
    return std::find_first_of(text.get() + mark, text.get() + got - 1, line_ends, line_ends + 2) <
           text.get() + got - 1;
  });
  if (head == 0) return false;
  mark = byte_order_mark_length(text.get(), head);
  const char line_end = first_line_end(text.get() + mark, head - mark);

  const size_t middle = size / 2;
  const size_t reach = LineReader::max_line_length + 2;
  const size_t searched = read(middle, std::min(size - middle, reach), [&](size_t got) {
    return std::memchr(text.get(), line_end, got) != nullptr;
  });
  const void* found = std::memchr(text.get(), line_end, searched);
  if (found == nullptr) return false;
  split.offset = static_cast<off_t>(
      middle + static_cast<size_t>(static_cast<const char*>(found) - text.get()) + 1);
  split.line_end = line_end;
  return true;
}

bool count_samples_in_halves(FILE* file, MotionData& data, FileSplit& split) {
  HalfCount first, second;
  run_side_by_side([&] { first = count_lines(file, first_half(split)); },
                   [&] { second = count_lines(file, second_half(split)); });
  const int64_t samples = first.lines + second.lines - 1;
  // The first half ends with a line end, where the second begins.
  if (first.faulted || second.faulted || !first.last_line_ended ||
      samples > std::numeric_limits<int32_t>::max()) {
    return false;
  }
  data.sample_count = static_cast<int32_t>(samples);
  split.first_half_rows = static_cast<int32_t>(first.lines - 1);
  return true;
}

bool read_rows_in_halves(FILE* file, MotionData& data, const FileSplit& split) {
  const std::vector<double*> series = column_series(data);
  // Reads the rows from first_row up to end_row from part, after its header
  // line when it has one; true when every one of them was there. The flag
  // lives on the reading thread until the end: the two results share a cache
  // line, which a write per row would pass back and forth between the cores.
  const auto read_rows = [&](const FilePart& part, bool has_header, int32_t first_row,
                             int32_t end_row) {
    LineReader reader(file, part);
    const char* line;
    size_t length;
    bool whole = !has_header || reader.next_line(line, length);
    for (int32_t row = first_row; whole && row < end_row; ++row) {
      whole = reader.next_line(line, length);
      if (whole) store_data_line(line, length, row, series, data.sample_numbers);
    }
    // The first half must end with its last row, where the second begins.
    if (whole && has_header) whole = reader.line_was_ended() && !reader.next_line(line, length);
    return whole && !reader.faulted();
  };
  bool first_whole = false, second_whole = false;
  run_side_by_side(
      [&] { first_whole = read_rows(first_half(split), true, 0, split.first_half_rows); },
      [&] {
        second_whole =
            read_rows(second_half(split), false, split.first_half_rows, data.sample_count);
      });
  return first_whole && second_whole;
}
