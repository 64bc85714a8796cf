// The program's texts as the tests expect them, written out again here on
// purpose: a typo in the program's own copy (data/messages.h) makes a test
// fail instead of changing what it expects.
#ifndef PROGRAM_TEXTS_H
#define PROGRAM_TEXTS_H

#include <string>
#include <vector>

namespace texts {

// The viewer's prompt for the capture file, with no newline after it.
inline const std::string prompt = "Please enter a motion capture file: ";

// The reader's fault lines.
inline const std::string cannot_open = "Error:  Cannot open Motion Data file!\n";
inline const std::string expecting_first_line = "Error:\tExpecting the first line!\n";
inline const std::string expecting_ksample = "Error: Expecting Token KSample!\n";
inline const std::string expecting_ktime = "Error: Expecting Token KTime!\n";
inline const std::string expecting_data_line = "Error:\tExpecting a line of data!\n";
inline const std::string three_headings = "Error: Expecting three column headings per joint!\n";
inline const std::string out_of_memory = "Error: Not enough memory for the motion data!\n";

// The fault lines that name a line of the file (counted from 1).
inline std::string line_too_long(long line) {
  return "Error: Line " + std::to_string(line) + " is longer than 1000000 characters!\n";
}
inline std::string nul_character(long line) {
  return "Error: Line " + std::to_string(line) + " holds a NUL character!\n";
}

// Gap filling's warning for a series with no value at all.
inline const std::string whole_series_missing = "The whole data is missing!\n";
// That warning `count` times over, as for `count` series with no value.
inline std::string whole_series_missing_times(int count) {
  std::string lines;
  for (int i = 0; i < count; ++i) lines += whole_series_missing;
  return lines;
}

// The starts of the lines that --help of capture-convert and capture-view
// must hold: the usage, each option and each format read.
inline const std::vector<std::string> convert_help_lines = {
    "Usage: capture-convert INPUT OUTPUT [--y-up | --z-up] [--keep-units] [--fit] "
    "[--start SECONDS] [--end SECONDS] [--every N] [--follow]\n",
    "  --y-up ",
    "  --z-up ",
    "  --keep-units ",
    "  --fit ",
    "  --start SECONDS ",
    "  --end SECONDS ",
    "  --every N ",
    "  --follow ",
    "  --help ",
    "  --version "};
inline const std::vector<std::string> view_help_lines = {
    "Usage: capture-view RECORDING [--y-up | --z-up] [--keep-units] [--start SECONDS] "
    "[--end SECONDS] [--every N] [--follow]\n",
    "  --y-up ",
    "  --z-up ",
    "  --keep-units ",
    "  --start SECONDS ",
    "  --end SECONDS ",
    "  --every N ",
    "  --follow ",
    "  --desktop ",
    "  --help ",
    "  --version "};
inline const std::vector<std::string> format_help_lines = {
    "  C3D ",        "  TRC ", "  Qualisys TSV ", "  Vicon Nexus CSV ",
    "  Motive CSV ", "  BVH ", "  capture file "};

// An argument that a program answers on standard output with status 0, and
// the starts of the lines the answer must hold.
struct Answer {
  const char* argument;
  std::vector<std::string> line_starts;
};

// What --help (a program's own lines, then the formats') and --version
// (version_line) must answer.
inline std::vector<Answer> help_and_version_answers(const std::vector<std::string>& help_lines,
                                                    const std::string& version_line) {
  std::vector<std::string> lines = help_lines;
  lines.insert(lines.end(), format_help_lines.begin(), format_help_lines.end());
  return {{"--help", lines}, {"--version", {version_line}}};
}

// The starts of those lines that no line of text begins with.
inline std::vector<std::string> missing_line_starts(const std::string& text,
                                                    const std::vector<std::string>& starts) {
  std::vector<std::string> missing;
  for (const std::string& start : starts) {
    const size_t at = text.find(start);
    if (at == std::string::npos || (at > 0 && text[at - 1] != '\n')) missing.push_back(start);
  }
  return missing;
}

}  // namespace texts

#endif  // PROGRAM_TEXTS_H
