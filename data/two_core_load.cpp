#include "two_core_load.h"

#include <pthread.h>
#include <sched.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <new>
#include <thread>
#include <vector>

#include "data_line.h"
#include "line_reader.h"

namespace {

// The second core's thread only reads lines and converts numbers: a small
// stack keeps its share of the address space small too.
constexpr size_t helper_stack_bytes = size_t{1} << 20;

// Runs task on the thread that pthread_create starts.
void* run_task(void* task) {
  (*static_cast<const std::function<void()>*>(task))();
  return nullptr;
}

// Runs second on a new thread and first on this one, and waits for both.
// When no thread can be started, runs both here, one after the other.
void run_side_by_side(const std::function<void()>& first, const std::function<void()>& second) {
  pthread_attr_t attributes;
  pthread_t helper;
  bool started = pthread_attr_init(&attributes) == 0;
  if (started) {
    started = pthread_attr_setstacksize(&attributes, helper_stack_bytes) == 0 &&
              pthread_create(&helper, &attributes, run_task,
                             const_cast<std::function<void()>*>(&second)) == 0;
    pthread_attr_destroy(&attributes);
  }
  first();
  if (started) {
    pthread_join(helper, nullptr);
  } else {
    second();
  }
}

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

int available_cores() {
  cpu_set_t cores;
  const int count = sched_getaffinity(0, sizeof cores, &cores) == 0
                        ? CPU_COUNT(&cores)
                        : static_cast<int>(std::thread::hardware_concurrency());
  return count >= 2 ? 2 : 1;
}

bool find_split(FILE* file, FileSplit& split) {
  const int descriptor = fileno(file);
  struct stat status;
  if (fstat(descriptor, &status) != 0 || status.st_size <= 0) return false;
  const std::unique_ptr<char[]> text(new (std::nothrow) char[LineReader::file_start_bytes]);
  if (text == nullptr) return false;
  const auto size = static_cast<size_t>(status.st_size);

  const ssize_t head =
      read_at(descriptor, text.get(), std::min(size, LineReader::file_start_bytes), 0);
  if (head <= 0) return false;
  const size_t mark = byte_order_mark_length(text.get(), static_cast<size_t>(head));
  const char line_end = first_line_end(text.get() + mark, static_cast<size_t>(head) - mark);

  const size_t middle = size / 2;
  const size_t reach = LineReader::max_line_length + 2;
  const ssize_t searched =
      read_at(descriptor, text.get(), std::min(size - middle, reach), static_cast<off_t>(middle));
  if (searched <= 0) return false;
  const void* found = std::memchr(text.get(), line_end, static_cast<size_t>(searched));
  if (found == nullptr) return false;
  split.offset = static_cast<off_t>(middle) + (static_cast<const char*>(found) - text.get()) + 1;
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
  // line when it has one; true when every one of them was there.
  const auto read_rows = [&](const FilePart& part, bool has_header, int32_t first_row,
                             int32_t end_row, bool& whole) {
    LineReader reader(file, part);
    const char* line;
    size_t length;
    whole = !has_header || reader.next_line(line, length);
    for (int32_t row = first_row; whole && row < end_row; ++row) {
      whole = reader.next_line(line, length);
      if (whole) store_data_line(line, length, row, series, data.sample_numbers);
    }
    // The first half must end with its last row, where the second begins.
    if (whole && has_header) whole = reader.line_was_ended() && !reader.next_line(line, length);
    whole = whole && !reader.faulted();
  };
  bool first_whole = false, second_whole = false;
  run_side_by_side(
      [&] { read_rows(first_half(split), true, 0, split.first_half_rows, first_whole); },
      [&] {
        read_rows(second_half(split), false, split.first_half_rows, data.sample_count,
                  second_whole);
      });
  return first_whole && second_whole;
}
