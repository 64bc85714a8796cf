// Seeded random damage to the text of a BVH file, for the converter's
// mutation sweep: bytes flipped, inserted or deleted, lines dropped or
// doubled, words replaced by keywords or odd numbers, truncations.
#ifndef BVH_MUTATOR_H
#define BVH_MUTATOR_H

#include <cstdint>
#include <string>

#include "byte_mutator.h"

// mutate(text, edits) returns text with one to three of these edits.
class BvhMutator : public ByteMutator {
 public:
  // The same seed gives the same edits on the same text.
  explicit BvhMutator(uint64_t seed) : ByteMutator(seed) {}

 private:
  // Applies one randomly chosen edit to text and returns its name.
  const char* apply_one(std::string& text) override;
  // The start and length of the line around a random byte.
  void pick_line(const std::string& text, size_t& start, size_t& length);

  void delete_line(std::string& text);
  void duplicate_line(std::string& text);
  void replace_word(std::string& text);
  void truncate(std::string& text);
};

#endif  // BVH_MUTATOR_H
