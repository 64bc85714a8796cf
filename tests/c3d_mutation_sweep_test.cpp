// Damaged C3D files through capture-convert in a child process: each must
// convert with one summary line, or end with one "Error:" line, status 1
// and no file left behind; never a crash, a hang or a sanitizer report. In
// the sanitizer build tree capture-convert is built with AddressSanitizer
// and UndefinedBehaviorSanitizer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "c3d_mutator.h"
#include "child_process.h"
#include "loader_verdict.h"
#include "sweep_runner.h"
#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;

constexpr int input_count = 2000;
constexpr uint64_t first_seed = 20261208;  // input i uses seed first_seed + i
constexpr int workers = 2;
constexpr double time_limit_seconds = 20.0;
constexpr size_t faults_shown = 20;

// The seed C3D files of the fuzzer, in name order, and the regression
// inputs kept from fuzzing.
std::vector<std::string> c3d_files_in(const std::string& dir) {
  std::vector<std::string> paths;
  for (const auto& entry : fs::directory_iterator(dir)) {
    if (entry.is_regular_file() && entry.path().extension() == ".c3d")
      paths.push_back(entry.path());
  }
  std::sort(paths.begin(), paths.end());
  return paths;
}

// The kind of an error line, for the tally: up to its second colon, with
// every number replaced by N ("Error: the C3D parameter section is damaged").
std::string error_kind(const std::string& line) {
  const std::string head = line.substr(0, line.find(':', line.find(':') + 1));
  std::string kind;
  for (size_t i = 0; i < head.size(); ++i) {
    const bool digit = std::isdigit(static_cast<unsigned char>(head[i])) != 0;
    const bool in_word = i > 0 && std::isalpha(static_cast<unsigned char>(head[i - 1])) != 0;
    if (!digit || in_word) {
      kind += head[i];
    } else if (i == 0 || !std::isdigit(static_cast<unsigned char>(head[i - 1]))) {
      kind += 'N';
    }
  }
  return kind;
}

// Converts input into output (in the same folder) and judges the run: the
// outcome for the tally and what was wrong, if anything.
InputVerdict convert_and_judge(const std::string& input, const std::string& output) {
  const ChildResult run = run_child({CAPTURE_CONVERT_PROGRAM, input, output}, "",
                                    loader_environment(), time_limit_seconds);
  const std::string line = run.out.substr(0, run.out.find('\n'));
  InputVerdict verdict{loader_outcome(run), ""};
  if (run.exit_status == 1) verdict.outcome = "status 1: " + error_kind(line);

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

TEST(C3dMutationSweep, DamagedFilesConvertOrEndWithOneErrorLine) {
  const std::vector<std::string> seeds = c3d_files_in(C3D_SEED_DIR);
  ASSERT_FALSE(seeds.empty()) << "no seed files in " << C3D_SEED_DIR;
  std::vector<std::string> seed_bytes;
  for (const std::string& seed : seeds) seed_bytes.push_back(read_file(seed));
  TempDir dir("c3d-mutation-sweep-");

  const SweepTally tally = run_sweep(input_count, workers, [&](int i) {
    std::string edits;
    C3dMutator mutator(first_seed + static_cast<uint64_t>(i));
    const size_t seed = static_cast<size_t>(i) % seeds.size();
    const std::string name = "mutant-" + std::to_string(i);
    const std::string input = dir.write(name + ".c3d", mutator.mutate(seed_bytes[seed], edits));
    const std::string output = dir.path() + "/" + name + ".csv";
    InputVerdict verdict = convert_and_judge(input, output);
    if (verdict.fault.empty()) {
      fs::remove(input);
      fs::remove(output);
    } else {
      verdict.fault = input + " (" + fs::path(seeds[seed]).filename().string() + ", " + edits +
                      "): " + verdict.fault;
    }
    return verdict;
  });
  if (!tally.faults.empty()) dir.keep();

  report_sweep(tally, faults_shown,
               "C3D mutation sweep: " + std::to_string(input_count) + " inputs from " +
                   C3D_SEED_DIR + ", seeds " + std::to_string(first_seed) + ".., capture-convert " +
                   (sanitized_build ? "with" : "without") + " sanitizers");
}

// The fuzzer's seeds and every C3D input that once crashed the reader.
TEST(C3dMutationSweep, SeedAndRegressionFilesConvertOrEndWithOneErrorLine) {
  TempDir dir("c3d-seeds-");
  int tried = 0;
  for (const char* folder : {C3D_SEED_DIR, REGRESSIONS_DIR}) {
    for (const std::string& input : c3d_files_in(folder)) {
      EXPECT_EQ(convert_and_judge(input, dir.path() + "/out.csv").fault, "") << input;
      fs::remove(dir.path() + "/out.csv");
      ++tried;
    }
  }
  EXPECT_GT(tried, 0);
}

}  // namespace
