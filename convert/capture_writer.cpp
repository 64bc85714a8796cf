#include "capture_writer.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "conversion_error.h"
#include "side_by_side.h"

CaptureWriter::CaptureWriter(const std::string& target, CoordinateDigits digits)
    : target(target),
      temporary(target + ".partial-XXXXXX"),
      lines(
          digits, [this](const char* text, size_t length) { write_all(text, length); },
          available_cores() == 2) {
  descriptor = mkstemp(temporary.data());
  if (descriptor < 0) fail();
  // mkstemp makes the file private; the capture gets the usual permissions.
  const mode_t mask = umask(0);
  umask(mask);
  fchmod(descriptor, 0666 & ~mask);
}

CaptureWriter::~CaptureWriter() {
  // The second thread may be writing to the file until it stops.
  lines.abandon();
  if (committed) return;
  if (descriptor >= 0) {
    close(descriptor);
    unlink(temporary.c_str());
  }
}

void CaptureWriter::fail() const {
  throw ConversionError("cannot write " + target + ": " + std::strerror(errno));
}

void CaptureWriter::write_all(const char* text, size_t length) {
  for (size_t done = 0; done < length;) {
    const ssize_t put = write(descriptor, text + done, length - done);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) fail();
    done += static_cast<size_t>(put);
  }
  written += length;
}

void CaptureWriter::write_header(const std::vector<std::string>& names) {
  std::string header = "KSample,KTime";
  for (const std::string& name : names) header += "," + name + "_X," + name + "_Y," + name + "_Z";
  header += '\n';
  write_all(header.data(), header.size());
}

void CaptureWriter::commit() {
  lines.finish();
  const int closed = close(descriptor);
  descriptor = -1;
  if (closed != 0 || std::rename(temporary.c_str(), target.c_str()) != 0) {
    const int error = errno;
    unlink(temporary.c_str());
    errno = error;
    fail();
  }
  committed = true;
}
