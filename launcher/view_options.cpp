#include "view_options.h"

#include <cstring>
#include <set>

const ViewOption view_options[] = {
    {"--y-up", nullptr, "up"},
    {"--z-up", nullptr, "up"},
    {"--keep-units", nullptr, "--keep-units"},
    {"--start", "SECONDS", "--start"},
    {"--end", "SECONDS", "--end"},
    {"--every", "N", "--every"},
    {"--follow", nullptr, "--follow"},
    {nullptr, nullptr, nullptr},
};

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
