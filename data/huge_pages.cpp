#include "huge_pages.h"

#include <sys/mman.h>

#include <cstdint>

void advise_huge_pages(void* begin, size_t bytes) {
  const uintptr_t start = reinterpret_cast<uintptr_t>(begin);
  const uintptr_t first = (start + huge_page_bytes - 1) & ~(huge_page_bytes - 1);
  const uintptr_t last = (start + bytes) & ~(huge_page_bytes - 1);
  if (first < last) madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}
