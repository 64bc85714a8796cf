#include "c3d_builder.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

constexpr size_t block = 512;
constexpr size_t labels_per_parameter = 255;
constexpr uint16_t longest_word_count = 65535;

// Appends numbers in one processor type's encoding.
class Encoder {
 public:
  Encoder(std::vector<unsigned char>& bytes, C3dNumberFormat format)
      : bytes(bytes), format(format) {}

  void byte(int value) { bytes.push_back(static_cast<unsigned char>(value)); }

  void word(uint16_t value) {
    const auto high = static_cast<unsigned char>(value >> 8);
    const auto low = static_cast<unsigned char>(value & 0xFF);
    if (format == C3dNumberFormat::mips) {
      bytes.push_back(high);
      bytes.push_back(low);
    } else {
      bytes.push_back(low);
      bytes.push_back(high);
    }
  }

  // IEEE bits for Intel and MIPS; for DEC the IEEE bits of 4 x value with
  // the 16-bit halves swapped (0 stays all zero bits).
  void real(float value) {
    uint32_t bits = 0;
    const float stored = format == C3dNumberFormat::dec ? value * 4.0f : value;
    std::memcpy(&bits, &stored, sizeof bits);
    if (format == C3dNumberFormat::dec) {
      if (value == 0.0f) bits = 0;
      bits = bits << 16 | bits >> 16;
    }
    if (format == C3dNumberFormat::mips) {
      for (int shift = 24; shift >= 0; shift -= 8) byte(static_cast<int>(bits >> shift & 0xFF));
    } else {
      for (int shift = 0; shift <= 24; shift += 8) byte(static_cast<int>(bits >> shift & 0xFF));
    }
  }

  void text(const std::string& value) { bytes.insert(bytes.end(), value.begin(), value.end()); }

 private:
  std::vector<unsigned char>& bytes;
  C3dNumberFormat format;
};

// The parameter records of a file, written one after another.
class ParameterSection {
 public:
  ParameterSection(std::vector<unsigned char>& bytes, C3dNumberFormat format)
      : bytes(bytes), format(format), out(bytes, format) {}

  void group(int id, const std::string& name) {
    const size_t offset_field = begin_record(-static_cast<int>(name.size()), -id, name);
    out.byte(0);  // no description
    end_record(offset_field);
  }

  // A parameter of `type` with dims; `data` appends its elements.
  void parameter(int group, const std::string& name, int type, const std::vector<int>& dims,
                 const std::function<void(Encoder&)>& data, bool lying_description = false) {
    const size_t offset_field = begin_record(static_cast<int>(name.size()), group, name);
    out.byte(type);
    out.byte(static_cast<int>(dims.size()));
    for (int d : dims) out.byte(d);
    data(out);
    out.byte(lying_description ? 200 : 0);
    end_record(offset_field);
  }

  void word(int group, const std::string& name, uint16_t value) {
    parameter(group, name, 2, {}, [value](Encoder& e) { e.word(value); });
  }
  void real(int group, const std::string& name, float value) {
    parameter(group, name, 4, {}, [value](Encoder& e) { e.real(value); });
  }
  void frame_field(int group, const std::string& name, int64_t frame) {
    parameter(group, name, 2, {2}, [frame](Encoder& e) {
      e.word(static_cast<uint16_t>(frame & 0xFFFF));
      e.word(static_cast<uint16_t>(frame >> 16 & 0xFFFF));
    });
  }
  void strings(int group, const std::string& name, const std::vector<std::string>& texts,
               bool lying_description = false) {
    size_t length = 1;
    for (const std::string& t : texts) length = std::max(length, t.size());
    parameter(
        group, name, -1, {static_cast<int>(length), static_cast<int>(texts.size())},
        [&](Encoder& e) {
          for (const std::string& t : texts) e.text(t + std::string(length - t.size(), ' '));
        },
        lying_description);
  }

  // Ends the section: the last record's offset becomes 0.
  void finish() {
    if (last_offset_field != 0) {
      bytes[last_offset_field] = 0;
      bytes[last_offset_field + 1] = 0;
    }
  }

 private:
  size_t begin_record(int name_length, int id, const std::string& name) {
    out.byte(name_length);
    out.byte(id);
    out.text(name);
    const size_t offset_field = bytes.size();
    out.word(0);
    return offset_field;
  }
  void end_record(size_t offset_field) {
    const auto offset = static_cast<uint16_t>(bytes.size() - offset_field);
    std::vector<unsigned char> encoded;
    Encoder(encoded, format).word(offset);
    bytes[offset_field] = encoded[0];
    bytes[offset_field + 1] = encoded[1];
    last_offset_field = offset_field;
  }
  std::vector<unsigned char>& bytes;
  C3dNumberFormat format;
  Encoder out;
  size_t last_offset_field = 0;
};

void pad_to_block(std::vector<unsigned char>& bytes) {
  bytes.resize((bytes.size() + block - 1) / block * block, 0);
}

