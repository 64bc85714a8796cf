// The reader's reference for numbers: the C library's conversions in the C
// locale, whatever locale the process runs in.
#ifndef REFERENCE_NUMBERS_H
#define REFERENCE_NUMBERS_H

#include <locale.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

// The bits of value, so that two doubles compare bit for bit.
inline uint64_t bits_of(double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

// strtod in the C locale.
inline double reference_decimal(const std::string& text) {
  static const locale_t c_locale = newlocale(LC_ALL_MASK, "C", nullptr);
  return strtod_l(text.c_str(), nullptr, c_locale);
}

// strtoll in the C locale clamped to the int32_t range (strtoll itself
// saturates at the int64_t range, far beyond it).
inline int32_t reference_integer(const std::string& text) {
  static const locale_t c_locale = newlocale(LC_ALL_MASK, "C", nullptr);
  const long long value = strtoll_l(text.c_str(), nullptr, 10, c_locale);
  if (value > INT32_MAX) return INT32_MAX;
  if (value < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(value);
}

#endif  // REFERENCE_NUMBERS_H
