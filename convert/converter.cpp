#include "converter.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <memory>

#include "c3d_reader.h"
#include "capture_writer.h"
#include "column_names.h"
#include "conversion_error.h"
#include "trc_reader.h"

namespace {

// The extension of path in lower case, with its dot; "" when it has none.
std::string lower_extension(const std::string& path) {
  std::string extension = std::filesystem::path(path).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension;
}

bool same_file(const std::string& input, const std::string& output) {
  std::error_code error;
  return input == output || std::filesystem::equivalent(input, output, error);
}

// The right-handed quarter turn about X that stands a Y-up recording
// upright in the viewer's Z-up frame.
void turn_y_up_to_z_up(Frame& frame) {
  for (MarkerPoint& point : frame.points) {
    const double y = point.y;
    point.y = 0.0 - point.z;  // a z of 0 gives 0, not -0
    point.z = y;
  }
}

// The reader the extension of input names. Throws ConversionError for
// another extension or a file the reader refuses.
std::unique_ptr<MarkerRecording> open_recording(const std::string& input) {
  const std::string extension = lower_extension(input);
  if (extension == ".c3d") return std::make_unique<C3dReader>(input);
  if (extension == ".trc") return std::make_unique<TrcReader>(input);
  throw ConversionError(input + " is neither a .c3d nor a .trc file");
}

}  // namespace

ConversionSummary convert_recording(const std::string& input, const std::string& output,
                                    bool y_up) {
  if (same_file(input, output)) throw ConversionError("the output file is the input file " + input);
  const std::unique_ptr<MarkerRecording> recording = open_recording(input);
  const RecordingInfo& info = recording->info();

  CaptureWriter writer(output, info.single_precision);
  writer.write_header(unique_marker_names(info.labels));
  ConversionSummary summary;
  CaptureBounds bounds;
  Frame frame;
  while (recording->next_frame(frame)) {
    if (y_up) turn_y_up_to_z_up(frame);
    for (const MarkerPoint& point : frame.points) {
      if (point.seen) {
        bounds.add(point.x, point.y, point.z);
      } else {
        ++summary.points_not_seen;
      }
    }
    writer.write_frame(frame, static_cast<double>(frame.number - info.first_frame) / info.rate_hz);
    ++summary.frames;
  }
  writer.commit();

  summary.markers = static_cast<int64_t>(info.labels.size());
  summary.frames_claimed = info.frames_claimed;
  summary.rate_hz = info.rate_hz;
  summary.units = info.units;
  summary.bytes_written = writer.bytes_written();
  summary.camera = frame_capture(bounds);
  return summary;
}
