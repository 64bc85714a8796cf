// Damaged and hostile capture files through the loader program in a child
// process: each must load, or end with one "Error:" line and status 1, and
// never crash, hang or draw a sanitizer report. In the sanitizer build tree
// the loader is built with AddressSanitizer and UndefinedBehaviorSanitizer.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "capture_mutator.h"
#include "child_process.h"
#include "loader_verdict.h"
#include "temp_dir.h"

namespace {

constexpr int kInputs = 3000;
constexpr uint64_t kFirstSeed = 20261208;  // input i uses seed kFirstSeed + i
constexpr int kWorkers = 2;
constexpr double kTimeLimitSeconds = 20.0;
constexpr size_t kFaultsShown = 20;  // the rest are only counted

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
constexpr bool kSanitized = __has_feature(address_sanitizer);
#else
constexpr bool kSanitized = false;
#endif

ChildResult load(const std::string& capture_path) {
  return run_child({LOAD_CAPTURE_PROGRAM, capture_path}, "", loader_environment(),
                   kTimeLimitSeconds);
}

// What one worker of the sweep saw.
struct SweepPart {
  std::map<std::string, int> outcomes;
  std::vector<std::string> faults;
};

// Runs the inputs first, first + step, ... below kInputs.
SweepPart sweep(const std::string& sample, const TempDir& dir, int first, int step) {
  SweepPart part;
  for (int i = first; i < kInputs; i += step) {
    std::string edits;
    CaptureMutator mutator(kFirstSeed + static_cast<uint64_t>(i));
    const std::string name = "mutant-" + std::to_string(i) + ".csv";
    const std::string path = dir.write(name, mutator.mutate(sample, edits));
    const ChildResult run = load(path);
    const std::string fault = loader_fault(run);
    if (fault.empty()) {
      std::filesystem::remove(path);
    } else {
      part.faults.push_back(path + " (" + edits + "): " + fault);
    }
    ++part.outcomes[loader_outcome(run)];
  }
  return part;
}

TEST(MutationSweep, DamagedSampleLoadsOrEndsWithOneErrorLine) {
  const std::string sample = read_file(SAMPLE_CAPTURE);
  ASSERT_FALSE(sample.empty()) << "cannot read " << SAMPLE_CAPTURE;
  TempDir dir("mutation-sweep-");

  std::vector<SweepPart> parts(kWorkers);
  std::vector<std::thread> workers;
  for (int w = 0; w < kWorkers; ++w) {
    workers.emplace_back([&, w] { parts[static_cast<size_t>(w)] = sweep(sample, dir, w, kWorkers); });
  }
  for (std::thread& worker : workers) worker.join();

  std::map<std::string, int> outcomes;
  size_t fault_count = 0;
  for (const SweepPart& part : parts) {
    for (const auto& [outcome, count] : part.outcomes) outcomes[outcome] += count;
    for (const std::string& fault : part.faults) {
      if (++fault_count <= kFaultsShown) ADD_FAILURE() << fault;
    }
  }
  if (fault_count > 0) dir.keep();

  std::printf("mutation sweep: %d inputs from %s, seeds %llu.., loader %s sanitizers, %zu faults\n",
              kInputs, SAMPLE_CAPTURE, static_cast<unsigned long long>(kFirstSeed),
              kSanitized ? "with" : "without", fault_count);
  for (const auto& [outcome, count] : outcomes) std::printf("  %6d  %s\n", count, outcome.c_str());
}

// The fuzzer's seed corpus and every input that once crashed the loader.
TEST(MutationSweep, SeedAndRegressionInputsLoadOrEndWithOneErrorLine) {
  int tried = 0;
  for (const char* dir : {SEED_CORPUS_DIR, REGRESSIONS_DIR}) {
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
      if (!entry.is_regular_file() || entry.path().filename() == "README.md") continue;
      EXPECT_EQ("", loader_fault(load(entry.path().string()))) << entry.path();
      ++tried;
    }
  }
  EXPECT_GT(tried, 0) << "no inputs found in " << SEED_CORPUS_DIR;
}

}  // namespace
