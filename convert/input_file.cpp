#include "input_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "conversion_error.h"
#include "side_by_side.h"

namespace {

// Closes a descriptor when the opening ends, by return or by throw.
struct Descriptor {
  int fd;
  explicit Descriptor(int fd) : fd(fd) {}
  Descriptor(Descriptor&& other) noexcept : fd(other.fd) { other.fd = -1; }
  Descriptor(const Descriptor&) = delete;
  ~Descriptor() {
    if (fd >= 0) close(fd);
  }
};

[[noreturn]] void cannot_read(const std::string& path, const char* reason) {
  throw ConversionError("cannot read " + path + ": " + reason);
}

// Opens the regular file at path for reading and gives its size.
Descriptor open_regular_file(const std::string& path, size_t& size) {
  Descriptor file{open(path.c_str(), O_RDONLY | O_CLOEXEC)};
  struct stat status {};
  if (file.fd < 0 || fstat(file.fd, &status) != 0) cannot_read(path, std::strerror(errno));
  if (!S_ISREG(status.st_mode)) cannot_read(path, "not a regular file");
  size = static_cast<size_t>(status.st_size);
  return file;
}

}  // namespace

std::vector<unsigned char> read_file_start(const std::string& path, size_t most) {
  size_t size = 0;
  const Descriptor file = open_regular_file(path, size);
  std::vector<unsigned char> start(std::min(size, most));
  size_t done = 0;
  while (done < start.size()) {
    const ssize_t got = read(file.fd, start.data() + done, start.size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) cannot_read(path, std::strerror(errno));
    if (got == 0) break;
    done += static_cast<size_t>(got);
  }
  start.resize(done);
  return start;
}

InputFile::InputFile(const std::string& path) {
  const Descriptor file = open_regular_file(path, length);
  if (length == 0) return;  // nothing to map
  // Populated at once: the readers go through the whole file.
  void* mapping = mmap(nullptr, length, PROT_READ, MAP_PRIVATE | MAP_POPULATE, file.fd, 0);
  if (mapping == MAP_FAILED) cannot_read(path, std::strerror(errno));
  bytes = static_cast<const unsigned char*>(mapping);
  mapped = true;
  if (length >= side_by_side_min_bytes && available_cores() == 2)
    warmer = std::make_unique<PageWarmer>(bytes, length);
}

InputFile::InputFile(std::vector<unsigned char> contents)
    : owned(std::move(contents)), bytes(owned.data()), length(owned.size()) {}

InputFile::InputFile(InputFile&& other) noexcept
    : owned(std::move(other.owned)),
      bytes(std::exchange(other.bytes, nullptr)),
      length(std::exchange(other.length, 0)),
      mapped(std::exchange(other.mapped, false)),
      warmer(std::move(other.warmer)) {}

InputFile::~InputFile() {
  warmer.reset();
  if (mapped) munmap(const_cast<unsigned char*>(bytes), length);
}
