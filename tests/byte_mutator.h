// Seeded random edits to a file's bytes: what the mutation sweeps' mutators
// share.
#ifndef BYTE_MUTATOR_H
#define BYTE_MUTATOR_H

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>

class ByteMutator {
 public:
  // The same seed gives the same edits on the same bytes.
  explicit ByteMutator(uint64_t seed) : random(seed) {}
  virtual ~ByteMutator() = default;

  // Returns input with one to three random edits applied and appends their
  // names to `edits`, so a failing input can be told apart and reproduced.
  std::string mutate(const std::string& input, std::string& edits);

 protected:
  // Applies one randomly chosen edit to bytes and returns its name.
  virtual const char* apply_one(std::string& bytes) = 0;

  // A random whole number from low to high, both included.
  size_t between(size_t low, size_t high);

  // One bit of a random byte flipped.
  void flip_byte(std::string& bytes);
  // One to eight random bytes inserted at a random place.
  void insert_bytes(std::string& bytes);
  // One to sixteen bytes deleted from a random place.
  void delete_bytes(std::string& bytes);

 private:
  std::mt19937_64 random;
};

#endif  // BYTE_MUTATOR_H
