#include "fault.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

void report_fault(const char* message) {
  std::fputs(message, stdout);
  std::fflush(stdout);
  std::exit(1);
}

void report_line_fault(const char* message_format, ...) {
  char message[128];
  va_list values;
  va_start(values, message_format);
  std::vsnprintf(message, sizeof message, message_format, values);
  va_end(values);
  report_fault(message);
}
