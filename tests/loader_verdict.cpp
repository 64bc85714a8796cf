#include "loader_verdict.h"

#include <algorithm>

#include "line_reader.h"
#include "program_texts.h"

namespace {

// Its error lines about one line of the file: the prefix, the line number
// counted from 1, one of these endings.
const std::string line_prefix = "Error: Line ";
const std::string line_endings[] = {
    " is longer than " + std::to_string(LineReader::max_line_length) + " characters!\n",
    " holds a NUL character!\n",
};

// text with the digits of a line number after line_prefix replaced by "N";
// text itself when it holds no such number.
std::string with_line_number_hidden(const std::string& text) {
  if (text.compare(0, line_prefix.size(), line_prefix) != 0) return text;
  const size_t digits_end = text.find_first_not_of("0123456789", line_prefix.size());
  if (digits_end == line_prefix.size() || text[line_prefix.size()] == '0') return text;
  return line_prefix + "N" + text.substr(std::min(digits_end, text.size()));
}

bool is_error_line(const std::string& text) {
  const std::string shape = with_line_number_hidden(text);
  // The reader's fixed error lines.
  for (const std::string* line :
       {&texts::cannot_open, &texts::expecting_first_line, &texts::expecting_ksample,
        &texts::expecting_ktime, &texts::expecting_data_line, &texts::three_headings,
        &texts::out_of_memory}) {
    if (text == *line) return true;
  }
  for (const std::string& ending : line_endings) {
    if (shape == line_prefix + "N" + ending) return true;
  }
  return false;
}

// True when text is zero or more gap-filling warnings, the only output of a
// good load.
bool only_warnings(const std::string& text) {
  const std::string& warning = texts::whole_series_missing;
  for (size_t at = 0; at < text.size(); at += warning.size()) {
    if (text.compare(at, warning.size(), warning) != 0) return false;
  }
  return true;
}

std::string quoted(const std::string& text) {
  std::string shown;
  for (char c : text.substr(0, 300)) {
    if (c == '\n')
      shown += "\\n";
    else if (c == '\t')
      shown += "\\t";
    else if (c == '\r')
      shown += "\\r";
    else
      shown += c;
  }
  return "\"" + shown + (text.size() > 300 ? "...\"" : "\"");
}

}  // namespace

std::string loader_fault(const ChildResult& run) {
  if (run.timed_out) return deadline_message(run);
  if (run.signal != 0)
    return "killed by signal " + std::to_string(run.signal) + ", stderr " + quoted(run.err);
  if (!run.err.empty()) return "wrote to stderr " + quoted(run.err);
  if (run.exit_status == 0 && !only_warnings(run.out)) {
    return "status 0 with stdout " + quoted(run.out);
  }
  if (run.exit_status == 1 && !is_error_line(run.out)) {
    return "status 1 with stdout " + quoted(run.out);
  }
  if (run.exit_status != 0 && run.exit_status != 1) {
    return "status " + std::to_string(run.exit_status) + ", stdout " + quoted(run.out);
  }
  return "";
}

std::string loader_outcome(const ChildResult& run) {
  if (run.timed_out) return "timed out";
  if (run.signal != 0) return "signal " + std::to_string(run.signal);
  if (run.exit_status != 1) return "status " + std::to_string(run.exit_status);
  const std::string line = run.out.substr(0, run.out.find('\n'));
  return "status 1: " + with_line_number_hidden(line);
}

const std::vector<std::string>& loader_environment() {
  static const std::vector<std::string> environment = {
      "ASAN_OPTIONS=detect_leaks=0:abort_on_error=1",
      "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:abort_on_error=1"};
  return environment;
}
