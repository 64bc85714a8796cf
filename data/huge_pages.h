// Large blocks of memory on huge pages. On this kind of machine every
// 4 KiB page fault is costly, and a block filled once is touched page by
// page: on 2 MiB pages filling it takes a few faults instead of hundreds.
#ifndef HUGE_PAGES_H
#define HUGE_PAGES_H

#include <cstddef>

// The size of a huge page on x86-64 Linux.
constexpr size_t huge_page_bytes = size_t{2} << 20;

// Asks for huge pages on the 2 MiB-aligned part of [begin, begin + bytes).
// Only advice: without it, or when the kernel declines, the pages are small.
void advise_huge_pages(void* begin, size_t bytes);

#endif  // HUGE_PAGES_H
