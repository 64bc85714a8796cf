// capture-view's command line: the recording and the options it passes on
// to capture-convert.
#ifndef VIEW_OPTIONS_H
#define VIEW_OPTIONS_H

#include <string>
#include <vector>

// One option: its name, the word for its value in the usage (nullptr when
// it takes none), the options it excludes (its group: one option of a group
// at most), and what it does.
struct ViewOption {
  const char* name;
  const char* value;
  const char* group;
  const char* meaning;
};

// Every option, in the order the usage line lists them; ends with a null name.
extern const ViewOption view_options[];

// The line printed for a command line read_arguments refuses.
extern const char view_usage[];

// The recording and the converter's options (each with its value) from the
// command line; false unless there is one recording, every option is known,
// has its value and is given once, and at most one up axis is given. The
// values are checked by capture-convert.
bool read_arguments(int argc, char** argv, std::string& recording,
                    std::vector<std::string>& options);

#endif  // VIEW_OPTIONS_H
