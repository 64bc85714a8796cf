#include "c3d_mutator.h"

#include <algorithm>

namespace {

constexpr size_t block = 512;
constexpr size_t header_words = 12;  // the words a reader uses
constexpr size_t most_records = 1000;
constexpr unsigned char mips = 86;

size_t parameter_start(const std::string& file) {
  return file.size() > 1 ? (static_cast<unsigned char>(file[0]) - 1u) * block : file.size();
}

bool big_endian(const std::string& file) {
  const size_t start = parameter_start(file);
  return start + 3 < file.size() && static_cast<unsigned char>(file[start + 3]) == mips;
}

}  // namespace

const char* C3dMutator::apply_one(std::string& file) {
  switch (between(0, 10)) {
    case 0: flip_byte(file); return "flip-byte";
    case 1: flip_parameter_byte(file); return "flip-parameter-byte";
    case 2: header_word(file); return "header-word";
    case 3: record_offset(file); return "record-offset";
    case 4: record_name_length(file); return "record-name-length";
    case 5: parameter_type_or_dimension(file); return "parameter-type-or-dimension";
    case 6: block_count(file); return "block-count";
    case 7: insert_bytes(file); return "insert-bytes";
    case 8: delete_bytes(file); return "delete-bytes";
    case 9: truncate(file); return "truncate";
    default: truncate_in_frames(file); return "truncate-in-frames";
  }
}

uint16_t C3dMutator::odd_word() {
  const uint16_t odd[] = {0, 1, 0xFFFF, 0x7FFF, 0x8000};
  const size_t pick = between(0, 5);
  return pick < 5 ? odd[pick] : static_cast<uint16_t>(between(0, 0xFFFF));
}

void C3dMutator::put_word(std::string& file, size_t at, uint16_t value) {
  if (at + 2 > file.size()) return;
  const auto high = static_cast<char>(value >> 8);
  const auto low = static_cast<char>(value & 0xFF);
  file[at] = big_endian(file) ? high : low;
  file[at + 1] = big_endian(file) ? low : high;
}

std::vector<size_t> C3dMutator::records(const std::string& file) {
  std::vector<size_t> found;
  size_t at = parameter_start(file) + 4;
  while (at + 2 <= file.size() && found.size() < most_records) {
    const int name_length = std::abs(static_cast<int>(static_cast<signed char>(file[at])));
    const size_t offset_field = at + 2 + static_cast<size_t>(name_length);
    if (name_length == 0 || offset_field + 2 > file.size()) break;
    found.push_back(at);
    const auto first = static_cast<unsigned char>(file[offset_field]);
    const auto second = static_cast<unsigned char>(file[offset_field + 1]);
    const int offset =
        static_cast<int16_t>(big_endian(file) ? first << 8 | second : second << 8 | first);
    if (offset <= 0) break;
    at = offset_field + static_cast<size_t>(offset);
  }
  return found;
}

size_t C3dMutator::pick_record(const std::string& file) {
  const std::vector<size_t> all = records(file);
  return all.empty() ? file.size() : all[between(0, all.size() - 1)];
}

void C3dMutator::flip_parameter_byte(std::string& file) {
  const size_t start = parameter_start(file);
  const size_t end = std::min(file.size(), start + block);
  if (start >= end) return;
  const size_t at = between(start, end - 1);
  file[at] = static_cast<char>(file[at] ^ (1 << between(0, 7)));
}

void C3dMutator::header_word(std::string& file) {
  put_word(file, 2 * between(1, header_words - 1), odd_word());
}

void C3dMutator::record_offset(std::string& file) {
  const size_t record = pick_record(file);
  if (record >= file.size()) return;
  const auto name_length =
      static_cast<size_t>(std::abs(static_cast<int>(static_cast<signed char>(file[record]))));
  put_word(file, record + 2 + name_length, odd_word());
}

void C3dMutator::record_name_length(std::string& file) {
  const size_t record = pick_record(file);
  if (record < file.size()) file[record] = static_cast<char>(between(0, 255));
}

void C3dMutator::parameter_type_or_dimension(std::string& file) {
  const size_t record = pick_record(file);
  if (record >= file.size()) return;
  const auto name_length =
      static_cast<size_t>(std::abs(static_cast<int>(static_cast<signed char>(file[record]))));
  const size_t body = record + 4 + name_length;  // type, dimension count, dimensions
  const size_t at = body + between(0, 3);
  if (at < file.size()) file[at] = static_cast<char>(between(0, 255));
}

void C3dMutator::block_count(std::string& file) {
  const size_t at = parameter_start(file) + 2;
  if (at < file.size()) file[at] = static_cast<char>(between(0, 255));
}

void C3dMutator::truncate(std::string& file) { file.resize(between(0, file.size())); }

void C3dMutator::truncate_in_frames(std::string& file) {
  const size_t start = std::min(file.size(), parameter_start(file) + block);
  file.resize(between(start, file.size()));
}
