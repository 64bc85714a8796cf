#include "help_text.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

// Each row's first column padded to the widest, then the second.
template <typename Row, typename First, typename Second>
std::string two_columns(const std::vector<Row>& rows, First first, Second second) {
  size_t width = 0;
  for (const Row& row : rows) width = std::max(width, std::strlen(first(row)));
  std::string text;
  for (const Row& row : rows) {
    const std::string name = first(row);
    text += "  " + name + std::string(width - name.size() + 2, ' ') + second(row) + "\n";
  }
  return text;
}

}  // namespace

std::string help_text(const ProgramHelp& program) {
  return std::string("Usage: ") + program.name + " " + program.synopsis + "\n" + program.purpose +
         "\n\nOptions:\n" +
         two_columns(
             program.options, [](const OptionRow& row) { return row.option; },
             [](const OptionRow& row) { return row.meaning; }) +
         "\nFormats read, told by the file's content:\n" +
         two_columns(
             formats_read(), [](const FormatRow& row) { return row.format; },
             [](const FormatRow& row) { return row.recognised_by; });
}

std::string usage_error(const ProgramHelp& program) {
  return std::string("Error: usage: ") + program.name + " " + program.synopsis;
}

bool answered_help_or_version(int argc, char** argv, const ProgramHelp& program) {
  if (argc != 2) return false;
  if (std::strcmp(argv[1], "--help") == 0) {
    std::fputs(help_text(program).c_str(), stdout);
  } else if (std::strcmp(argv[1], "--version") == 0) {
    std::printf("%s %s\n", program.name, project_version());
  } else {
    return false;
  }
  return true;
}
