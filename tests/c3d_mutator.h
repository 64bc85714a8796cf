// Seeded random damage to the bytes of a C3D file, for the converter's
// mutation sweep: bytes flipped, header words and parameter records
// (offsets, name lengths, types, dimensions) damaged, truncations.
#ifndef C3D_MUTATOR_H
#define C3D_MUTATOR_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "byte_mutator.h"

// mutate(file, edits) returns file with one to three of these edits.
class C3dMutator : public ByteMutator {
 public:
  // The same seed gives the same edits on the same bytes.
  explicit C3dMutator(uint64_t seed) : ByteMutator(seed) {}

 private:
  // Applies one randomly chosen edit to file and returns its name.
  const char* apply_one(std::string& file) override;
  // A random 16-bit value: 0, 1, 0xFFFF, 0x7FFF, 0x8000 or any.
  uint16_t odd_word();
  // Writes value as a 16-bit word at `at` in the file's byte order (MIPS:
  // big-endian), if it fits.
  void put_word(std::string& file, size_t at, uint16_t value);
  // Offsets of the parameter records' first bytes, walked by their offsets
  // as a reader does (at most 1,000); empty when there is no section.
  std::vector<size_t> records(const std::string& file);
  // A random record's offset, or file.size() when there is none.
  size_t pick_record(const std::string& file);

  void flip_parameter_byte(std::string& file);
  void header_word(std::string& file);
  void record_offset(std::string& file);
  void record_name_length(std::string& file);
  void parameter_type_or_dimension(std::string& file);
  void block_count(std::string& file);
  void truncate(std::string& file);
  void truncate_in_frames(std::string& file);
};

#endif  // C3D_MUTATOR_H
