#include "sweep_runner.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <thread>

SweepTally run_sweep(int inputs, int workers, const std::function<InputVerdict(int)>& run_input) {
  std::vector<SweepTally> parts(static_cast<size_t>(workers));
  std::vector<std::thread> threads;
  for (int w = 0; w < workers; ++w) {
    threads.emplace_back([&, w] {
      SweepTally& part = parts[static_cast<size_t>(w)];
      for (int i = w; i < inputs; i += workers) {
        const InputVerdict verdict = run_input(i);
        ++part.outcomes[verdict.outcome];
        if (!verdict.fault.empty()) part.faults.push_back(verdict.fault);
      }
    });
  }
  for (std::thread& thread : threads) thread.join();

  SweepTally tally;
  for (const SweepTally& part : parts) {
    for (const auto& [outcome, count] : part.outcomes) tally.outcomes[outcome] += count;
    tally.faults.insert(tally.faults.end(), part.faults.begin(), part.faults.end());
  }
  return tally;
}

void report_sweep(const SweepTally& tally, size_t shown, const std::string& title) {
  for (size_t i = 0; i < tally.faults.size() && i < shown; ++i) ADD_FAILURE() << tally.faults[i];
  std::printf("%s, %zu faults\n", title.c_str(), tally.faults.size());
  for (const auto& [outcome, count] : tally.outcomes)
    std::printf("  %6d  %s\n", count, outcome.c_str());
}
