#include "c3d_reader.h"

#include <cmath>
#include <optional>
#include <utility>

#include "c3d_parameters.h"
#include "conversion_error.h"
#include "frame_rate.h"
#include "input_file.h"

namespace {

constexpr size_t block_bytes = 512;
constexpr uint8_t c3d_key = 0x50;
constexpr size_t labels_per_parameter = 255;

// Header word n (counted from 1) starts at byte 2 * (n - 1).
constexpr size_t header_point_count = 2;
constexpr size_t header_analog_samples = 4;
constexpr size_t header_first_frame = 6;
constexpr size_t header_last_frame = 8;
constexpr size_t header_scale = 12;
constexpr size_t header_data_block = 16;
constexpr size_t header_rate = 20;

C3dProcessor processor_of(const InputFile& file) {
  if (file.size() < block_bytes || file.data()[1] != c3d_key || file.data()[0] == 0) {
    throw ConversionError("the file is not a C3D file (no C3D header)");
  }
  const size_t parameter_start = (file.data()[0] - 1u) * block_bytes;
  if (parameter_start + 4 > file.size()) {
    throw ConversionError("the C3D file ends before its parameter section");
  }
  const uint8_t type = file.data()[parameter_start + 3];
  if (type < 84 || type > 86) {
    throw ConversionError("the C3D file has the unknown processor type " + std::to_string(type));
  }
  return static_cast<C3dProcessor>(type);
}

// A frame number of TRIAL:ACTUAL_START_FIELD / END_FIELD: two 16-bit words,
// low word first.
std::optional<int64_t> trial_field(const C3dParameters& parameters, const std::string& key) {
  const std::optional<double> low = parameters.number(key, 0);
  const std::optional<double> high = parameters.number(key, 1);
  const C3dParameter* parameter = parameters.find(key);
  if (!low || !high || parameter->type != 2) return std::nullopt;
  return static_cast<int64_t>(*low) + (static_cast<int64_t>(*high) << 16);
}

// POINT:LABELS, then LABELS2, LABELS3, ... for the points past each 255.
std::vector<std::string> point_labels(const C3dParameters& parameters, size_t point_count) {
  std::vector<std::string> labels = parameters.strings("POINT:LABELS");
  for (int part = 2; labels.size() < point_count; ++part) {
    const std::vector<std::string> more = parameters.strings("POINT:LABELS" + std::to_string(part));
    if (more.empty()) break;
    labels.insert(labels.end(), more.begin(), more.end());
    if (labels.size() > point_count + labels_per_parameter) break;
  }
  labels.resize(point_count);
  return labels;
}

// True when the fourth value of a point, as a 16-bit integer (a float
// truncated to an integer first), is negative: the point was not seen.
bool marked_not_seen(float fourth) {
  // The usual values (0 or a residual; -1) without the general conversion.
  if (fourth > -1.0f && fourth < 32768.0f) return false;
  if (fourth <= -1.0f && fourth > -32769.0f) return true;
  if (!std::isfinite(fourth)) return true;
  const auto whole = static_cast<int64_t>(std::fmod(std::trunc(fourth), 65536.0));
  return (static_cast<uint16_t>(whole) & 0x8000u) != 0;
}

double finite_or_nothing(const std::optional<double>& value) {
  return value && std::isfinite(*value) ? *value : 0.0;
}

// A count parameter that the format stores in one 16-bit word (a float in
// some files): fallback when it is missing, an error when it is no whole
// number from 0 to 65,535.
size_t word_parameter(const C3dParameters& parameters, const std::string& key, size_t fallback) {
  const std::optional<double> value = parameters.number(key);
  if (!value) return fallback;
  if (!(*value >= 0.0 && *value <= 65535.0) || std::trunc(*value) != *value) {
    throw ConversionError("the C3D file's " + key + " is no whole number from 0 to 65535");
  }
  return static_cast<size_t>(*value);
}

}  // namespace

