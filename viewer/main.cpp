// Start-up: asks for a capture file, loads it and runs the viewer window.
#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include <fcntl.h>
#include <unistd.h>

#include <cctype>
#include <csignal>
#include <cstdio>
#include <new>

#include "fault.h"
#include "messages.h"
#include "motion_data.h"
#include "viewer_ui.h"

namespace {

constexpr size_t file_name_size = 1000;  // 999 characters and the terminator

// Reads one white-space-delimited word from standard input into name.
// Returns false at end of input, on white space only, on a word that does
// not fit and on a word with a NUL byte in it: a name cut short, by the
// buffer or by the NUL, could open a different file.
bool read_file_name(char (&name)[file_name_size]) {
  int c = std::getchar();
  while (c != EOF && std::isspace(c) != 0) c = std::getchar();
  size_t length = 0;
  for (; c != EOF && std::isspace(c) == 0; c = std::getchar()) {
    if (length == file_name_size - 1 || c == '\0') return false;
    name[length++] = static_cast<char>(c);
  }
  name[length] = '\0';
  return length > 0;
}

// Points every closed standard descriptor (0 to 2) at /dev/null. Otherwise
// the next descriptor opened, the X connection say, would take its number,
// and the prompt or an error line would be written into it.
void open_standard_descriptors() {
  for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
    // open gives the lowest free number: this one, as those below are open.
    if (fcntl(fd, F_GETFD) == -1) open("/dev/null", O_RDWR);
  }
}

// Memory exhausted anywhere in the start-up ends the program with one line.
void report_out_of_memory() { report_fault(messages::out_of_memory); }

}  // namespace

int main() {
  open_standard_descriptors();
  // Output to a pipe nobody reads fails, which is no reason to die.
  std::signal(SIGPIPE, SIG_IGN);
  std::set_new_handler(report_out_of_memory);
  MotionData* data = new MotionData();
  ViewerUI* ui = new ViewerUI();
  ui->set_data(data);
  Fl::visual(FL_DOUBLE | FL_INDEX);
  // Choosing the view's OpenGL visual loads the driver, a tenth of a second
  // for a software renderer; done here, it passes while the name is typed
  // (or the capture is still being made) instead of after the capture is read.
  ui->view->can_do();
  // Measuring a text of the controls' font reads the font configuration, a
  // hundredth of a second that likewise passes before the window is shown.
  fl_font(FL_HELVETICA, FL_NORMAL_SIZE);
  fl_width("0");

  std::fputs("Please enter a motion capture file: ", stdout);
  std::fflush(stdout);
  char file_name[file_name_size];
  // No name is a name the reader cannot open: it then ends the program with
  // its own cannot-open message and status 1.
  load_motion_data(read_file_name(file_name) ? file_name : "", *data);
  data->fill_gaps();

  ui->show();
  return Fl::run();
}
