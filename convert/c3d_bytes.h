// The bytes of a C3D file, read as the numbers of its processor type, with
// every read checked against the end of the file.
#ifndef C3D_BYTES_H
#define C3D_BYTES_H

#include <cstddef>
#include <cstdint>
#include <vector>

// How a C3D file stores its numbers (byte 3 of the parameter section).
enum class C3dProcessor : uint8_t {
  intel = 84,  // little-endian, IEEE floats
  dec = 85,    // little-endian integers, VAX F floats
  mips = 86,   // big-endian, IEEE floats
};

// Decodes the 16-bit word at bytes (2 bytes readable). Cannot fail.
uint16_t decode_word(const unsigned char* bytes, C3dProcessor processor);
// Decodes the float at bytes (4 bytes readable); a DEC float with exponent 0
// reads 0, every other DEC value exactly (no infinity or NaN). Cannot fail.
float decode_real(const unsigned char* bytes, C3dProcessor processor);

class C3dBytes {
 public:
  // Keeps a reference to file, which must outlive the object.
  C3dBytes(const std::vector<unsigned char>& file, C3dProcessor processor)
      : file(file), processor(processor) {}

  // Each throws ConversionError when the value does not lie wholly in the file.
  uint8_t byte(size_t at) const;
  int8_t signed_byte(size_t at) const { return static_cast<int8_t>(byte(at)); }
  uint16_t word(size_t at) const;
  int16_t signed_word(size_t at) const { return static_cast<int16_t>(word(at)); }
  float real(size_t at) const;

  // True when the length bytes from `at` lie wholly in the file.
  bool holds(size_t at, size_t length) const {
    return at <= file.size() && length <= file.size() - at;
  }
  // Unchecked pointer to byte `at`, for ranges already checked with holds.
  const unsigned char* at(size_t offset) const { return file.data() + offset; }
  size_t size() const { return file.size(); }
  C3dProcessor processor_type() const { return processor; }

 private:
  // Throws unless length bytes from `at` lie wholly in the file.
  void require(size_t at, size_t length) const;

  const std::vector<unsigned char>& file;
  C3dProcessor processor;
};

#endif  // C3D_BYTES_H
