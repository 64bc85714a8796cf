#include "convert_verdict.h"

#include <algorithm>

#include <cctype>
#include <filesystem>
#include <vector>

#include "child_process.h"
#include "loader_verdict.h"

namespace {

namespace fs = std::filesystem;

constexpr double time_limit_seconds = 20.0;

}  // namespace

std::string error_kind(const std::string& line, const std::string& input) {
  std::string message = line;
  const size_t at = message.find(input);
  if (at != std::string::npos) message.replace(at, input.size(), "FILE");
  std::string kind;
  for (size_t i = 0; i < message.size(); ++i) {
    const bool digit = std::isdigit(static_cast<unsigned char>(message[i])) != 0;
    const bool in_word = i > 0 && std::isalpha(static_cast<unsigned char>(message[i - 1])) != 0;
    if (!digit || in_word) {
      kind += message[i];
    } else if (i == 0 || !std::isdigit(static_cast<unsigned char>(message[i - 1]))) {
      kind += 'N';
    }
  }
  // The cause alone: up to its first colon, a leading "line N: " kept.
  size_t cause = kind.rfind("Error: FILE: ", 0) == 0 ? 13 : 7;
  if (kind.compare(cause, 8, "line N: ") == 0) cause += 8;
  return kind.substr(0, kind.find(':', cause));
}

InputVerdict convert_and_judge(const std::string& input, const std::string& output) {
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

std::vector<std::string> files_with_extension(const std::string& dir,
                                              const std::string& extension) {
  std::vector<std::string> paths;
  for (const auto& entry : fs::directory_iterator(dir)) {
    if (entry.is_regular_file() && entry.path().extension() == extension) {
      paths.push_back(entry.path());
    }
  }
  std::sort(paths.begin(), paths.end());
  return paths;
}
