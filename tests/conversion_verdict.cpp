#include "conversion_verdict.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "child_process.h"
#include "loader_verdict.h"

namespace {

namespace fs = std::filesystem;

constexpr double time_limit_seconds = 20.0;

// The kind of an error line, for the tally: the line with the input's path
// replaced by INPUT, every number by N and every quoted word by "...", up to
// the colon after its cause ("Error: INPUT: line N: \"...\" is not a number",
// "Error: INPUT: the C3D parameter section is damaged").
std::string error_kind(const std::string& line, const std::string& input) {
  std::string text = line;
  if (const size_t at = text.find(input); at != std::string::npos) {
    text.replace(at, input.size(), "INPUT");
  }
  std::string kind;
  bool quoted = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const bool digit = std::isdigit(static_cast<unsigned char>(c)) != 0;
    const bool in_word = i > 0 && std::isalpha(static_cast<unsigned char>(text[i - 1])) != 0;
    if (c == '"') {
      kind += quoted ? "...\"" : "\"";
      quoted = !quoted;
    } else if (quoted) {
      continue;
    } else if (!digit || in_word) {
      kind += c;
    } else if (i == 0 || !std::isdigit(static_cast<unsigned char>(text[i - 1]))) {
      kind += 'N';
    }
  }
  const std::string prefix = "Error: INPUT: ";
  size_t cause = kind.rfind(prefix, 0) == 0 ? prefix.size() : std::min<size_t>(7, kind.size());
  if (kind.compare(cause, 7, "line N:") == 0) cause += 7;
  return kind.substr(0, kind.find(':', cause));
}

}  // namespace

std::vector<std::string> files_with_extension(const std::string& dir,
                                              const std::string& extension) {
  std::vector<std::string> paths;
  for (const auto& entry : fs::directory_iterator(dir)) {
    if (entry.is_regular_file() && entry.path().extension() == extension)
      paths.push_back(entry.path());
  }
  std::sort(paths.begin(), paths.end());
  return paths;
}

InputVerdict conversion_verdict(const std::string& input, const std::string& output) {
  const ChildResult run = run_child({CAPTURE_CONVERT_PROGRAM, input, output}, "",
                                    loader_environment(), time_limit_seconds);
  const std::string line = run.out.substr(0, run.out.find('\n'));
  InputVerdict verdict{loader_outcome(run), ""};
  if (run.exit_status == 1) verdict.outcome = "status 1: " + error_kind(line, input);

  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(fs::path(output).parent_path())) {
    if (entry.path().string().rfind(output, 0) == 0) left.push_back(entry.path());
  }
  const bool one_line = !run.out.empty() && run.out.find('\n') == run.out.size() - 1;
  const bool error_line = line.rfind("Error: ", 0) == 0;
  if (run.timed_out || run.signal != 0 || !run.err.empty()) {
    verdict.fault = verdict.outcome + ", stderr " + run.err.substr(0, 300);
  } else if (run.exit_status == 0 &&
             !(one_line && !error_line && left == std::vector<std::string>{output})) {
    verdict.fault =
        "status 0 with stdout \"" + run.out + "\" and " + std::to_string(left.size()) + " files";
  } else if (run.exit_status == 1 && !(one_line && error_line && left.empty())) {
    verdict.fault =
        "status 1 with stdout \"" + run.out + "\" and " + std::to_string(left.size()) + " files";
  } else if (run.exit_status != 0 && run.exit_status != 1) {
    verdict.fault = verdict.outcome + " with stdout \"" + run.out + "\"";
  }
  return verdict;
}

InputVerdict mutant_verdict(const TempDir& dir, int index, const std::string& mutant,
                            const std::string& extension, const std::string& seed_path,
                            const std::string& edits) {
  const std::string name = "mutant-" + std::to_string(index);
  const std::string input = dir.write(name + extension, mutant);
  const std::string output = dir.path() + "/" + name + ".csv";
  InputVerdict verdict = conversion_verdict(input, output);
  if (verdict.fault.empty()) {
    fs::remove(input);
    fs::remove(output);
  } else {
    verdict.fault = input + " (" + fs::path(seed_path).filename().string() + ", " + edits +
                    "): " + verdict.fault;
  }
  return verdict;
}
