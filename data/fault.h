// Reporting of faults in the capture file: one line on standard output, then exit.
#ifndef FAULT_H
#define FAULT_H

// Writes message (a whole line, newline included) to standard output and ends
// the process with status 1.
[[noreturn]] void report_fault(const char* message);

// Like report_fault, with the values after message_format (the 1-based line
// number, a long, first) put into it by printf's rules.
[[noreturn]] void report_line_fault(const char* message_format, ...)
    __attribute__((format(printf, 1, 2)));

#endif  // FAULT_H
