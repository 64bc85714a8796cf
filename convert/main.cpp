// capture-convert INPUT OUTPUT [--y-up | --z-up] [--keep-units] [--fit]:
// turns a recording into a capture file for the viewer and prints one
// summary line, or one "Error:" line and status 1.
#include <cstdio>
#include <new>
#include <string>

#include "conversion_error.h"
#include "converter.h"
#include "help_text.h"

namespace {

// message with every control character (a name read from a damaged file may
// hold any byte) shown as '?', so the error stays one line.
std::string one_line(std::string message) {
  for (char& c : message) {
    if (static_cast<unsigned char>(c) < ' ' || c == 0x7F) c = '?';
  }
  return message;
}

// Reads the options after INPUT and OUTPUT; false for an unknown one, one
// given twice, or both up axes.
bool read_options(int argc, char** argv, ConversionOptions& options) {
  for (int i = 3; i < argc; ++i) {
    const std::string option = argv[i];
    if ((option == "--y-up" || option == "--z-up") && !options.up) {
      options.up = option == "--y-up" ? UpAxis::y : UpAxis::z;
    } else if (option == "--keep-units" && !options.keep_units) {
      options.keep_units = true;
    } else if (option == "--fit" && !options.fit) {
      options.fit = true;
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (answered_help_or_version(argc, argv, capture_convert_help())) return 0;
  ConversionOptions options;
  if (argc < 3 || !read_options(argc, argv, options)) {
    std::puts(usage_error(capture_convert_help()).c_str());
    return 1;
  }
  try {
    const ConversionSummary summary = convert_recording(argv[1], argv[2], options);
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
