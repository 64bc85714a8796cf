// Start-up: asks for a capture file, loads it and runs the viewer window.
#include <FL/Fl.H>

#include <cctype>
#include <cstdio>
#include <new>

#include "fault.h"
#include "messages.h"
#include "motion_data.h"
#include "viewer_ui.h"

namespace {

constexpr int kFileNameSize = 1000;  // 999 characters and the terminator

// Reads one white-space-delimited word from standard input into name.
// Returns false at end of input, on white space only, and on a word that does
// not fit: a cut name could open a different file.
bool read_file_name(char (&name)[kFileNameSize]) {
  if (std::scanf("%999s", name) != 1) return false;
  const int next = std::getchar();
  return next == EOF || std::isspace(next) != 0;
}

// Memory exhausted anywhere in the start-up ends the program with one line.
void report_out_of_memory() { report_fault(messages::out_of_memory); }

}  // namespace

int main() {
  std::set_new_handler(report_out_of_memory);
  MotionData* data = new MotionData();
  ViewerUI* ui = new ViewerUI();
  ui->set_data(data);
  Fl::visual(FL_DOUBLE | FL_INDEX);

  std::fputs("Please enter a motion capture file: ", stdout);
  std::fflush(stdout);
  char file_name[kFileNameSize];
  // No name is a name the reader cannot open: it then ends the program with
  // its own cannot-open message and status 1.
  load_motion_data(read_file_name(file_name) ? file_name : "", *data);
  data->fill_gaps();

  ui->show();
  return Fl::run();
}
