// What capture-convert and capture-view say about their use: their options,
// one row each, and the recording formats read. `--help` prints these tables
// and the manual pages are made from them, so both always say the same; a
// new option is one more row.
#ifndef PROGRAM_HELP_H
#define PROGRAM_HELP_H

#include <vector>

// One option and what it does, in a few words.
struct OptionRow {
  const char* option;
  const char* meaning;
};

// One recording format the converter reads.
struct FormatRow {
  const char* format;
  const char* recognised_by;
  const char* units_written;
  const char* up_axis_unless_told;
};

// A program's name, its arguments after the name, what it does in one
// sentence, and its options.
struct ProgramHelp {
  const char* name;
  const char* synopsis;
  const char* purpose;
  std::vector<OptionRow> options;
};

const ProgramHelp& capture_convert_help();
const ProgramHelp& capture_view_help();

// The formats read, told by the file's content, never by its name.
const std::vector<FormatRow>& formats_read();

// The project's version, as the package carries it ("1.0.0").
const char* project_version();

#endif  // PROGRAM_HELP_H
