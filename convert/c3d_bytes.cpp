#include "c3d_bytes.h"

#include <cmath>
#include <cstring>

#include "conversion_error.h"

namespace {

uint32_t little_endian_32(const unsigned char* bytes) {
  return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
         static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

uint32_t big_endian_32(const unsigned char* bytes) {
  return static_cast<uint32_t>(bytes[3]) | static_cast<uint32_t>(bytes[2]) << 8 |
         static_cast<uint32_t>(bytes[1]) << 16 | static_cast<uint32_t>(bytes[0]) << 24;
}

float ieee_from_bits(uint32_t bits) {
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

// A VAX F float: its first word holds sign, 8 exponent bits and the high 7
// mantissa bits; the value is 0.1mmm (binary) x 2^(exponent - 128), which is
// the IEEE reading of the swapped halves divided by 4. Built with ldexp so
// that the largest exponents, which are no infinity in VAX, stay finite.
float vax_from_bits(uint32_t little_endian_bits) {
  const uint32_t bits = little_endian_bits << 16 | little_endian_bits >> 16;
  const int exponent = static_cast<int>(bits >> 23 & 0xFFu);
  if (exponent == 0) return 0.0f;
  const float magnitude =
      std::ldexp(static_cast<float>((bits & 0x7FFFFFu) | 0x800000u), exponent - 152);
  return (bits >> 31) != 0 ? -magnitude : magnitude;
}

}  // namespace

uint16_t decode_word(const unsigned char* bytes, C3dProcessor processor) {
  if (processor == C3dProcessor::mips) return static_cast<uint16_t>(bytes[0] << 8 | bytes[1]);
  return static_cast<uint16_t>(bytes[1] << 8 | bytes[0]);
}

float decode_real(const unsigned char* bytes, C3dProcessor processor) {
  switch (processor) {
    case C3dProcessor::dec: return vax_from_bits(little_endian_32(bytes));
    case C3dProcessor::mips: return ieee_from_bits(big_endian_32(bytes));
    default: return ieee_from_bits(little_endian_32(bytes));
  }
}

void C3dBytes::require(size_t offset, size_t length) const {
  if (!holds(offset, length)) {
    throw ConversionError("the C3D file ends too early (a value at byte " +
                          std::to_string(offset) + " lies past its end)");
  }
}

uint8_t C3dBytes::byte(size_t offset) const {
  require(offset, 1);
  return file[offset];
}

uint16_t C3dBytes::word(size_t offset) const {
  require(offset, 2);
  return decode_word(at(offset), processor);
}

float C3dBytes::real(size_t offset) const {
  require(offset, 4);
  return decode_real(at(offset), processor);
}
