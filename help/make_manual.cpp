// make-manual TEMPLATE OUTPUT: writes a manual page from its roff template,
// with @VERSION@ replaced by the project's version and each line that is
// only @CAPTURE_CONVERT_OPTIONS@, @CAPTURE_VIEW_OPTIONS@ or @FORMATS@
// replaced by that table, so the manual lists what --help lists.
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "program_help.h"

namespace {

// text with roff's escape character escaped, and with every '-' a minus
// sign (\-) when all_minus, else only one that starts a word ("-z").
std::string roff(const std::string& text, bool all_minus) {
  std::string escaped;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\') {
      escaped += "\\e";
    } else if (text[i] == '-' &&
               (all_minus || i == 0 || text[i - 1] == ' ' || text[i - 1] == '(')) {
      escaped += "\\-";
    } else {
      escaped += text[i];
    }
  }
  return escaped;
}

std::string options_list(const ProgramHelp& program) {
  std::string list;
  for (const OptionRow& row : program.options)
    list += ".TP\n.B " + roff(row.option, true) + "\n" + roff(row.meaning, false) + "\n";
  return list;
}

std::string text_block(const char* text) { return "T{\n" + roff(text, false) + "\nT}"; }

// Left-aligned and not hyphenated: the narrow columns leave no room to
// stretch a line.
std::string formats_table() {
  std::string table =
      ".ad l\n.nh\n.TS\ntab(|);\nlb lb lb lb\nl lx lx lx.\n"
      "format|recognised by|units written|up axis unless told\n";
  for (const FormatRow& row : formats_read()) {
    table += roff(row.format, false) + "|" + text_block(row.recognised_by) + "|" +
             text_block(row.units_written) + "|" + text_block(row.up_axis_unless_told) + "\n";
  }
  return table + ".TE\n.hy\n.ad b\n";
}

// line with every @VERSION@ replaced.
std::string with_version(std::string line) {
  const std::string key = "@VERSION@";
  for (size_t at = line.find(key); at != std::string::npos; at = line.find(key, at))
    line.replace(at, key.size(), project_version());
  return line;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cout << "Error: usage: make-manual TEMPLATE OUTPUT\n";
    return 1;
  }
  std::ifstream in(argv[1]);
  if (!in) {
    std::cout << "Error: cannot read " << argv[1] << "\n";
    return 1;
  }
  std::ostringstream page;
  for (std::string line; std::getline(in, line);) {
    if (line == "@CAPTURE_CONVERT_OPTIONS@") {
      page << options_list(capture_convert_help());
    } else if (line == "@CAPTURE_VIEW_OPTIONS@") {
      page << options_list(capture_view_help());
    } else if (line == "@FORMATS@") {
      page << formats_table();
    } else {
      page << with_version(line) << "\n";
    }
  }
  std::ofstream out(argv[2]);
  if (!(out << page.str()) || !out.flush()) {
    std::cout << "Error: cannot write " << argv[2] << "\n";
    return 1;
  }
  return 0;
}
