#include "byte_mutator.h"

std::string ByteMutator::mutate(const std::string& input, std::string& edits) {
  std::string bytes = input;
  const size_t count = between(1, 3);
  for (size_t i = 0; i < count; ++i) {
    edits += edits.empty() ? "" : " ";
    edits += apply_one(bytes);
  }
  return bytes;
}

size_t ByteMutator::between(size_t low, size_t high) {
  return std::uniform_int_distribution<size_t>(low, high)(random);
}

void ByteMutator::flip_byte(std::string& bytes) {
  if (bytes.empty()) return;
  const size_t at = between(0, bytes.size() - 1);
  bytes[at] = static_cast<char>(bytes[at] ^ (1 << between(0, 7)));
}

void ByteMutator::insert_bytes(std::string& bytes) {
  std::string inserted(between(1, 8), '\0');
  for (char& c : inserted) c = static_cast<char>(between(0, 255));
  bytes.insert(between(0, bytes.size()), inserted);
}

void ByteMutator::delete_bytes(std::string& bytes) {
  bytes.erase(between(0, bytes.size()), between(1, 16));
}
