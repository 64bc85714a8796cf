#include "column_names.h"

#include <map>
#include <set>

namespace {

// label with every character that would split or end a header token
// replaced by '_'.
std::string one_token(const std::string& label) {
  std::string name = label;
  for (char& c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= ' ' || byte == ',' || byte == 0x7F) c = '_';
  }
  return name;
}

}  // namespace

std::vector<std::string> unique_marker_names(const std::vector<std::string>& labels) {
  std::vector<std::string> names;
  std::set<std::string> taken;
  // The next suffix to try per repeated name: those below it are taken, so
  // thousands of repeats (End Sites of one joint) cost no more than one each.
  std::map<std::string, int> next_suffix;
  for (size_t i = 0; i < labels.size(); ++i) {
    const std::string base = labels[i].empty() ? "P" + std::to_string(i + 1) : one_token(labels[i]);
    std::string name = base;
    if (taken.count(name) != 0) {
      int& suffix = next_suffix.try_emplace(base, 2).first->second;
      do name = base + "_" + std::to_string(suffix++);
      while (taken.count(name) != 0);
    }
    taken.insert(name);
    names.push_back(name);
  }
  return names;
}
