#include "error_report.h"

#include <FL/Fl.H>
#include <FL/fl_ask.H>
#include <FL/x.H>

#include <csignal>
#include <cstdio>
#include <cstring>

namespace {

bool on_desktop = false;

void show_in_message_box(const std::string& line) {
  // Opened here rather than by the toolkit, which ends the program when
  // there is no display.
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return;
  fl_open_display(display);
  // No child runs any more: Ctrl-C, SIGTERM and SIGHUP end the box at once.
  for (int s : {SIGINT, SIGTERM, SIGHUP}) std::signal(s, SIG_DFL);
  fl_message_title("capture-view");
  fl_alert("%s", line.c_str());
}

}  // namespace

bool take_desktop_option(int& argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--desktop") != 0) continue;
    for (int j = i; j < argc; ++j) argv[j] = argv[j + 1];
    --argc;
    return true;
  }
  return false;
}

void report_errors_on_desktop() { on_desktop = true; }

int report_error(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
  if (on_desktop) show_in_message_box(line);
  return 1;
}
