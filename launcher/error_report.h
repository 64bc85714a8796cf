// capture-view's Error: lines. Each goes to standard output; for a start
// from the desktop (--desktop), which has no terminal to read it on, it is
// also shown in the toolkit's message box.
#ifndef ERROR_REPORT_H
#define ERROR_REPORT_H

#include <string>

// Removes the first --desktop from the command line and returns whether
// there was one; a second one stays, for the usage check to refuse.
bool take_desktop_option(int& argc, char** argv);

// Shows every later reported line in a message box too.
void report_errors_on_desktop();

// Prints line (an "Error: ..." line, without its newline) on standard
// output and, on the desktop, shows it in a message box until the user
// closes it. When no X display can be opened the box is left out. Returns
// 1, the status to end with.
int report_error(const std::string& line);

#endif  // ERROR_REPORT_H
