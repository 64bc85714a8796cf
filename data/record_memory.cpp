#include "record_memory.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/sysinfo.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "fault.h"
#include "joint_series.h"
#include "messages.h"
#include "motion_data.h"

namespace {

constexpr size_t no_limit = std::numeric_limits<size_t>::max();

// a * b, or no_limit when the product does not fit.
size_t saturated_product(size_t a, size_t b) {
  size_t product;
  return __builtin_mul_overflow(a, b, &product) ? no_limit : product;
}

// Pages of the process's whole address space and of its data (data and
// stack), from /proc/self/statm; 0 where it cannot be read. Reads with plain
// system calls, so it needs no memory of its own.
void pages_in_use(size_t& address_space, size_t& data) {
  address_space = 0;
  data = 0;
  const int fd = open("/proc/self/statm", O_RDONLY | O_CLOEXEC);
  if (fd < 0) return;
  char text[128];
  const ssize_t got = read(fd, text, sizeof text - 1);
  close(fd);
  if (got <= 0) return;
  text[got] = '\0';
  // Fields: size resident shared text lib data dirty.
  char* field = text;
  for (int k = 0; k < 6; ++k) {
    const size_t value = std::strtoull(field, &field, 10);
    if (k == 0) address_space = value;
    if (k == 5) data = value;
  }
}

// What the resource limit leaves above the bytes in use; no_limit when unset.
size_t left_under(int resource, size_t bytes_in_use) {
  rlimit limit;
  if (getrlimit(resource, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return no_limit;
  const size_t cap = static_cast<size_t>(limit.rlim_cur);
  return cap > bytes_in_use ? cap - bytes_in_use : 0;
}

}  // namespace

bool record_bytes(size_t sample_count, size_t joint_count, size_t& bytes) {
  size_t sample_arrays, joint_table, series, total;
  if (__builtin_mul_overflow(sample_count, sizeof(int32_t) + sizeof(double), &sample_arrays) ||
      __builtin_mul_overflow(joint_count, sizeof(JointTrack), &joint_table) ||
      !joint_series_bytes(sample_count, joint_count, series) ||
      __builtin_add_overflow(sample_arrays, joint_table, &total) ||
      __builtin_add_overflow(total, series, &total)) {
    return false;
  }
  bytes = total;
  return true;
}

size_t memory_available() {
  size_t available = no_limit;
  struct sysinfo machine;
  if (sysinfo(&machine) == 0) {
    const size_t units =
        static_cast<size_t>(machine.totalram) + static_cast<size_t>(machine.totalswap);
    available = saturated_product(units, machine.mem_unit);
  }
  size_t address_space_pages, data_pages;
  pages_in_use(address_space_pages, data_pages);
  const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  available =
      std::min(available, left_under(RLIMIT_AS, saturated_product(address_space_pages, page)));
  available = std::min(available, left_under(RLIMIT_DATA, saturated_product(data_pages, page)));
  return available;
}

void check_record_fits(int32_t sample_count, int32_t joint_count) {
  size_t bytes = 0;
  if (!record_bytes(static_cast<size_t>(std::max(sample_count, 0)),
                    static_cast<size_t>(std::max(joint_count, 0)), bytes) ||
      bytes > memory_available()) {
    report_fault(messages::out_of_memory);
  }
}
