// One run of the built program with given standard input, watched by a test.
#ifndef PROGRAM_RUN_H
#define PROGRAM_RUN_H

#include <sys/types.h>

#include <string>
#include <vector>

// How the program's standard streams start: usually input and output on
// pipes to the test and error shared with the test's; or one of them closed;
// or output on a pipe that nobody reads, as in `program | head -c 0`.
enum class Streams { usual, input_closed, output_closed, error_closed, output_unread };

class ProgramRun {
 public:
  // Starts the program with `input` as the whole of its standard input and
  // `arguments` on its command line; its standard output is collected.
  ProgramRun(const std::string& program, const std::string& input,
             const std::vector<std::string>& arguments = {}, Streams streams = Streams::usual);
  // Kills the program if it still runs, so a failed test leaves nothing behind.
  ~ProgramRun();
  ProgramRun(const ProgramRun&) = delete;
  ProgramRun& operator=(const ProgramRun&) = delete;

  // Waits up to `seconds` for the program to end. Returns its exit status, or
  // -1 when it still runs or was ended by a signal.
  int wait_for_exit(double seconds);
  // Everything the program wrote to standard output up to its end.
  std::string output();
  // Id of the program's top-level window titled "Displays the Markers", as
  // the X tools print it, or "" when it shows none.
  std::string window() const;
  // Waits up to `seconds` for that window; "" when it does not appear.
  std::string wait_for_window(double seconds) const;
  // Sends signal_number to the program, as kill(1) would.
  void send_signal(int signal_number) const;

 private:
  pid_t child = -1;
  int output_fd = -1;
  bool ended = false;
  int exit_status = -1;
};

// Runs a shell command, killed after ten seconds, and returns its standard output.
std::string run_command(const std::string& command);

#endif  // PROGRAM_RUN_H
