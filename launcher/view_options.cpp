#include "view_options.h"

#include <cstring>
#include <set>

const ViewOption view_options[] = {
    {"--y-up", nullptr, "up", "the recording is Y-up: stand it Z-up"},
    {"--z-up", nullptr, "up", "the recording is Z-up: keep it as it stands"},
    {"--keep-units", nullptr, "--keep-units", "keep the recording's own units"},
    {"--start", "SECONDS", "--start", "show the frames recorded at SECONDS or later"},
    {"--end", "SECONDS", "--end", "show the frames recorded at SECONDS or earlier"},
    {"--every", "N", "--every", "of those, show the first and every N-th after it"},
    {"--follow", nullptr, "--follow", "keep a subject who travels in the middle of the view"},
    {nullptr, nullptr, nullptr, nullptr},
};

const char view_usage[] =
    "Error: usage: capture-view RECORDING [--y-up | --z-up] [--keep-units] [--start SECONDS] "
    "[--end SECONDS] [--every N] [--follow]";

bool read_arguments(int argc, char** argv, std::string& recording,
                    std::vector<std::string>& options) {
  std::set<std::string> groups_given;
  for (int i = 1; i < argc; ++i) {
    const std::string word = argv[i];
    if (word.rfind("--", 0) != 0 && !word.empty() && recording.empty()) {
      recording = word;
      continue;
    }
    const ViewOption* option = view_options;
    while (option->name != nullptr && word != option->name) ++option;
    if (option->name == nullptr || !groups_given.insert(option->group).second) return false;
    options.push_back(word);
    if (option->value != nullptr) {
      if (++i == argc) return false;
      options.push_back(argv[i]);
    }
  }
  return !recording.empty();
}
