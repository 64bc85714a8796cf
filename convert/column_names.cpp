#include "column_names.h"

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
  for (size_t i = 0; i < labels.size(); ++i) {
    const std::string base = labels[i].empty() ? "P" + std::to_string(i + 1) : one_token(labels[i]);
    std::string name = base;
    for (int suffix = 2; taken.count(name) != 0; ++suffix)
      name = base + "_" + std::to_string(suffix);
    taken.insert(name);
    names.push_back(name);
  }
  return names;
}
