#include "text_conversion.h"

#include "conversion_error.h"
#include "temp_dir.h"

std::string convert_text(const std::string& name, const std::string& text,
                         ConversionSummary* summary, const ConversionOptions& options) {
  TempDir dir("conversion-");
  const std::string input = dir.write(name, text);
  const ConversionSummary result = convert_recording(input, dir.path() + "/out.csv", options);
  if (summary != nullptr) *summary = result;
  return read_file(dir.path() + "/out.csv");
}

std::string conversion_error(const std::string& name, const std::string& text) {
  try {
    convert_text(name, text);
  } catch (const ConversionError& error) {
    return error.what();
  }
  return "converted";
}
