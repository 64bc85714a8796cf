// Damaged C3D files through capture-convert in a child process: each must
// convert with one summary line, or end with one "Error:" line, status 1
// and no file left behind; never a crash, a hang or a sanitizer report. In
// the sanitizer build tree capture-convert is built with AddressSanitizer
// and UndefinedBehaviorSanitizer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "c3d_mutator.h"
#include "convert_verdict.h"
#include "sweep_runner.h"
#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;

constexpr int input_count = 2000;
constexpr uint64_t first_seed = 20261208;  // input i uses seed first_seed + i
constexpr int workers = 2;
constexpr size_t faults_shown = 20;

TEST(C3dMutationSweep, DamagedFilesConvertOrEndWithOneErrorLine) {
  const std::vector<std::string> seeds = files_with_extension(C3D_SEED_DIR, ".c3d");
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
    for (const std::string& input : files_with_extension(folder, ".c3d")) {
      EXPECT_EQ(convert_and_judge(input, dir.path() + "/out.csv").fault, "") << input;
      fs::remove(dir.path() + "/out.csv");
      ++tried;
    }
  }
  EXPECT_GT(tried, 0);
}

}  // namespace
