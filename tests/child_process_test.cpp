// The harness that runs the tests' programs: a child killed at its deadline
// is reported as such, and no child outlives the process that started it.
#include "child_process.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace {

// Columns: the program, its time limit, whether it is killed at the limit,
// the failure message a test prints for it.
TEST(ChildProcess, DeadlineMessageSaysTheChildWasKilledAtItsLimit) {
  const struct {
    std::vector<std::string> argv;
    double limit;
    bool timed_out;
    const char* message;
  } cases[] = {
      {{"/bin/sleep", "600"}, 1.0, true, "the program did not end within 1 s (deadline)"},
      {{"/bin/true"}, 120.0, false, ""},
  };
  for (const auto& c : cases) {
    const ChildResult run = run_child(c.argv, "", {}, c.limit);
    EXPECT_EQ(run.timed_out, c.timed_out) << c.argv[0];
    EXPECT_EQ(deadline_message(run), c.message) << c.argv[0];
  }
}

// A test process that dies (a crash) takes its programs with it; before, a
// program left running kept the dead test's output open and ctest waited.
TEST(ChildProcess, ProgramEndsWithTheProcessThatStartedIt) {
  const ChildResult run = run_in_child(
      [] {
        start_child({"/bin/sleep", "600"}, environment_with({}), -1, STDOUT_FILENO, -1);
        _exit(0);
      },
      120.0);
  EXPECT_FALSE(run.timed_out) << "the program kept the output open: " << deadline_message(run);
  EXPECT_EQ(run.exit_status, 0);
}

}  // namespace
