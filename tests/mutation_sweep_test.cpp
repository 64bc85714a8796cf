// Damaged and hostile capture files through the loader program in a child
// process: each must load, or end with one "Error:" line and status 1, and
// never crash, hang or draw a sanitizer report. In the sanitizer build tree
// the loader is built with AddressSanitizer and UndefinedBehaviorSanitizer.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "capture_mutator.h"
#include "child_process.h"
#include "loader_verdict.h"
#include "sweep_runner.h"
#include "temp_dir.h"

namespace {

constexpr int input_count = 3000;
constexpr uint64_t first_seed = 20261208;  // input i uses seed first_seed + i
constexpr int workers = 2;
constexpr double time_limit_seconds = 20.0;
constexpr size_t faults_shown = 20;  // the rest are only counted

ChildResult load(const std::string& capture_path) {
  return run_child({LOAD_CAPTURE_PROGRAM, capture_path}, "", loader_environment(),
                   time_limit_seconds);
}

TEST(MutationSweep, DamagedSampleLoadsOrEndsWithOneErrorLine) {
  const std::string sample = read_file(SAMPLE_CAPTURE);
  ASSERT_FALSE(sample.empty()) << "cannot read " << SAMPLE_CAPTURE;
  TempDir dir("mutation-sweep-");

  const SweepTally tally = run_sweep(input_count, workers, [&](int i) {
    std::string edits;
    CaptureMutator mutator(first_seed + static_cast<uint64_t>(i));
    const std::string name = "mutant-" + std::to_string(i) + ".csv";
    const std::string path = dir.write(name, mutator.mutate(sample, edits));
    const ChildResult run = load(path);
    InputVerdict verdict{loader_outcome(run), loader_fault(run)};
    if (verdict.fault.empty()) {
      std::filesystem::remove(path);
    } else {
      verdict.fault = path + " (" + edits + "): " + verdict.fault;
    }
    return verdict;
  });
  if (!tally.faults.empty()) dir.keep();

  char title[512];
  std::snprintf(title, sizeof title,
                "mutation sweep: %d inputs from %s, seeds %llu.., loader %s sanitizers",
                input_count, SAMPLE_CAPTURE, static_cast<unsigned long long>(first_seed),
                sanitized_build ? "with" : "without");
  report_sweep(tally, faults_shown, title);
}

// The fuzzer's seed corpus and every input that once crashed the loader.
TEST(MutationSweep, SeedAndRegressionInputsLoadOrEndWithOneErrorLine) {
  int tried = 0;
  for (const char* dir : {SEED_CORPUS_DIR, REGRESSIONS_DIR}) {
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
      // .c3d inputs belong to the converter's sweep.
      if (!entry.is_regular_file() || entry.path().filename() == "README.md" ||
          entry.path().extension() == ".c3d") {
        continue;
      }
      EXPECT_EQ(loader_fault(load(entry.path().string())), "") << entry.path();
      ++tried;
    }
  }
  EXPECT_GT(tried, 0) << "no inputs found in " << SEED_CORPUS_DIR;
}

}  // namespace
