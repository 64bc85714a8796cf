// Reporting of faults in the capture file: one line on standard output, then exit.
#ifndef FAULT_H
#define FAULT_H

// Writes message (a whole line, newline included) to standard output and ends
// the process with status 1.
[[noreturn]] void report_fault(const char* message);

// Like report_fault, with the 1-based line number put into a message that
// holds one "%ld" conversion.
[[noreturn]] void report_line_fault(const char* message_format, long line_number);

#endif  // FAULT_H
