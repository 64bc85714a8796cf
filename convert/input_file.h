// The bytes of an input file: mapped into memory from disk, or handed over
// already in memory.
#ifndef INPUT_FILE_H
#define INPUT_FILE_H

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "page_warmer.h"

// Up to `most` bytes from the start of the regular file at path. Throws
// ConversionError ("cannot read PATH: reason") like InputFile.
std::vector<unsigned char> read_file_start(const std::string& path, size_t most);

class InputFile {
 public:
  // Maps the regular file at path read-only; a file of 1 MiB or more has its
  // pages warmed on the second core, where the process may use two (see
  // PageWarmer). Throws ConversionError ("cannot read PATH: reason") when it
  // cannot be opened or mapped or is no regular file.
  explicit InputFile(const std::string& path);
  // Holds bytes already in memory.
  explicit InputFile(std::vector<unsigned char> bytes);
  // Takes over the mapping or the bytes of other, which is left empty.
  InputFile(InputFile&& other) noexcept;
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  const unsigned char* data() const { return bytes; }
  size_t size() const { return length; }

 private:
  std::vector<unsigned char> owned;
  const unsigned char* bytes = nullptr;
  size_t length = 0;
  bool mapped = false;
  std::unique_ptr<PageWarmer> warmer;  // of the mapping, stopped before it is unmapped
};

#endif  // INPUT_FILE_H
