// The bytes of a C3D file, read as the numbers of its processor type, with
// every read checked against the end of the file.
#ifndef C3D_BYTES_H
#define C3D_BYTES_H

#include <cstddef>
#include <cstdint>
#include <cstring>

// How a C3D file stores its numbers (byte 3 of the parameter section).
enum class C3dProcessor : uint8_t {
  intel = 84,  // little-endian, IEEE floats
  dec = 85,    // little-endian integers, VAX F floats
  mips = 86,   // big-endian, IEEE floats
};

// Decodes the 16-bit word at bytes (2 bytes readable). Cannot fail. Inline:
// it runs for every value of every frame.
inline uint16_t decode_word(const unsigned char* bytes, C3dProcessor processor) {
  if (processor == C3dProcessor::mips) return static_cast<uint16_t>(bytes[0] << 8 | bytes[1]);
  return static_cast<uint16_t>(bytes[1] << 8 | bytes[0]);
}

// A VAX F float from its four bytes read as a little-endian word: 0 when
// its exponent is 0, else its exact value (no infinity or NaN).
float vax_from_bits(uint32_t little_endian_bits);

// Decodes the float at bytes (4 bytes readable). Cannot fail. Inline, like
// decode_word.
inline float decode_real(const unsigned char* bytes, C3dProcessor processor) {
  uint32_t bits =
      processor == C3dProcessor::mips
          ? uint32_t{bytes[0]} << 24 | uint32_t{bytes[1]} << 16 | uint32_t{bytes[2]} << 8 | bytes[3]
          : uint32_t{bytes[3]} << 24 | uint32_t{bytes[2]} << 16 | uint32_t{bytes[1]} << 8 |
                bytes[0];
  if (processor == C3dProcessor::dec) return vax_from_bits(bits);
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

class C3dBytes {
 public:
  // Reads the length bytes at data, which must outlive the object.
  C3dBytes(const unsigned char* data, size_t length, C3dProcessor processor)
      : file(data), length(length), processor(processor) {}

  // Each throws ConversionError when the value does not lie wholly in the file.
  uint8_t byte(size_t at) const;
  int8_t signed_byte(size_t at) const { return static_cast<int8_t>(byte(at)); }
  uint16_t word(size_t at) const;
  int16_t signed_word(size_t at) const { return static_cast<int16_t>(word(at)); }
  float real(size_t at) const;

  // True when the length bytes from `at` lie wholly in the file.
  bool holds(size_t at, size_t count) const { return at <= length && count <= length - at; }
  // Unchecked pointer to byte `at`, for ranges already checked with holds.
  const unsigned char* at(size_t offset) const { return file + offset; }
  size_t size() const { return length; }
  C3dProcessor processor_type() const { return processor; }

 private:
  // Throws unless length bytes from `at` lie wholly in the file.
  void require(size_t at, size_t length) const;

  const unsigned char* file;
  size_t length;
  C3dProcessor processor;
};

#endif  // C3D_BYTES_H
