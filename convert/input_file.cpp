#include "input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "conversion_error.h"

namespace {

// Closes a descriptor when the reading ends, by return or by throw.
struct Descriptor {
  int fd;
  ~Descriptor() { close(fd); }
};

[[noreturn]] void cannot_read(const std::string& path, const char* reason) {
  throw ConversionError("cannot read " + path + ": " + reason);
}

}  // namespace

std::vector<unsigned char> read_input_file(const std::string& path) {
  const Descriptor file{open(path.c_str(), O_RDONLY | O_CLOEXEC)};
  struct stat status {};
  if (file.fd < 0 || fstat(file.fd, &status) != 0) cannot_read(path, std::strerror(errno));
  if (!S_ISREG(status.st_mode)) cannot_read(path, "not a regular file");
  std::vector<unsigned char> bytes(static_cast<size_t>(status.st_size));
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t got = read(file.fd, bytes.data() + done, bytes.size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) cannot_read(path, std::strerror(errno));
    if (got == 0) break;
    done += static_cast<size_t>(got);
  }
  bytes.resize(done);
  return bytes;
}
