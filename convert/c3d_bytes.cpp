#include "c3d_bytes.h"

#include <cmath>

#include "conversion_error.h"

// The value is 0.1mmm (binary) x 2^(exponent - 128), which is the IEEE
// reading of the swapped halves divided by 4. Built with ldexp so that the
// largest exponents, which are no infinity in VAX, stay finite.
float vax_from_bits(uint32_t little_endian_bits) {
  const uint32_t bits = little_endian_bits << 16 | little_endian_bits >> 16;
  const int exponent = static_cast<int>(bits >> 23 & 0xFFu);
  if (exponent == 0) return 0.0f;
  const float magnitude =
      std::ldexp(static_cast<float>((bits & 0x7FFFFFu) | 0x800000u), exponent - 152);
  return (bits >> 31) != 0 ? -magnitude : magnitude;
}

void C3dBytes::require(size_t offset, size_t length) const {
  if (!holds(offset, length)) {
    throw ConversionError("the C3D file ends too early (a value at byte " + std::to_string(offset) +
                          " lies past its end)");
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
