#include "input_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "conversion_error.h"

namespace {

// Closes a descriptor when the opening ends, by return or by throw.
struct Descriptor {
  int fd;
  ~Descriptor() {
    if (fd >= 0) close(fd);
  }
};

[[noreturn]] void cannot_read(const std::string& path, const char* reason) {
  throw ConversionError("cannot read " + path + ": " + reason);
}

}  // namespace

InputFile::InputFile(const std::string& path) {
  const Descriptor file{open(path.c_str(), O_RDONLY | O_CLOEXEC)};
  struct stat status {};
  if (file.fd < 0 || fstat(file.fd, &status) != 0) cannot_read(path, std::strerror(errno));
  if (!S_ISREG(status.st_mode)) cannot_read(path, "not a regular file");
  length = static_cast<size_t>(status.st_size);
  if (length == 0) return;  // nothing to map
  // Populated at once: the readers go through the whole file.
  void* mapping = mmap(nullptr, length, PROT_READ, MAP_PRIVATE | MAP_POPULATE, file.fd, 0);
  if (mapping == MAP_FAILED) cannot_read(path, std::strerror(errno));
  bytes = static_cast<const unsigned char*>(mapping);
  mapped = true;
}

InputFile::InputFile(std::vector<unsigned char> contents)
    : owned(std::move(contents)), bytes(owned.data()), length(owned.size()) {}

InputFile::~InputFile() {
  if (mapped) munmap(const_cast<unsigned char*>(bytes), length);
}
