#include "command_line.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <set>
#include <string>

#include "conversion_error.h"

namespace {

// The number text holds, when it holds one and nothing else.
template <typename Number>
std::optional<Number> number_in(const char* text) {
  Number value{};
  const char* end = text + std::strlen(text);
  const auto [stop, error] = std::from_chars(text, end, value);
  if (end == text || error != std::errc() || stop != end) return std::nullopt;
  return value;
}

// The seconds text holds for option; throws ConversionError unless it is a
// finite decimal number.
double seconds(const char* option, const char* text) {
  const std::optional<double> value = number_in<double>(text);
  if (!value || !std::isfinite(*value)) {
    throw ConversionError(std::string(option) + " takes a number of seconds, not " + text);
  }
  return *value;
}

// Sets the up axis unless one was set already.
bool read_up(ConversionOptions& options, UpAxis up) {
  if (options.up) return false;
  options.up = up;
  return true;
}

}  // namespace

const ConvertOption convert_options[] = {
    {"--y-up", nullptr, [](const char*, ConversionOptions& o) { return read_up(o, UpAxis::y); }},
    {"--z-up", nullptr, [](const char*, ConversionOptions& o) { return read_up(o, UpAxis::z); }},
    {"--keep-units", nullptr,
     [](const char*, ConversionOptions& o) { return o.keep_units = true; }},
    {"--fit", nullptr, [](const char*, ConversionOptions& o) { return o.fit = true; }},
    {"--start", "SECONDS",
     [](const char* v, ConversionOptions& o) { return (o.start = seconds("--start", v)), true; }},
    {"--end", "SECONDS",
     [](const char* v, ConversionOptions& o) { return (o.end = seconds("--end", v)), true; }},
    {"--every", "N",
     [](const char* v, ConversionOptions& o) {
       const std::optional<int64_t> every = number_in<int64_t>(v);
       if (!every || *every < 1) {
         throw ConversionError(std::string("--every takes a whole number of 1 or more, not ") + v);
       }
       o.every = *every;
       return true;
     }},
    {"--follow", nullptr, [](const char*, ConversionOptions& o) { return o.follow = true; }},
    {nullptr, nullptr, nullptr},
};

bool read_command_line(int argc, char** argv, int first, ConversionOptions& options) {
  std::set<std::string> given;
  for (int i = first; i < argc; ++i) {
    const ConvertOption* option = convert_options;
    while (option->name != nullptr && std::strcmp(option->name, argv[i]) != 0) ++option;
    if (option->name == nullptr || !given.insert(option->name).second) return false;
    const char* value = nullptr;
    if (option->value != nullptr) {
      if (++i == argc) return false;
      value = argv[i];
    }
    if (!option->read(value, options)) return false;
  }
  return true;
}
