#include "capture_writer.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>

#include "conversion_error.h"
#include "decimal_text.h"

namespace {

constexpr size_t buffer_bytes = 1 << 20;
// Room for one number with its comma: a double's shortest form takes at
// most 24 characters, a 64-bit frame number 20.
constexpr size_t longest_field = 32;

}  // namespace

CaptureWriter::CaptureWriter(const std::string& target, bool single_precision)
    : target(target), temporary(target + ".partial-XXXXXX"), single_precision(single_precision) {
  descriptor = mkstemp(temporary.data());
  if (descriptor < 0) fail();
  // mkstemp makes the file private; the capture gets the usual permissions.
  const mode_t mask = umask(0);
  umask(mask);
  fchmod(descriptor, 0666 & ~mask);
  buffer.resize(buffer_bytes);
}

CaptureWriter::~CaptureWriter() {
  if (committed) return;
  if (descriptor >= 0) {
    close(descriptor);
    unlink(temporary.c_str());
  }
}

void CaptureWriter::fail() const {
  throw ConversionError("cannot write " + target + ": " + std::strerror(errno));
}

void CaptureWriter::flush_buffer() {
  for (size_t done = 0; done < filled;) {
    const ssize_t put = write(descriptor, buffer.data() + done, filled - done);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) fail();
    done += static_cast<size_t>(put);
  }
  written += filled;
  filled = 0;
}

char* CaptureWriter::room(size_t length) {
  if (filled + length > buffer.size()) flush_buffer();
  if (length > buffer.size()) buffer.resize(length);
  return buffer.data() + filled;
}

void CaptureWriter::write_header(const std::vector<std::string>& names) {
  std::string header = "KSample,KTime";
  for (const std::string& name : names) header += "," + name + "_X," + name + "_Y," + name + "_Z";
  header += '\n';
  std::memcpy(room(header.size()), header.data(), header.size());
  filled += header.size();
}

void CaptureWriter::write_frame(const Frame& frame, double seconds) {
  const size_t longest = longest_field * (2 + 3 * frame.points.size());
  char* const start = room(longest);
  char* const end = start + longest;
  char* out = std::to_chars(start, end, frame.number).ptr;
  *out++ = ',';
  out = write_shortest(out, seconds);
  for (const MarkerPoint& point : frame.points) {
    if (!point.seen) {
      std::memcpy(out, ",,,", 3);
      out += 3;
      continue;
    }
    for (double coordinate : {point.x, point.y, point.z}) {
      *out++ = ',';
      out = single_precision ? std::to_chars(out, end, static_cast<float>(coordinate)).ptr
                             : write_shortest(out, coordinate);
    }
  }
  *out++ = '\n';
  filled += static_cast<size_t>(out - start);
}

void CaptureWriter::commit() {
  flush_buffer();
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
