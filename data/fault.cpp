#include "fault.h"

#include <cstdio>
#include <cstdlib>

void report_fault(const char* message) {
  std::fputs(message, stdout);
  std::fflush(stdout);
  std::exit(1);
}

void report_line_fault(const char* message_format, long line_number) {
  char message[128];
  std::snprintf(message, sizeof message, message_format, line_number);
  report_fault(message);
}
