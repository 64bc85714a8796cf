// Seeded random damage to the text of a capture file, for the mutation sweep.
#ifndef CAPTURE_MUTATOR_H
#define CAPTURE_MUTATOR_H

#include <cstddef>
#include <cstdint>
#include <string>

#include "text_mutator.h"

// mutate(capture, edits) returns capture with one to three of these edits.
class CaptureMutator : public TextMutator {
 public:
  // The same seed gives the same edits on the same text.
  explicit CaptureMutator(uint64_t seed) : TextMutator(seed, ',') {}

 private:
  // Applies one randomly chosen edit to text and returns its name.
  const char* apply_one(std::string& text) override;

  void lengthen_line(std::string& text);
  void damage_header(std::string& text);
};

#endif  // CAPTURE_MUTATOR_H
