#include "motion_data.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cstring>
#include <limits>
#include <new>
#include <vector>

#include "data_line.h"
#include "fault.h"
#include "header_tokens.h"
#include "huge_page_block.h"
#include "joint_series.h"
#include "line_reader.h"
#include "messages.h"
#include "record_memory.h"
#include "side_by_side.h"
#include "two_core_load.h"

namespace {

constexpr size_t stored_name_length = 4;

// Opens a regular file for reading; anything else cannot be a capture. The
// file is opened without blocking, so that a named pipe is turned down at
// once instead of waiting for a writer; reads block again afterwards.
FILE* open_capture(const char* file_name) {
  const int fd = open(file_name, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  struct stat status;
  if (fd < 0 || fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) ||
      fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
    report_fault(messages::cannot_open);
  }
  FILE* file = fdopen(fd, "r");
  if (file == nullptr) report_fault(messages::cannot_open);
  // The reader buffers for itself, so the stream's own buffer would be a copy.
  std::setvbuf(file, nullptr, _IONBF, 0);
  return file;
}

// An array of count elements, or null for a negative count. Ends the process
// when memory is exhausted.
template <typename T>
T* allocate_array(int32_t count) {
  if (count < 0) return nullptr;
  T* array = new (std::nothrow) T[static_cast<size_t>(count)];
  if (array == nullptr) report_fault(messages::out_of_memory);
  return array;
}

// Points sample_times and sample_numbers at sample_count elements each, both
// in one block (allocate_block), so that a long capture's arrays fill with few
// page faults; both null for a negative count. Ends the process when memory
// is exhausted.
void create_sample_arrays(MotionData& data) {
  data.sample_times = nullptr;
  data.sample_numbers = nullptr;
  if (data.sample_count < 0) return;
  const auto count = static_cast<size_t>(data.sample_count);
  void* const block = allocate_block(count * (sizeof(double) + sizeof(int32_t)));
  if (block == nullptr) report_fault(messages::out_of_memory);
  data.sample_times = static_cast<double*>(block);
  data.sample_numbers = reinterpret_cast<int32_t*>(data.sample_times + count);
}

// Reads the header line and checks its first two tokens; the tokens left
// are the column headings of the joints.
HeaderTokens read_header(LineReader& reader) {
  const char* line;
  size_t length;
  if (!reader.next_line(line, length)) report_fault(messages::expecting_first_line);
  HeaderTokens tokens(line, length);
  const char* token;
  size_t size;
  // A token that ends the line carries its newline, so it never matches.
  if (!tokens.next(token, size) || !tokens.token_is("KSample") || tokens.token_ends_line()) {
    report_fault(messages::expecting_ksample);
  }
  if (!tokens.next(token, size) || !tokens.token_is("KTime") || tokens.token_ends_line()) {
    report_fault(messages::expecting_ktime);
  }
  return tokens;
}

// Takes the next heading of a joint; the header ends in the middle of a joint.
void take_heading(HeaderTokens& tokens, const char*& text, size_t& size) {
  if (!tokens.next(text, size)) report_fault(messages::three_headings);
}

// Reads the data lines into the series, which exist, one after the other
// from the start of the file; ends the process on a fault.
void read_rows(FILE* file, MotionData& data) {
  {
    LineReader reader(file);
    const char* line;
    size_t length;
    if (!reader.next_line(line, length)) report_fault(messages::expecting_first_line);
    const std::vector<double*> series = column_series(data);
    for (int32_t row = 0; row < data.sample_count; ++row) {
      if (!reader.next_line(line, length)) report_fault(messages::expecting_data_line);
      store_data_line(line, length, row, series, data.sample_numbers);
    }
  }
  std::rewind(file);
}

// The steps of load_motion_data on a file it opened; returns the cores that
// read passes 1 and 4. On two cores both passes read the pieces of the file
// side by side; when a piece meets a fault, the pass reads the whole file
// again in order, on one core, so that the first fault in the file is the
// one reported, with the same line as on one core.
int load_open_capture(FILE* file, MotionData& data, int cores) {
  FileSplit split;
  const bool pieces =
      cores >= 2 && find_split(file, split) && count_samples_in_pieces(file, data, split);
  if (!pieces) count_samples(file, data);
  count_joints(file, data);
  check_record_fits(data.sample_count, data.joint_count);
  create_sample_arrays(data);
  data.joints = allocate_array<JointTrack>(data.joint_count);
  read_joint_names(file, data);
  create_joint_series(data);
  const bool rows_in_pieces = pieces && read_rows_in_pieces(file, data, split);
  if (!rows_in_pieces) read_rows(file, data);
  std::fclose(file);
  return rows_in_pieces ? 2 : 1;
}

}  // namespace

void load_motion_data(const char* file_name, MotionData& data) {
  FILE* file = open_capture(file_name);
  struct stat status;
  const bool big = fstat(fileno(file), &status) == 0 &&
                   static_cast<size_t>(status.st_size) >= side_by_side_min_bytes;
  load_open_capture(file, data, big ? idle_cores() : 1);
}

int load_motion_data(const char* file_name, MotionData& data, int cores) {
  return load_open_capture(open_capture(file_name), data, cores);
}

void count_samples(FILE* file, MotionData& data) {
  int64_t lines = 0;
  {
    LineReader reader(file);
    const char* line;
    size_t length;
    while (reader.next_line(line, length)) ++lines;
  }
  // More samples than the count can hold could never fit in memory either.
  if (lines - 1 > std::numeric_limits<int32_t>::max()) report_fault(messages::out_of_memory);
  data.sample_count = static_cast<int32_t>(lines - 1);
  std::rewind(file);
}

void count_joints(FILE* file, MotionData& data) {
  data.joint_count = 0;
  {
    LineReader reader(file);
    HeaderTokens tokens = read_header(reader);
    const char* heading;
    size_t size;
    int headings = 0;
    while (tokens.next(heading, size)) ++headings;
    if (headings == 0 || headings % 3 != 0) report_fault(messages::three_headings);
    data.joint_count = headings / 3;
  }
  std::rewind(file);
}

void read_joint_names(FILE* file, MotionData& data) {
  {
    LineReader reader(file);
    HeaderTokens tokens = read_header(reader);
    for (int32_t j = 0; j < data.joint_count; ++j) {
      const char* heading;
      size_t size;
      take_heading(tokens, heading, size);
      const size_t kept = size < stored_name_length ? size : stored_name_length;
      std::memcpy(data.joints[j].name, heading, kept);
      data.joints[j].name[kept] = '\0';
      take_heading(tokens, heading, size);
      take_heading(tokens, heading, size);
    }
  }
  std::rewind(file);
}

void read_samples(FILE* file, MotionData& data) {
  create_joint_series(data);
  read_rows(file, data);
}
