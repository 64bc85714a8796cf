// Converting a recording written by a test, in-process, for the readers'
// tables of fixtures.
#ifndef TEXT_CONVERSION_H
#define TEXT_CONVERSION_H

#include <string>

#include "converter.h"

// The capture that convert_recording writes for a file named `name` holding
// `text`, in a temporary folder; its summary in *summary when given. By
// default the values as the file holds them: Z-up, in recorded units.
// Throws what convert_recording throws.
std::string convert_text(const std::string& name, const std::string& text,
                         ConversionSummary* summary = nullptr,
                         const ConversionOptions& options = {UpAxis::z, true});

// The message convert_recording throws for such a file, or "converted"
// when it converts.
std::string conversion_error(const std::string& name, const std::string& text);

#endif  // TEXT_CONVERSION_H
