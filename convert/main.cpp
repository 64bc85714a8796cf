// capture-convert INPUT OUTPUT [--y-up | --z-up] [--keep-units] [--fit]
// [--start SECONDS] [--end SECONDS] [--every N] [--follow]:
// turns a recording into a capture file for the viewer and prints one
// summary line, or one "Error:" line and status 1.
#include <cstdio>
#include <new>
#include <string>

#include "command_line.h"
#include "conversion_error.h"
#include "converter.h"
#include "help_text.h"
#include "one_line.h"

int main(int argc, char** argv) {
  if (answered_help_or_version(argc, argv, capture_convert_help())) return 0;
  ConversionOptions options;
  try {
    if (argc < 3 || !read_command_line(argc, argv, 3, options)) {
      std::puts(usage_error(capture_convert_help()).c_str());
      return 1;
    }
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
