// The one kind of fault the converter reports: bad input or an unwritable
// output, with the text of the line that tells the user what is wrong.
#ifndef CONVERSION_ERROR_H
#define CONVERSION_ERROR_H

#include <stdexcept>
#include <string>

// Thrown by the readers and the writer; caught once, by the program, which
// prints "Error: " and the message, removes its temporary file and ends with
// status 1.
class ConversionError : public std::runtime_error {
 public:
  explicit ConversionError(const std::string& message) : std::runtime_error(message) {}
};

#endif  // CONVERSION_ERROR_H