void write_parameters(std::vector<unsigned char>& bytes, const C3dDescription& d,
                      int64_t last_frame, uint16_t data_block) {
  ParameterSection section(bytes, d.format);
  constexpr int point = 1;
  constexpr int trial = 2;
  const int64_t claimed = last_frame - d.first_frame + 1;
  section.group(point, "POINT");
  section.word(point, "USED", static_cast<uint16_t>(d.labels.size()));
  section.real(point, "SCALE", d.float_storage ? -d.scale : d.scale);
  section.real(point, "RATE", d.rate_hz);
  section.word(-point, "DATA_START", data_block);  // locked: negative name length
  if (claimed > longest_word_count) {
    section.real(point, "FRAMES", static_cast<float>(claimed));
  } else {
    section.word(point, "FRAMES", static_cast<uint16_t>(claimed));
  }
  section.strings(point, "UNITS", {d.units}, true);
  if (!d.y_screen.empty()) section.strings(point, "Y_SCREEN", {d.y_screen}, true);
  for (size_t first = 0, part = 1; first < d.labels.size(); first += labels_per_parameter, ++part) {
    const size_t end = std::min(d.labels.size(), first + labels_per_parameter);
    section.strings(point, part == 1 ? "LABELS" : "LABELS" + std::to_string(part),
                    std::vector<std::string>(d.labels.begin() + static_cast<long>(first),
                                             d.labels.begin() + static_cast<long>(end)));
  }
  if (last_frame > longest_word_count) {
    section.frame_field(trial, "ACTUAL_START_FIELD", d.first_frame);
    section.frame_field(trial, "ACTUAL_END_FIELD", last_frame);
  }
  section.group(trial, "TRIAL");
  section.finish();
}

}  // namespace

std::vector<unsigned char> build_c3d(const C3dDescription& d) {
  const int64_t claimed = d.frames_claimed > 0 ? d.frames_claimed : d.frames;
  const int64_t last_frame = d.first_frame + claimed - 1;
  std::vector<unsigned char> bytes(block, 0);

  // Parameter section from block 2.
  bytes.push_back(0);
  bytes.push_back(0);
  bytes.push_back(0);  // block count, set below
  bytes.push_back(static_cast<unsigned char>(d.format));
  if (!d.empty_parameters) {
    // POINT:DATA_START depends on the section's length: write the section
    // once to measure it, then again with the right value.
    std::vector<unsigned char> measured = bytes;
    write_parameters(measured, d, last_frame, 0);
    const size_t section_blocks = (measured.size() - block + block - 1) / block;
    write_parameters(bytes, d, last_frame, static_cast<uint16_t>(2 + section_blocks));
  }
  pad_to_block(bytes);
  const size_t parameter_blocks = bytes.size() / block - 1;
  bytes[block + 2] = static_cast<unsigned char>(parameter_blocks);
  const auto data_block = static_cast<uint16_t>(bytes.size() / block + 1);

  std::vector<unsigned char> words;
  Encoder h(words, d.format);
  h.byte(2);
  h.byte(0x50);
  h.word(static_cast<uint16_t>(d.labels.size()));
  h.word(static_cast<uint16_t>(d.analog_samples));
  h.word(static_cast<uint16_t>(std::min<int64_t>(d.first_frame, longest_word_count)));
  h.word(static_cast<uint16_t>(std::min<int64_t>(last_frame, longest_word_count)));
  h.word(0);
  h.real(d.float_storage ? -d.scale : d.scale);
  h.word(data_block);
  h.word(static_cast<uint16_t>(d.analog_samples));
  h.real(d.rate_hz);
  std::copy(words.begin(), words.end(), bytes.begin());

  Encoder data(bytes, d.format);
  bytes.reserve(bytes.size() + static_cast<size_t>(d.frames) *
                                   (4 * d.labels.size() + static_cast<size_t>(d.analog_samples)) *
                                   (d.float_storage ? 4 : 2));
  for (int64_t f = 0; f < d.frames; ++f) {
    for (size_t m = 0; m < d.labels.size(); ++m) {
      const StoredPoint p = d.point(f, m);
      for (int16_t value : {p.x, p.y, p.z}) {
        if (d.float_storage) {
          data.real(static_cast<float>(value) * d.scale);
        } else {
          data.word(static_cast<uint16_t>(value));
        }
      }
      if (d.float_storage) {
        data.real(p.seen ? 0.0f : -1.0f);
      } else {
        data.word(p.seen ? 0 : 0xFFFF);
      }
    }
    for (int a = 0; a < d.analog_samples; ++a) {
      if (d.float_storage) {
        data.real(static_cast<float>(a) - 7.5f);
      } else {
        data.word(static_cast<uint16_t>(0x8000 + a));
      }
    }
  }
  return bytes;
}

bool write_c3d_file(const std::string& path, const C3dDescription& description) {
  const std::vector<unsigned char> bytes = build_c3d(description);
  const std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), std::fclose);
  return file != nullptr && std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
}
