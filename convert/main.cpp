// capture-convert INPUT OUTPUT [--y-up]: turns a C3D or TRC recording into a
// capture file for the viewer and prints one summary line, or one "Error:"
// line and status 1.
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "conversion_error.h"
#include "converter.h"

namespace {

// message with every control character (a name read from a damaged file may
// hold any byte) shown as '?', so the error stays one line.
std::string one_line(std::string message) {
  for (char& c : message) {
    if (static_cast<unsigned char>(c) < ' ' || c == 0x7F) c = '?';
  }
  return message;
}

}  // namespace

int main(int argc, char** argv) {
  const bool y_up = argc == 4 && std::strcmp(argv[3], "--y-up") == 0;
  if (argc != 3 && !y_up) {
    std::puts("Error: usage: capture-convert INPUT.c3d|INPUT.trc OUTPUT.csv [--y-up]");
    return 1;
  }
  try {
    const ConversionSummary summary = convert_recording(argv[1], argv[2], y_up);
    std::puts(summary_line(summary).c_str());
  } catch (const ConversionError& error) {
    std::printf("Error: %s\n", one_line(error.what()).c_str());
    return 1;
  } catch (const std::bad_alloc&) {
    std::puts("Error: not enough memory to convert the recording");
    return 1;
  }
  return 0;
}
