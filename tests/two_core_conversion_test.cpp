// Conversions whose lines are formed on two threads: the same bytes as on
// one core, the first fault in file order reported, and nothing left behind
// by a fault or a write that fails halfway.
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <string>

#include "c3d_builder.h"
#include "capture_generator.h"
#include "child_process.h"
#include "conversion_error.h"
#include "converter.h"
#include "side_by_side.h"
#include "temp_dir.h"

namespace {

// Many batches of lines at 10 markers, more than the threads keep at once.
constexpr int32_t samples = 20000;

std::string generated_capture(const TempDir& dir) {
  CaptureShape shape;
  shape.samples = samples;
  shape.markers = 10;
  const std::string path = dir.path() + "/generated.csv";
  EXPECT_TRUE(write_capture_file(path.c_str(), shape));
  return read_file(path);
}

std::string generated_c3d() {
  C3dDescription d;
  d.labels.assign(10, "M");
  d.frames = samples;
  d.point = [](int64_t f, size_t m) {
    const auto wave = static_cast<int16_t>((f * 7 + static_cast<int64_t>(m) * 131) % 4001 - 2000);
    return StoredPoint{wave, static_cast<int16_t>(-wave), 900, (f + m) % 97 != 0};
  };
  const std::vector<unsigned char> bytes = build_c3d(d);
  return std::string(bytes.begin(), bytes.end());
}

// text with its line `number` (from 1) replaced by `line`.
std::string with_line(std::string text, size_t number, const std::string& line) {
  size_t start = 0;
  for (size_t n = 1; n < number; ++n) start = text.find('\n', start) + 1;
  return text.replace(start, text.find('\n', start) - start, line);
}

// Lets this process start no thread: RLIMIT_NPROC of 0, under a user other
// than root, who is not held to it (root becomes nobody).
bool deny_new_threads() {
  if (getuid() == 0 && setuid(65534) != 0) return false;
  const rlimit none{0, 0};
  return setrlimit(RLIMIT_NPROC, &none) == 0;
}

enum class Cores { one, all, all_but_no_thread_to_be_had };

// Converts input into output in a child process on the cores asked for,
// with files limited to `file_limit` bytes; returns the error's message on
// the child's output, or "converted".
std::string convert_in_child(const std::string& input, const std::string& output, bool fit,
                             Cores cores, rlim_t file_limit = RLIM_INFINITY) {
  return run_in_child([&] {
           cpu_set_t first;
           CPU_ZERO(&first);
           CPU_SET(0, &first);
           if (cores == Cores::one &&
               (sched_setaffinity(0, sizeof first, &first) != 0 || available_cores() != 1))
             _exit(2);
           if (cores == Cores::all_but_no_thread_to_be_had && !deny_new_threads()) _exit(3);
           // A write past the limit then fails with EFBIG instead of killing.
           std::signal(SIGXFSZ, SIG_IGN);
           const rlimit limit{file_limit, file_limit};
           setrlimit(RLIMIT_FSIZE, &limit);
           try {
             convert_recording(input, output, {std::nullopt, false, fit});
             std::printf("converted");
           } catch (const ConversionError& error) {
             std::printf("%s", error.what());
           }
         })
      .out;
}

// Columns: the recording, --fit. Where no thread can be started, the
// conversion goes on with one.
TEST(TwoCoreConversion, WritesTheSameBytesAsOneCore) {
  const TempDir dir("two-cores-");
  // Open to the child that runs as nobody.
  std::filesystem::permissions(dir.path(), std::filesystem::perms::all);
  const std::string capture = dir.write("capture.csv", generated_capture(dir));
  const std::string c3d = dir.write("recording.c3d", generated_c3d());
  for (const auto& [input, fit] :
       {std::pair{capture, false}, {capture, true}, {c3d, false}, {c3d, true}}) {
    SCOPED_TRACE(input + (fit ? " --fit" : ""));
    ASSERT_EQ(convert_in_child(input, dir.path() + "/one.csv", fit, Cores::one), "converted");
    convert_recording(input, dir.path() + "/all.csv", {std::nullopt, false, fit});
    const std::string lines = read_file(dir.path() + "/all.csv");
    EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), samples + 1);
    EXPECT_TRUE(lines == read_file(dir.path() + "/one.csv"));
    const std::string unthreaded = dir.path() + "/unthreaded.csv";
    EXPECT_EQ(convert_in_child(input, unthreaded, fit, Cores::all_but_no_thread_to_be_had),
              "converted");
    EXPECT_TRUE(lines == read_file(unthreaded));
  }
}

// Columns: the lines made bad, the line the error names. An existing
// output stays as it was, and no other file is left, on one core or more.
TEST(TwoCoreConversion, TheFirstFaultInFileOrderIsReportedAndNothingIsWritten) {
  const TempDir dir("two-cores-");
  const std::string capture = generated_capture(dir);
  const std::string output = dir.write("out.csv", "kept");
  const std::string bad_field = "1,0.01,x";
  struct Case {
    std::vector<size_t> bad_lines;
    const char* named;
  };
  const Case cases[] = {
      {{15001}, "line 15001:"}, {{5001, 15001}, "line 5001:"}, {{3, 19999}, "line 3:"}};
  for (const Case& c : cases) {
    std::string text = capture;
    for (size_t line : c.bad_lines) text = with_line(text, line, bad_field);
    const std::string input = dir.write("bad.csv", text);
    for (Cores cores : {Cores::one, Cores::all}) {
      SCOPED_TRACE(std::string(c.named) + (cores == Cores::one ? " one core" : " all cores"));
      EXPECT_NE(convert_in_child(input, output, false, cores).find(c.named), std::string::npos);
      EXPECT_EQ(read_file(output), "kept");
      EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 3);
    }
  }
}

TEST(TwoCoreConversion, AWriteFailingHalfwayLeavesNoFile) {
  const TempDir dir("two-cores-");
  const std::string input = dir.write("capture.csv", generated_capture(dir));
  const std::string output = dir.path() + "/out.csv";
  for (Cores cores : {Cores::one, Cores::all}) {
    SCOPED_TRACE(cores == Cores::one ? "one core" : "all cores");
    EXPECT_EQ(convert_in_child(input, output, false, cores, 1 << 18),
              "cannot write " + output + ": File too large");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
  }
}

}  // namespace
