#include "page_warmer.h"

#include <system_error>

namespace {

constexpr size_t page_bytes = 4096;

}  // namespace

PageWarmer::PageWarmer(const unsigned char* bytes, size_t length) {
  try {
    toucher = std::thread([this, bytes, length] {
      const volatile unsigned char* const page = bytes;
      for (size_t at = length; at > 0 && !stopping.load(std::memory_order_relaxed);
           at -= at < page_bytes ? at : page_bytes) {
        page[at - 1];
      }
    });
  } catch (const std::system_error&) {
    // No thread to be had: the reader touches the pages itself.
  }
}

PageWarmer::~PageWarmer() {
  stopping.store(true, std::memory_order_relaxed);
  if (toucher.joinable()) toucher.join();
}
