// capture-convert's options: what each does, and reading them.
#ifndef COMMAND_LINE_H
#define COMMAND_LINE_H

#include "converter.h"

// One option: its name, the word for its value (nullptr when it takes
// none), and how it sets ConversionOptions from that value (false when it
// clashes with one read before). --help describes each (help/).
struct ConvertOption {
  const char* name;
  const char* value;
  bool (*read)(const char* value, ConversionOptions& options);
};

// Every option; ends with a null name.
extern const ConvertOption convert_options[];

// Reads argv[first] to argv[argc - 1] into options. Returns false for an
// unknown option, one given twice, both up axes, or an option without its
// value. Throws ConversionError for a value that is not what its option
// takes: SECONDS a finite decimal number (not nan, inf or 1.5s), N a whole
// number of 1 or more. (convert_recording checks that END is not before
// START.)
bool read_command_line(int argc, char** argv, int first, ConversionOptions& options);

#endif  // COMMAND_LINE_H
