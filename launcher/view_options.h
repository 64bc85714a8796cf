// capture-view's command line: the recording and the options it passes on
// to capture-convert.
#ifndef VIEW_OPTIONS_H
#define VIEW_OPTIONS_H

#include <string>
#include <vector>

// One option: its name, the word for its value (nullptr when it takes
// none) and the options it excludes (its group: one option of a group at
// most). --help describes each (help/).
struct ViewOption {
  const char* name;
  const char* value;
  const char* group;
};

// Every option; ends with a null name.
extern const ViewOption view_options[];

// The recording and the converter's options (each with its value) from the
// command line; false unless there is one recording, every option is known,
// has its value and is given once, and at most one up axis is given. The
// values are checked by capture-convert.
bool read_arguments(int argc, char** argv, std::string& recording,
                    std::vector<std::string>& options);

#endif  // VIEW_OPTIONS_H
