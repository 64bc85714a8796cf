#include <cstdint>
#include <cstring>

#include <gtest/gtest.h>

#include "huge_page_block.h"

namespace {

// Columns: bytes asked for, the alignment the block must have. Every byte
// asked for must be writable (AddressSanitizer checks the last one).
TEST(HugePageBlock, AlignsLargeBlocksToHugePages) {
  const struct {
    size_t bytes;
    uintptr_t alignment;
  } cases[] = {{0, 64},
               {1, 64},
               {huge_page_bytes - 1, 64},
               {huge_page_bytes, huge_page_bytes},
               {3 * huge_page_bytes + 5, huge_page_bytes}};
  for (const auto& c : cases) {
    auto* const block = static_cast<char*>(allocate_block(c.bytes));
    ASSERT_NE(block, nullptr) << c.bytes;
    EXPECT_EQ(reinterpret_cast<uintptr_t>(block) % c.alignment, 0u) << c.bytes;
    if (c.bytes > 0) std::memset(block, 1, c.bytes);
    free_block(block, c.bytes);
  }
}

}  // namespace
