// Reading a whole input file into memory.
#ifndef INPUT_FILE_H
#define INPUT_FILE_H

#include <string>
#include <vector>

// The bytes of the regular file at path. Throws ConversionError ("cannot
// read PATH: reason") when it cannot be opened or read or is no regular file.
// Allocates the file's size.
std::vector<unsigned char> read_input_file(const std::string& path);

#endif  // INPUT_FILE_H
