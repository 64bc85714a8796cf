// Seeded random damage to the bytes of a C3D file, for the converter's
// mutation sweep: bytes flipped, header words and parameter records
// (offsets, name lengths, types, dimensions) damaged, truncations.
#ifndef C3D_MUTATOR_H
#define C3D_MUTATOR_H

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

class C3dMutator {
 public:
  // The same seed gives the same edits on the same bytes.
  explicit C3dMutator(uint64_t seed) : random(seed) {}

  // Returns file with one to three random edits applied and appends their
  // names to `edits`.
  std::string mutate(const std::string& file, std::string& edits);

 private:
  // Applies one randomly chosen edit to file and returns its name.
  const char* apply_one(std::string& file);

  // A random whole number from low to high, both included.
  size_t between(size_t low, size_t high);
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

  void flip_byte(std::string& file);
  void flip_parameter_byte(std::string& file);
  void header_word(std::string& file);
  void record_offset(std::string& file);
  void record_name_length(std::string& file);
  void parameter_type_or_dimension(std::string& file);
  void block_count(std::string& file);
  void insert_bytes(std::string& file);
  void delete_bytes(std::string& file);
  void truncate(std::string& file);
  void truncate_in_frames(std::string& file);

  std::mt19937_64 random;
};

#endif  // C3D_MUTATOR_H
