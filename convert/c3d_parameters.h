// The parameter section of a C3D file: groups and parameters, found by
// "GROUP:NAME".
#ifndef C3D_PARAMETERS_H
#define C3D_PARAMETERS_H

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "c3d_bytes.h"

// Where one parameter's data lies and how to read it.
struct C3dParameter {
  int type = 0;              // -1 character, 1 byte, 2 16-bit integer, 4 float
  std::vector<size_t> dims;  // empty for a single value
  size_t data = 0;           // file offset of the first element
  size_t element_count = 1;  // product of dims
};

class C3dParameters {
 public:
  // Walks the records of the section that starts at byte `start` of the
  // file, from record to record by each one's offset to the next, up to
  // byte `end` (the data section's start, or the end of the file): writers
  // let the records run on past the block count the section declares.
  // Throws ConversionError when a record runs past end, moves backwards, or
  // has an unknown type or more than 7 dimensions.
  C3dParameters(const C3dBytes& bytes, size_t start, size_t end);

  // The parameter "GROUP:NAME" (upper case), or nullptr when there is none.
  const C3dParameter* find(const std::string& key) const;

  // Element `index` of a numeric parameter (16-bit integers read unsigned),
  // or nothing when the parameter, or that element, is missing or is text.
  std::optional<double> number(const std::string& key, size_t index = 0) const;

  // The strings of a character parameter: dims[0] characters each, trailing
  // blanks and NULs removed; empty when the parameter is missing or not text.
  std::vector<std::string> strings(const std::string& key) const;

 private:
  // Reads the record body of a parameter at `body` (the byte after its
  // offset field) that must end by `limit`.
  C3dParameter read_parameter(size_t body, size_t limit, const std::string& name) const;

  const C3dBytes& bytes;
  std::map<std::string, C3dParameter> parameters;
};

#endif  // C3D_PARAMETERS_H
