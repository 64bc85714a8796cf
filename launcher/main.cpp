// capture-view RECORDING [--y-up | --z-up] [--keep-units] [--start SECONDS]
// [--end SECONDS] [--every N] [--follow] [--desktop]: converts the recording
// with capture-convert --fit (and the options given) into a private
// temporary capture, prints the converter's hints as one "Note:" line,
// answers marker-viewer's prompt with that capture and ends with the
// viewer's status. Both programs are looked for beside capture-view. The
// viewer starts with the conversion, so that its start-up overlaps it, and
// waits at its prompt (see WaitingViewer).
//
// The viewer gets the capture as a descriptor capture-view holds open,
// named /proc/PID/fd/N, and the file and its folder are removed before the
// prompt is answered: nothing stays behind however capture-view or the
// viewer end, even by SIGKILL. Only a SIGKILL during the conversion can
// leave the folder, holding at most the converter's partial file.
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "child_program.h"
#include "error_report.h"
#include "help_text.h"
#include "private_folder.h"
#include "view_options.h"
#include "waiting_viewer.h"

namespace {

// The folder capture-view was started from, with a trailing '/'.
std::string own_folder() {
  char path[4096];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return "./";
  const std::string exe(path, static_cast<size_t>(length));
  return exe.substr(0, exe.rfind('/') + 1);
}

// Points every closed standard descriptor at /dev/null, so that no
// descriptor opened later takes its number.
void open_standard_descriptors() {
  for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
    if (fcntl(fd, F_GETFD) == -1) open("/dev/null", O_RDWR);
  }
}

// Everything readable from fd until its end.
std::string read_all(int fd) {
  std::string text;
  char buffer[4096];
  for (;;) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n > 0) {
      text.append(buffer, static_cast<size_t>(n));
    } else if (n == 0 || errno != EINTR) {
      return text;
    }
  }
}

int fail(const std::string& message) { return report_error("Error: " + message); }

// The hints at the end of the converter's summary line, "Note: ..." with
// its newline, or "" when it gives none.
std::string hints_of(const std::string& summary) {
  const size_t note = summary.rfind(". Note: ");
  return note == std::string::npos ? "" : summary.substr(note + 2);
}

// Converts recording into capture with --fit and prints the converter's
// hints. Returns 0, the status to end with after a signal, or 1 after
// printing the converter's Error: line.
int convert(const std::string& programs, const std::string& recording,
            const std::vector<std::string>& options, const std::string& capture) {
  int output[2];
  const int no_input = open("/dev/null", O_RDONLY | O_CLOEXEC);
  if (no_input < 0 || pipe2(output, O_CLOEXEC) != 0) return fail(std::strerror(errno));
  std::vector<std::string> arguments = {"capture-convert", recording, capture, "--fit"};
  arguments.insert(arguments.end(), options.begin(), options.end());
  ChildProgram converter(programs + "capture-convert", arguments, no_input, output[1]);
  close(no_input);
  close(output[1]);
  const std::string said = converter.running() ? read_all(output[0]) : "";
  close(output[0]);
  if (!converter.running()) return fail(converter.error());
  const int status = converter.wait();
  if (ending_signal() != 0) return 128 + ending_signal();
  if (status == 0) {
    std::fputs(hints_of(said).c_str(), stdout);
    std::fflush(stdout);
    return 0;
  }
  if (said.rfind("Error: ", 0) == 0 && said.find('\n') == said.size() - 1)
    return report_error(said.substr(0, said.size() - 1));
  return fail("capture-convert ended with status " + std::to_string(status));
}

}  // namespace

int main(int argc, char** argv) {
  forward_ending_signals();
  signal(SIGPIPE, SIG_IGN);
  open_standard_descriptors();
  if (take_desktop_option(argc, argv)) report_errors_on_desktop();
  if (answered_help_or_version(argc, argv, capture_view_help())) return 0;
  std::string recording;
  std::vector<std::string> options;
  if (!read_arguments(argc, argv, recording, options))
    return report_error(usage_error(capture_view_help()));
  const std::string programs = own_folder();
  PrivateFolder folder;
  if (!folder.created())
    return fail(std::string("cannot make a temporary folder: ") + std::strerror(errno));
  const std::string capture = folder.path() + "/capture.csv";
  WaitingViewer viewer(programs + "marker-viewer");
  if (!viewer.running()) return fail(viewer.error());
  const int converted = convert(programs, recording, options, capture);
  if (converted != 0) return converted;

  // The viewer reads the capture through this descriptor after the file's
  // name is gone; it stays open until the viewer ends.
  const int capture_fd = open(capture.c_str(), O_RDONLY | O_CLOEXEC);
  const int open_error = errno;
  folder.remove();
  if (capture_fd < 0)
    return fail("cannot open the converted capture: " + std::string(std::strerror(open_error)));
  if (ending_signal() != 0) return 128 + ending_signal();
  const int status =
      viewer.answer("/proc/" + std::to_string(getpid()) + "/fd/" + std::to_string(capture_fd));
  close(capture_fd);
  return status;
}
