#include "recording_format.h"

#include <algorithm>
#include <string_view>

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
  const std::vector<unsigned char> head = read_file_start(path, sniff_bytes);
  try {
    switch (detect_format(head.data(), head.size())) {
      case RecordingFormat::c3d: return std::make_unique<C3dReader>(path);
      case RecordingFormat::capture: return std::make_unique<CaptureReader>(path);
      case RecordingFormat::trc: return std::make_unique<TrcReader>(path);
      case RecordingFormat::motive: return std::make_unique<MotiveReader>(path);
      case RecordingFormat::nexus: return std::make_unique<NexusReader>(path);
      case RecordingFormat::qualisys: return std::make_unique<QualisysReader>(path);
      case RecordingFormat::bvh: return std::make_unique<BvhReader>(path);
      default: break;
    }
  } catch (const ConversionError& error) {
    throw ConversionError(path + ": " + error.what());
  }
  throw ConversionError(path +
                        " is not a recording capture-convert reads (C3D, TRC, Qualisys TSV, Vicon "
                        "Nexus CSV, Motive CSV, BVH or a capture file)");
}