C3dReader::C3dReader(InputFile input)
    : file(std::move(input)), bytes(file.data(), file.size(), processor_of(file)) {
  const size_t parameter_start = (file.data()[0] - 1u) * block_bytes;
  // The records may run on to the data section, or to the end of the file
  // when the header places the data before them.
  const size_t data_block_by_header = bytes.word(header_data_block);
  const size_t data_start_by_header =
      data_block_by_header > 0 ? (data_block_by_header - 1) * block_bytes : 0;
  const C3dParameters parameters(
      bytes, parameter_start,
      data_start_by_header > parameter_start ? data_start_by_header : file.size());
  description.single_precision = true;

  point_count = word_parameter(parameters, "POINT:USED", bytes.word(header_point_count));
  if (point_count == 0) throw ConversionError("the C3D file holds no markers");

  scale = bytes.real(header_scale);
  if (const std::optional<double> value = parameters.number("POINT:SCALE")) {
    scale = static_cast<float>(*value);
  }
  if (!std::isfinite(scale) || scale == 0.0f) {
    throw ConversionError("the C3D file's POINT:SCALE is " + std::to_string(scale));
  }
  float_storage = scale < 0.0f;

  description.rate_hz = parameters.number("POINT:RATE").value_or(bytes.real(header_rate));
  if (!is_usable_rate(description.rate_hz)) {
    throw ConversionError(rate_refusal("the C3D file's frame rate"));
  }

  description.first_frame = bytes.word(header_first_frame);
  int64_t last_frame = bytes.word(header_last_frame);
  const std::optional<int64_t> trial_first = trial_field(parameters, "TRIAL:ACTUAL_START_FIELD");
  const std::optional<int64_t> trial_last = trial_field(parameters, "TRIAL:ACTUAL_END_FIELD");
  const C3dParameter* frames = parameters.find("POINT:FRAMES");
  if (trial_first && trial_last) {
    description.first_frame = *trial_first;
    last_frame = *trial_last;
  } else if (frames != nullptr && frames->type == 4) {
    const double count = finite_or_nothing(parameters.number("POINT:FRAMES"));
    if (count >= 1.0 && count < 4294967296.0) {
      last_frame = description.first_frame + static_cast<int64_t>(count) - 1;
    }
  }
  if (last_frame < description.first_frame) {
    throw ConversionError("the C3D file's last frame " + std::to_string(last_frame) +
                          " comes before its first frame " +
                          std::to_string(description.first_frame));
  }
  description.frames_claimed = last_frame - description.first_frame + 1;

  size_t data_block = word_parameter(parameters, "POINT:DATA_START", 0);
  if (data_block == 0) data_block = bytes.word(header_data_block);
  if (data_block == 0) throw ConversionError("the C3D file names no data section");
  data_start = (data_block - 1) * block_bytes;
  const size_t element_bytes = float_storage ? 4 : 2;
  frame_bytes = (4 * point_count + bytes.word(header_analog_samples)) * element_bytes;
  const size_t frames_in_file =
      data_start < file.size() ? (file.size() - data_start) / frame_bytes : 0;
  description.frames_present =
      std::min(description.frames_claimed, static_cast<int64_t>(frames_in_file));
  if (description.frames_present == 0) {
    throw ConversionError("the C3D file ends before its first frame");
  }

  description.labels = point_labels(parameters, point_count);
  const std::vector<std::string> units = parameters.strings("POINT:UNITS");
  if (!units.empty()) description.units = units[0];
  const std::vector<std::string> y_screen = parameters.strings("POINT:Y_SCREEN");
  if (!y_screen.empty() && y_screen[0] == "+Y") description.up = UpAxis::y;
}

namespace {

// The coordinates of every point of a frame that starts at value, decoded
// for one processor, so that the choice of byte order is made once a frame.
template <C3dProcessor processor>
void decode_points(const unsigned char* value, bool float_storage, float scale,
                   std::vector<MarkerPoint>& points) {
  for (MarkerPoint& point : points) {
    float coordinates[3];
    bool not_seen = false;
    if (float_storage) {
      for (size_t i = 0; i < 3; ++i) coordinates[i] = decode_real(value + 4 * i, processor);
      not_seen = marked_not_seen(decode_real(value + 12, processor));
      value += 16;
    } else {
      for (size_t i = 0; i < 3; ++i) {
        const auto stored = static_cast<int16_t>(decode_word(value + 2 * i, processor));
        coordinates[i] = static_cast<float>(stored) * scale;
      }
      not_seen = static_cast<int16_t>(decode_word(value + 6, processor)) < 0;
      value += 8;
    }
    point.seen = !not_seen;
    point.x = coordinates[0];
    point.y = coordinates[1];
    point.z = coordinates[2];
  }
}

}  // namespace

bool C3dReader::next_frame(Frame& frame) {
  if (next_index >= description.frames_present) return false;
  frame.number = description.first_frame + next_index;
  frame.points.resize(point_count);
  const unsigned char* value = bytes.at(data_start + static_cast<size_t>(next_index) * frame_bytes);
  switch (bytes.processor_type()) {
    case C3dProcessor::intel:
      decode_points<C3dProcessor::intel>(value, float_storage, scale, frame.points);
      break;
    case C3dProcessor::dec:
      decode_points<C3dProcessor::dec>(value, float_storage, scale, frame.points);
      break;
    case C3dProcessor::mips:
      decode_points<C3dProcessor::mips>(value, float_storage, scale, frame.points);
      break;
  }
  for (size_t p = 0; p < point_count; ++p) {
    const MarkerPoint& point = frame.points[p];
    if (point.seen &&
        !(std::isfinite(point.x) && std::isfinite(point.y) && std::isfinite(point.z))) {
      throw ConversionError("frame " + std::to_string(frame.number) +
                            " of the C3D file holds a coordinate of marker " +
                            std::to_string(p + 1) + " that is not a finite number");
    }
  }
  ++next_index;
  return true;
}
