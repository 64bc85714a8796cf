#include "huge_page_block.h"

#include <sys/mman.h>

#include <new>

namespace {

constexpr size_t cache_line = 64;

// The alignment of a block of bytes bytes, the same for both calls.
std::align_val_t alignment(size_t bytes) {
  return std::align_val_t{bytes >= huge_page_bytes ? huge_page_bytes : cache_line};
}

}  // namespace

void* allocate_block(size_t bytes) {
  if (bytes < huge_page_bytes) return operator new[](bytes, alignment(bytes), std::nothrow);
  const size_t rounded = (bytes + huge_page_bytes - 1) & ~(huge_page_bytes - 1);
  if (rounded < bytes) return nullptr;
  void* const block = operator new[](rounded, alignment(bytes), std::nothrow);
  // Only advice: without it, or when the kernel declines, the pages are small.
  if (block != nullptr) madvise(block, rounded, MADV_HUGEPAGE);
  return block;
}

void free_block(void* block, size_t bytes) { operator delete[](block, alignment(bytes)); }
