// Damaged text recordings through capture-convert in a child process, with
// the verdict of the C3D sweep: each must convert with one summary line, or
// end with one "Error:" line, status 1 and no file left behind; never a
// crash, a hang or a sanitizer report. A seed is one row of the table.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "convert_verdict.h"
#include "sweep_runner.h"
#include "temp_dir.h"
#include "text_mutator.h"

namespace {

namespace fs = std::filesystem;

// The seeds, below the fuzz folder, and the delimiter of their cells.
const struct {
  const char* file;
  char delimiter;
} seeds[] = {
    {"text-corpus/qualisys-frame-columns.tsv", '\t'},
    {"text-corpus/qualisys-no-frame-columns.tsv", '\t'},
    {"text-corpus/nexus-small.csv", ','},
    {"text-corpus/motive-small.csv", ','},
    {"text-corpus/opensim-small.trc", '\t'},
    {"text-corpus/spreadsheet-small.trc", ','},
    {"text-corpus/capture-small.csv", ','},
    {"text-corpus/bvh-walk-3-frames.bvh", ' '},
    {"text-corpus/bvh-two-roots.bvh", ' '},
};

constexpr int inputs_per_seed = 250;
constexpr uint64_t first_seed = 20261208;  // input i uses seed first_seed + i
constexpr int workers = 2;
constexpr size_t faults_shown = 20;

std::string seed_path(size_t seed) { return std::string(FUZZ_DIR) + "/" + seeds[seed].file; }

TEST(TextMutationSweep, DamagedRecordingsConvertOrEndWithOneErrorLine) {
  std::vector<std::string> seed_texts;
  for (size_t s = 0; s < std::size(seeds); ++s) seed_texts.push_back(read_file(seed_path(s)));
  TempDir dir("text-mutation-sweep-");
  const int input_count = inputs_per_seed * static_cast<int>(std::size(seeds));

  const SweepTally tally = run_sweep(input_count, workers, [&](int i) {
    const size_t seed = static_cast<size_t>(i) % std::size(seeds);
    std::string edits;
    TextMutator mutator(first_seed + static_cast<uint64_t>(i), seeds[seed].delimiter);
    const std::string name = "mutant-" + std::to_string(i);
    const std::string input = dir.write(name + fs::path(seeds[seed].file).extension().string(),
                                        mutator.mutate(seed_texts[seed], edits));
    const std::string output = dir.path() + "/" + name + "-capture.csv";
    InputVerdict verdict = convert_and_judge(input, output);
    if (verdict.fault.empty()) {
      fs::remove(input);
      fs::remove(output);
    } else {
      verdict.fault = input + " (" + seeds[seed].file + ", " + edits + "): " + verdict.fault;
    }
    return verdict;
  });
  if (!tally.faults.empty()) dir.keep();

  report_sweep(tally, faults_shown,
               "Text mutation sweep: " + std::to_string(input_count) + " inputs from " +
                   std::to_string(std::size(seeds)) + " seeds, seeds " +
                   std::to_string(first_seed) + ".., capture-convert " +
                   (sanitized_build ? "with" : "without") + " sanitizers");
}

// Every seed converts as it is, and every text input kept from fuzzing
// converts or ends with one error line.
TEST(TextMutationSweep, SeedsConvert) {
  TempDir dir("text-seeds-");
  for (size_t s = 0; s < std::size(seeds); ++s) {
    const InputVerdict verdict = convert_and_judge(seed_path(s), dir.path() + "/out.csv");
    EXPECT_EQ(verdict.outcome, "status 0") << seeds[s].file;
    EXPECT_EQ(verdict.fault, "") << seeds[s].file;
    fs::remove(dir.path() + "/out.csv");
  }
  for (const std::string& input : files_with_extension(REGRESSIONS_DIR, ".txt")) {
    EXPECT_EQ(convert_and_judge(input, dir.path() + "/out.csv").fault, "") << input;
    fs::remove(dir.path() + "/out.csv");
  }
}

}  // namespace
