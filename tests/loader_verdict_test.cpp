// The sweep's judge must pass every proper ending of a load and catch every
// improper one, or the sweep would prove nothing.
#include "loader_verdict.h"

#include <gtest/gtest.h>

namespace {

ChildResult ended(int status, const std::string& out, const std::string& err = "") {
  ChildResult run;
  run.exit_status = status;
  run.out = out;
  run.err = err;
  return run;
}

ChildResult killed(int signal) {
  ChildResult run;
  run.signal = signal;
  return run;
}

// Columns: what ended so, the run, the tally entry; every one is proper.
struct Proper {
  const char* what;
  ChildResult run;
  const char* outcome;
};

TEST(LoaderVerdict, ProperEndingsPass) {
  const Proper cases[] = {
      {"silent load", ended(0, ""), "status 0"},
      {"load with warnings", ended(0, "The whole data is missing!\nThe whole data is missing!\n"),
       "status 0"},
      {"cannot open", ended(1, "Error:  Cannot open Motion Data file!\n"),
       "status 1: Error:  Cannot open Motion Data file!"},
      {"missing data line", ended(1, "Error:\tExpecting a line of data!\n"),
       "status 1: Error:\tExpecting a line of data!"},
      {"long line 12", ended(1, "Error: Line 12 is longer than 1000000 characters!\n"),
       "status 1: Error: Line N is longer than 1000000 characters!"},
      {"NUL in line 1", ended(1, "Error: Line 1 holds a NUL character!\n"),
       "status 1: Error: Line N holds a NUL character!"},
  };
  for (const Proper& c : cases) {
    EXPECT_EQ(loader_fault(c.run), "") << c.what;
    EXPECT_EQ(loader_outcome(c.run), c.outcome) << c.what;
  }
}

// Columns: what went wrong, the run; every one is a fault.
struct Improper {
  const char* what;
  ChildResult run;
};

TEST(LoaderVerdict, ImproperEndingsAreFaults) {
  ChildResult hung;
  hung.timed_out = true;
  const Improper cases[] = {
      {"segmentation fault", killed(11)},
      {"sanitizer abort", killed(6)},
      {"time limit", hung},
      {"sanitizer report with status 1",
       ended(1, "Error: Expecting Token KTime!\n",
             "==1==ERROR: AddressSanitizer: heap-buffer-overflow")},
      {"runtime error on a good load", ended(0, "", "motion_data.cpp:9: runtime error: overflow")},
      {"status 1 without a line", ended(1, "")},
      {"two error lines",
       ended(1, "Error: Expecting Token KTime!\nError: Expecting Token KTime!\n")},
      {"warning before the error",
       ended(1, "The whole data is missing!\nError:  Cannot open Motion Data file!\n")},
      {"error line without newline", ended(1, "Error: Expecting Token KTime!")},
      {"unknown error line", ended(1, "Error: something else\n")},
      {"the old line limit", ended(1, "Error: Line 2 is longer than 998 characters!\n")},
      {"one blank too few", ended(1, "Error: Cannot open Motion Data file!\n")},
      {"line number 0", ended(1, "Error: Line 0 holds a NUL character!\n")},
      {"no line number", ended(1, "Error: Line  holds a NUL character!\n")},
      {"error line with status 0", ended(0, "Error: Expecting Token KSample!\n")},
      {"cut warning", ended(0, "The whole data is missing!\nThe whole")},
      {"status 2", ended(2, "")},
  };
  for (const Improper& c : cases) EXPECT_NE(loader_fault(c.run), "") << c.what;
}

// A slow machine must not read as a wrong status: the fault names the limit.
TEST(LoaderVerdict, TimeOutIsReportedAsTheDeadline) {
  ChildResult hung;
  hung.timed_out = true;
  hung.time_limit_seconds = 20;
  EXPECT_EQ(loader_fault(hung), "the program did not end within 20 s (deadline)");
}

}  // namespace
