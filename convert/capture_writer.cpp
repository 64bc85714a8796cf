#include "capture_writer.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>

#include "conversion_error.h"

namespace {

constexpr size_t buffer_bytes = 1 << 20;
// Longest text of one number with its comma: a double's shortest form takes
// at most 24 characters.
constexpr size_t longest_field = 32;

}  // namespace

CaptureWriter::CaptureWriter(const std::string& target, bool single_precision)
    : target(target), temporary(target + ".partial-XXXXXX"), single_precision(single_precision) {
  const int descriptor = mkstemp(temporary.data());
  if (descriptor >= 0) file = fdopen(descriptor, "wb");
  if (file == nullptr) {
    const int error = errno;
    if (descriptor >= 0) {
      close(descriptor);
      unlink(temporary.c_str());
    }
    throw ConversionError("cannot write " + target + ": " + std::strerror(error));
  }
  // mkstemp makes the file private; the capture gets the usual permissions.
  const mode_t mask = umask(0);
  umask(mask);
  fchmod(descriptor, 0666 & ~mask);
  std::setvbuf(file, nullptr, _IOFBF, buffer_bytes);
}

CaptureWriter::~CaptureWriter() {
  if (committed) return;
  if (file != nullptr) std::fclose(file);
  unlink(temporary.c_str());
}

void CaptureWriter::fail() const {
  throw ConversionError("cannot write " + target + ": " + std::strerror(errno));
}

void CaptureWriter::put(const char* text, size_t length) {
  if (std::fwrite(text, 1, length, file) != length) fail();
  written += length;
}

void CaptureWriter::write_header(const std::vector<std::string>& names) {
  std::string header = "KSample,KTime";
  for (const std::string& name : names) header += "," + name + "_X," + name + "_Y," + name + "_Z";
  header += '\n';
  put(header.data(), header.size());
}

void CaptureWriter::write_frame(const Frame& frame, double seconds) {
  line.resize(longest_field * (2 + 3 * frame.points.size()));
  char* out = line.data();
  char* const end = line.data() + line.size();
  out = std::to_chars(out, end, frame.number).ptr;
  *out++ = ',';
  out = std::to_chars(out, end, seconds).ptr;
  for (const MarkerPoint& point : frame.points) {
    for (double coordinate : {point.x, point.y, point.z}) {
      *out++ = ',';
      if (!point.seen) continue;
      out = single_precision ? std::to_chars(out, end, static_cast<float>(coordinate)).ptr
                             : std::to_chars(out, end, coordinate).ptr;
    }
  }
  *out++ = '\n';
  put(line.data(), static_cast<size_t>(out - line.data()));
}

void CaptureWriter::commit() {
  if (std::fflush(file) != 0 || std::ferror(file) != 0) fail();
  const int closed = std::fclose(file);
  file = nullptr;
  if (closed != 0 || std::rename(temporary.c_str(), target.c_str()) != 0) fail();
  committed = true;
}
