#include "two_core_load.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "data_line.h"
#include "line_reader.h"
#include "side_by_side.h"

namespace {

// The bytes read first at the start of the file and at each piece's planned
// start: nearly always enough to find a line end, so that the whole reach of
// the longest line is read only when a line is that long.
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

// Pieces of about this many bytes: enough of them that the core that ends
// first seldom waits long for the other, few enough that finding their
// starts costs nothing worth measuring. Longer than the longest line, so
// that each piece starts past the start of the one before.
constexpr size_t piece_bytes = size_t{1} << 20;
static_assert(piece_bytes > LineReader::max_line_length + 2, "a line ends within every piece");
constexpr size_t most_pieces = 32;

// Runs read_piece(reader, k) for every piece k of split, on two cores: each
// takes the next piece that neither has taken, and reads it with a reader
// of its own.
template <typename ReadPiece>
void read_pieces_side_by_side(FILE* file, const FileSplit& split, const ReadPiece& read_piece) {
  std::atomic<size_t> next_piece{0};
  const std::function<void()> read_pieces = [&] {
    LineReader reader(file, split.piece(0));
    for (size_t k = next_piece++; k < split.starts.size(); k = next_piece++) {
      reader.read_part(split.piece(k));
      read_piece(reader, k);
    }
  };
  run_side_by_side(read_pieces, read_pieces);
}

// What reading the lines of one piece found.
struct PieceCount {
  int64_t lines = 0;
  bool faulted = true;
  bool last_line_ended = false;
};

}  // namespace

FilePart FileSplit::piece(size_t k) const {
  return {starts[k], k + 1 < starts.size() ? starts[k + 1] : -1, line_end};
}

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

  const size_t pieces = std::clamp(size / piece_bytes, size_t{2}, most_pieces);
  const size_t reach = LineReader::max_line_length + 2;
  std::vector<off_t> starts{0};
  for (size_t k = 1; k < pieces; ++k) {
    const size_t planned = size / pieces * k;
    const size_t searched = read(planned, std::min(size - planned, reach), [&](size_t got) {
      return std::memchr(text.get(), line_end, got) != nullptr;
    });
    const void* found = std::memchr(text.get(), line_end, searched);
    // With no line end after it, the rest of the file is one piece.
    if (found == nullptr) break;
    starts.push_back(static_cast<off_t>(
        planned + static_cast<size_t>(static_cast<const char*>(found) - text.get()) + 1));
  }
  if (starts.size() < 2) return false;
  split.starts = std::move(starts);
  split.line_end = line_end;
  return true;
}

bool count_samples_in_pieces(FILE* file, MotionData& data, FileSplit& split) {
  std::vector<PieceCount> counts(split.starts.size());
  read_pieces_side_by_side(file, split, [&counts](LineReader& reader, size_t k) {
    // Counted here, stored once: the counts of pieces share cache lines.
    PieceCount count;
    const char* line;
    size_t length;
    while (reader.next_line(line, length)) ++count.lines;
    count.faulted = reader.faulted();
    count.last_line_ended = reader.line_was_ended();
    counts[k] = count;
  });
  int64_t lines = 0;
  for (size_t k = 0; k < counts.size(); ++k) {
    // Each piece but the last ends with a line end, where the next begins.
    if (counts[k].faulted || (k + 1 < counts.size() && !counts[k].last_line_ended)) return false;
    lines += counts[k].lines;
  }
  if (lines - 1 > std::numeric_limits<int32_t>::max()) return false;
  data.sample_count = static_cast<int32_t>(lines - 1);
  // The header line comes before the rows of every piece but the first.
  split.first_rows.assign(counts.size(), 0);
  int32_t rows = static_cast<int32_t>(counts[0].lines - 1);
  for (size_t k = 1; k < counts.size(); ++k) {
    split.first_rows[k] = rows;
    rows += static_cast<int32_t>(counts[k].lines);
  }
  return true;
}

bool read_rows_in_pieces(FILE* file, MotionData& data, const FileSplit& split) {
  const std::vector<double*> series = column_series(data);
  const size_t pieces = split.starts.size();
  std::vector<char> whole(pieces, 0);
  read_pieces_side_by_side(file, split, [&](LineReader& reader, size_t k) {
    const bool last = k + 1 == pieces;
    const int32_t end_row = last ? data.sample_count : split.first_rows[k + 1];
    const char* line;
    size_t length;
    bool read_all = k > 0 || reader.next_line(line, length);  // the header
    for (int32_t row = split.first_rows[k]; read_all && row < end_row; ++row) {
      read_all = reader.next_line(line, length);
      if (read_all) store_data_line(line, length, row, series, data.sample_numbers);
    }
    // Each piece but the last must end with its last row, where the next begins.
    if (read_all && !last) read_all = reader.line_was_ended() && !reader.next_line(line, length);
    whole[k] = read_all && !reader.faulted();
  });
  return std::all_of(whole.begin(), whole.end(), [](char piece_whole) { return piece_whole != 0; });
}
