// The viewer program's start-up when the name typed at the prompt is not a
// readable file: it must end with the reader's cannot-open line and status 1
// before any window is shown. Needs an X display, like every run of the
// viewer: the program connects to it before it prompts.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>

#include <cstdlib>
#include <string>

#include "child_process.h"
#include "loader_verdict.h"
#include "program_texts.h"
#include "temp_dir.h"

namespace {

constexpr double time_limit_seconds = 30.0;
const std::string capture_text = "KSample,KTime,A_X,A_Y,A_Z\n1,0.0,1,2,3\n";

class StartupInput : public testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "needs an X display"; }

  // Runs the viewer with `name` and a newline typed at its prompt; expects the
  // cannot-open line after the prompt and status 1.
  static void expect_cannot_open(const std::string& name) {
    const ChildResult run =
        run_child({MARKER_VIEWER_PROGRAM}, name + "\n", loader_environment(), time_limit_seconds);
    EXPECT_EQ(run.out, texts::prompt + texts::cannot_open) << name;
    EXPECT_EQ(run.exit_status, 1) << name << ", stderr: " << run.err;
  }

  TempDir dir{"startup-input-"};
};

TEST_F(StartupInput, DirectoryEndsWithCannotOpen) {
  // A directory holding a good capture, named with and without a final slash.
  dir.write("walk.csv", capture_text);
  for (const std::string& name : {dir.path(), dir.path() + "/"}) expect_cannot_open(name);
}

TEST_F(StartupInput, FileWithoutReadPermissionEndsWithCannotOpen) {
  if (geteuid() == 0) {
    GTEST_SKIP() << "running as root, which reads a file whatever its permission bits say";
  }
  const std::string locked = dir.write("locked.csv", capture_text);
  ASSERT_EQ(chmod(locked.c_str(), 0), 0);
  expect_cannot_open(locked);
}

TEST_F(StartupInput, NamedPipeEndsWithCannotOpenAtOnce) {
  // Nobody ever writes to the pipe: opening it for reading could wait forever.
  const std::string pipe = dir.path() + "/capture.fifo";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  const auto start = std::chrono::steady_clock::now();
  expect_cannot_open(pipe);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20))
      << "waited on the pipe";
}

TEST_F(StartupInput, NameWithANulByteEndsWithCannotOpen) {
  // Cut at its NUL byte, each name would open the good capture.
  const std::string good = dir.write("good.csv", capture_text);
  using namespace std::string_literals;
  for (const std::string& name : {good + "\0.bak"s, good + "\0"s, "\0"s + good}) {
    expect_cannot_open(name);
  }
}

}  // namespace
