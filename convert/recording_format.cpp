#include "recording_format.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "bvh_reader.h"
#include "c3d_reader.h"
#include "capture_reader.h"
#include "conversion_error.h"
#include "input_file.h"
#include "motive_reader.h"
#include "nexus_reader.h"
#include "qualisys_reader.h"
#include "text_lines.h"
#include "trc_reader.h"

namespace {

constexpr size_t sniff_bytes = 16384;

bool starts_with(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

bool is_c3d_header(const unsigned char* bytes, size_t size) {
  return size >= 2 && bytes[1] == 0x50 && bytes[0] != 0;
}

[[noreturn]] void not_a_recording(const std::string& name) {
  throw ConversionError(name +
                        " is not a recording capture-convert reads (C3D, TRC, Qualisys TSV, Vicon "
                        "Nexus CSV, Motive CSV, BVH or a capture file)");
}

}  // namespace

RecordingFormat detect_format(const unsigned char* bytes, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(bytes), size);
  if (starts_with(text, "\xEF\xBB\xBF")) text.remove_prefix(3);
  const std::string_view first_line = text.substr(0, text.find('\n'));
  if (starts_with(first_line, "KSample")) return RecordingFormat::capture;
  if (starts_with(first_line, "PathFileType")) return RecordingFormat::trc;
  if (starts_with(first_line, "Format Version,")) return RecordingFormat::motive;
  if (trim_blanks(first_line) == "HIERARCHY") return RecordingFormat::bvh;
  // The other text exports say what they are on any of their first lines.
  for (size_t start = 0; start < text.size();) {
    const size_t end = std::min(text.find('\n', start), text.size());
    const std::string_view line = trim_blanks(text.substr(start, end - start));
    if (is_qualisys_key_line(line)) return RecordingFormat::qualisys;
    if (!nexus_section_name(line).empty()) return RecordingFormat::nexus;
    start = end + 1;
  }
  if (is_c3d_header(bytes, size)) return RecordingFormat::c3d;
  return RecordingFormat::unknown;
}

std::unique_ptr<MarkerRecording> open_recording(const std::string& path) {
  // A file in no format read here is refused before the whole of it is mapped.
  const std::vector<unsigned char> head = read_file_start(path, sniff_bytes);
  if (detect_format(head.data(), head.size()) == RecordingFormat::unknown) not_a_recording(path);
  return open_recording(InputFile(path), path);
}

std::unique_ptr<MarkerRecording> open_recording(InputFile file, const std::string& name) {
  try {
    switch (detect_format(file.data(), std::min(file.size(), sniff_bytes))) {
      case RecordingFormat::c3d: return std::make_unique<C3dReader>(std::move(file));
      case RecordingFormat::capture: return std::make_unique<CaptureReader>(std::move(file));
      case RecordingFormat::trc: return std::make_unique<TrcReader>(std::move(file));
      case RecordingFormat::motive: return std::make_unique<MotiveReader>(std::move(file));
      case RecordingFormat::nexus: return std::make_unique<NexusReader>(std::move(file));
      case RecordingFormat::qualisys: return std::make_unique<QualisysReader>(std::move(file));
      case RecordingFormat::bvh: return std::make_unique<BvhReader>(std::move(file));
      default: break;
    }
  } catch (const ConversionError& error) {
    throw ConversionError(name + ": " + error.what());
  }
  not_a_recording(name);
}
