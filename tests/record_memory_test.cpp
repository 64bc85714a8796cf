// The record's size and the memory a process can have, checked before a load
// creates any storage.
#include "record_memory.h"

#include <sys/resource.h>
#include <sys/sysinfo.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <limits>

#include <gtest/gtest.h>

#include "child_process.h"
#include "motion_data.h"
#include "sanitized_build.h"

namespace {

constexpr size_t largest_size = std::numeric_limits<size_t>::max();
constexpr size_t mib = size_t{1} << 20;

// Runs check in a child process and returns its exit status: 0 when check
// returned true, 1 when it returned false, -1 when the child was killed.
int status_in_child(const std::function<bool()>& check) {
  return run_in_child([&check] {
           if (!check()) _exit(1);
         })
      .exit_status;
}

TEST(RecordMemory, RecordBytesCountEveryArrayOfTheRecord) {
  // One sample: its number and its time. Every series takes whole 64-byte
  // lines: its values, one spare line, and one more to make an odd count.
  const size_t per_sample = sizeof(int32_t) + sizeof(double);
  const size_t per_joint = sizeof(JointTrack);
  const size_t line = 64;
  // Columns: samples, joints, lines per series, bytes (largest_size: does not
  // fit in a size_t; otherwise 0 asks for the sum of the three parts).
  const struct {
    size_t samples;
    size_t joints;
    size_t series_lines;
    size_t bytes;
  } cases[] = {
      {0, 0, 1, 0},
      {3, 0, 3, 0},
      {0, 2, 1, 0},
      {3, 2, 3, 0},
      {8, 1, 3, 0},
      {16, 1, 3, 0},
      {17, 1, 5, 0},
      // A 101 KB file that asks for 388 MB: 164 joints and 100,000 blank lines.
      {100000, 164, 12501, 0},
      {2147483647, 333333, 268435457, 0},
      {largest_size / 12 + 1, 0, 0, largest_size},
      {0, largest_size / per_joint + 1, 0, largest_size},
      {largest_size / 24 + 1, 1, 0, largest_size},
      {largest_size / 48, 3, 0, largest_size},
      {size_t{1} << 40, size_t{1} << 40, 0, largest_size},
  };
  for (const auto& c : cases) {
    const size_t expected =
        c.bytes == largest_size
            ? largest_size
            : c.samples * per_sample + c.joints * per_joint + 3 * c.joints * c.series_lines * line;
    size_t bytes = 7;
    const bool fits = record_bytes(c.samples, c.joints, bytes);
    EXPECT_EQ(fits, expected != largest_size) << c.samples << " x " << c.joints;
    EXPECT_EQ(bytes, fits ? expected : 7) << c.samples << " x " << c.joints;
  }
}

TEST(RecordMemory, WithoutLimitsThePhysicalMemoryAndSwapAreAvailable) {
  rlimit address_space, data;
  ASSERT_EQ(getrlimit(RLIMIT_AS, &address_space), 0);
  ASSERT_EQ(getrlimit(RLIMIT_DATA, &data), 0);
  if (address_space.rlim_cur != RLIM_INFINITY || data.rlim_cur != RLIM_INFINITY) {
    GTEST_SKIP() << "the test runs under a memory limit";
  }
  struct sysinfo machine;
  ASSERT_EQ(sysinfo(&machine), 0);
  EXPECT_EQ(memory_available(),
            (static_cast<size_t>(machine.totalram) + machine.totalswap) * machine.mem_unit);
}

// Field `index` of /proc/self/statm (0: address space, 5: data and stack),
// in bytes.
size_t bytes_in_use(int index) {
  FILE* statm = std::fopen("/proc/self/statm", "r");
  size_t fields[7] = {};
  for (size_t& field : fields) {
    if (statm == nullptr || std::fscanf(statm, "%zu", &field) != 1) break;
  }
  if (statm != nullptr) std::fclose(statm);
  return fields[index] * static_cast<size_t>(sysconf(_SC_PAGESIZE));
}

TEST(RecordMemory, ALimitLeavesWhatItAllowsAboveTheMemoryInUse) {
  if (sanitized_build)
    GTEST_SKIP() << "AddressSanitizer reserves more address space than any limit";
  // Columns: the limit, the statm field it counts against.
  const struct {
    const char* name;
    int resource;
    int statm_field;
  } limits[] = {{"RLIMIT_AS", RLIMIT_AS, 0}, {"RLIMIT_DATA", RLIMIT_DATA, 5}};
  for (const auto& limit : limits) {
    const int status = status_in_child([&limit] {
      // 64 MiB above what is in use: a little less is left, as memory_available
      // itself may need a page or two.
      const size_t in_use = bytes_in_use(limit.statm_field);
      rlimit above{in_use + 64 * mib, RLIM_INFINITY};
      if (setrlimit(limit.resource, &above) != 0) return false;
      const size_t left = memory_available();
      if (left > 64 * mib || left < 60 * mib) return false;
      // A limit already exceeded leaves nothing.
      rlimit below{in_use / 2, RLIM_INFINITY};
      return setrlimit(limit.resource, &below) == 0 && memory_available() == 0;
    });
    EXPECT_EQ(status, 0) << limit.name;
  }
}

}  // namespace
