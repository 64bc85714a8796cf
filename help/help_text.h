// The answers to --help and --version, and the usage error line, of
// capture-convert and capture-view.
#ifndef HELP_TEXT_H
#define HELP_TEXT_H

#include <string>

#include "program_help.h"

// The usage, one line per option and one per format read, each line ending
// in a newline.
std::string help_text(const ProgramHelp& program);

// "Error: usage: NAME SYNOPSIS", without a newline.
std::string usage_error(const ProgramHelp& program);

// When the only argument is --help or --version, prints its answer on
// standard output and returns true; otherwise prints nothing and returns
// false, and the command line is the program's to read.
bool answered_help_or_version(int argc, char** argv, const ProgramHelp& program);

#endif  // HELP_TEXT_H
