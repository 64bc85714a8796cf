#include "c3d_parameters.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <utility>

#include "conversion_error.h"

namespace {

constexpr size_t max_dimensions = 7;

std::string upper_case(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

[[noreturn]] void damaged(const std::string& what) {
  throw ConversionError("the C3D parameter section is damaged: " + what);
}

size_t element_size(int type) { return static_cast<size_t>(std::abs(type)); }

}  // namespace

C3dParameters::C3dParameters(const C3dBytes& bytes, size_t start, size_t end) : bytes(bytes) {
  const size_t limit = std::min(end, bytes.size());

  std::map<int, std::string> group_names;
  std::vector<std::pair<int, std::pair<std::string, C3dParameter>>> found;
  size_t record = start + 4;
  while (record + 2 <= limit) {
    const int name_length = std::abs(static_cast<int>(bytes.signed_byte(record)));
    if (name_length == 0) break;
    const int id = bytes.signed_byte(record + 1);
    const size_t offset_field = record + 2 + static_cast<size_t>(name_length);
    if (offset_field + 2 > limit) damaged("a record runs past the end of the section");
    const std::string name = upper_case(std::string(
        reinterpret_cast<const char*>(bytes.at(record + 2)), static_cast<size_t>(name_length)));
    const int offset = bytes.signed_word(offset_field);
    if (offset < 0) damaged("the record " + name + " points backwards");
    if (id < 0) {
      group_names.emplace(-id, name);
    } else if (id > 0) {
      found.push_back({id, {name, read_parameter(offset_field + 2, limit, name)}});
    }
    if (offset == 0) break;
    if (offset < 2) damaged("the record " + name + " points into itself");
    record = offset_field + static_cast<size_t>(offset);
  }

  for (auto& [group, entry] : found) {
    const auto named = group_names.find(group);
    if (named == group_names.end()) continue;
    parameters.emplace(named->second + ":" + entry.first, std::move(entry.second));
  }
}

C3dParameter C3dParameters::read_parameter(size_t body, size_t limit,
                                           const std::string& name) const {
  C3dParameter parameter;
  if (body + 2 > limit) damaged("the parameter " + name + " runs past the end of the section");
  parameter.type = bytes.signed_byte(body);
  if (parameter.type != -1 && parameter.type != 1 && parameter.type != 2 && parameter.type != 4) {
    damaged("the parameter " + name + " has the unknown type " + std::to_string(parameter.type));
  }
  const size_t dimension_count = bytes.byte(body + 1);
  if (dimension_count > max_dimensions) {
    damaged("the parameter " + name + " has " + std::to_string(dimension_count) + " dimensions");
  }
  parameter.data = body + 2 + dimension_count;
  if (parameter.data > limit)
    damaged("the parameter " + name + " runs past the end of the section");
  for (size_t d = 0; d < dimension_count; ++d) {
    const size_t dimension = bytes.byte(body + 2 + d);
    parameter.dims.push_back(dimension);
    parameter.element_count *= dimension;  // at most 255^7, no overflow
  }
  if (parameter.element_count * element_size(parameter.type) > limit - parameter.data) {
    damaged("the data of the parameter " + name + " runs past the end of the section");
  }
  return parameter;
}

const C3dParameter* C3dParameters::find(const std::string& key) const {
  const auto found = parameters.find(key);
  return found == parameters.end() ? nullptr : &found->second;
}

std::optional<double> C3dParameters::number(const std::string& key, size_t index) const {
  const C3dParameter* parameter = find(key);
  if (parameter == nullptr || parameter->type < 0 || index >= parameter->element_count) {
    return std::nullopt;
  }
  const size_t at = parameter->data + index * element_size(parameter->type);
  switch (parameter->type) {
    case 1: return bytes.byte(at);
    case 2: return bytes.word(at);
    default: return bytes.real(at);
  }
}

std::vector<std::string> C3dParameters::strings(const std::string& key) const {
  std::vector<std::string> texts;
  const C3dParameter* parameter = find(key);
  if (parameter == nullptr || parameter->type != -1) return texts;
  const size_t length = parameter->dims.empty() ? 1 : parameter->dims[0];
  if (length == 0) return texts;
  const size_t count = parameter->element_count / length;
  for (size_t i = 0; i < count; ++i) {
    std::string text(reinterpret_cast<const char*>(bytes.at(parameter->data + i * length)), length);
    const size_t end = text.find_last_not_of(std::string(" \0", 2));
    text.erase(end == std::string::npos ? 0 : end + 1);
    texts.push_back(std::move(text));
  }
  return texts;
}
