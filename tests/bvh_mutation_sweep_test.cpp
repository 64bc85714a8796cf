// Damaged BVH files through capture-convert in a child process: each must
// convert with one summary line, or end with one "Error:" line, status 1
// and no file left behind; never a crash, a hang or a sanitizer report.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "bvh_mutator.h"
#include "conversion_verdict.h"
#include "sweep_runner.h"
#include "temp_dir.h"

namespace {

constexpr int input_count = 600;
constexpr uint64_t first_seed = 20261209;  // input i uses seed first_seed + i
constexpr int workers = 2;
constexpr size_t faults_shown = 20;

TEST(BvhMutationSweep, DamagedFilesConvertOrEndWithOneErrorLine) {
  const std::vector<std::string> seeds = files_with_extension(BVH_SEED_DIR, ".bvh");
  ASSERT_FALSE(seeds.empty()) << "no seed files in " << BVH_SEED_DIR;
  std::vector<std::string> seed_texts;
  for (const std::string& seed : seeds) seed_texts.push_back(read_file(seed));
  TempDir dir("bvh-mutation-sweep-");

  const SweepTally tally = run_sweep(input_count, workers, [&](int i) {
    std::string edits;
    BvhMutator mutator(first_seed + static_cast<uint64_t>(i));
    const size_t seed = static_cast<size_t>(i) % seeds.size();
    const std::string mutant = mutator.mutate(seed_texts[seed], edits);
    return mutant_verdict(dir, i, mutant, ".bvh", seeds[seed], edits);
  });
  if (!tally.faults.empty()) dir.keep();

  report_sweep(tally, faults_shown,
               "BVH mutation sweep: " + std::to_string(input_count) + " inputs from " +
                   BVH_SEED_DIR + ", seeds " + std::to_string(first_seed) + ".., capture-convert " +
                   (sanitized_build ? "with" : "without") + " sanitizers");
}

// The fuzzer's seeds and every BVH input that once crashed the reader.
TEST(BvhMutationSweep, SeedAndRegressionFilesConvertOrEndWithOneErrorLine) {
  TempDir dir("bvh-seeds-");
  int tried = 0;
  for (const char* folder : {BVH_SEED_DIR, REGRESSIONS_DIR}) {
    for (const std::string& input : files_with_extension(folder, ".bvh")) {
      EXPECT_EQ(conversion_verdict(input, dir.path() + "/out.csv").fault, "") << input;
      std::filesystem::remove(dir.path() + "/out.csv");
      ++tried;
    }
  }
  EXPECT_GT(tried, 0);
}

}  // namespace
