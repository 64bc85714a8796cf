#include "converter.h"

#include <filesystem>
#include <memory>

#include "capture_writer.h"
#include "column_names.h"
#include "conversion_error.h"
#include "fitting.h"
#include "millimetres.h"
#include "orientation.h"
#include "recording_format.h"

namespace {

constexpr int fit_attempts = 16;

bool same_file(const std::string& input, const std::string& output) {
  std::error_code error;
  return input == output || std::filesystem::equivalent(input, output, error);
}

// The steps every frame takes between reading and writing, and what they
// tell the summary.
class FrameSteps {
 public:
  FrameSteps(const RecordingInfo& info, const ConversionOptions& options,
             ConversionSummary& summary)
      : single_precision(info.single_precision), blank_zeros(options.fit) {
    const std::optional<int> power = millimetre_power(info.units);
    if (options.keep_units || !power) {
      summary.units = power || options.keep_units ? info.units : "";
    } else {
      summary.units = "mm";
      if (*power != 0) {
        summary.recorded_units = info.units;
        mm_power = *power;
      }
    }
    upright = options.up.value_or(info.up) == UpAxis::y;
    summary.turned_upright = upright;
  }

  // The coordinates of frame in the capture's units and orientation.
  void apply(Frame& frame) const {
    if (blank_zeros) blank_zero_coordinates(frame);
    if (mm_power != 0) scale_to_millimetres(frame, mm_power, single_precision);
    if (upright) turn_y_up_to_z_up(frame);
  }

  // How the values are written: computed by fitting, the recording's own
  // floats, or doubles.
  CoordinateDigits digits() const {
    if (blank_zeros) return CoordinateDigits::nine_significant;
    return single_precision && mm_power == 0 ? CoordinateDigits::shortest_float
                                             : CoordinateDigits::shortest_double;
  }

 private:
  bool single_precision;
  bool blank_zeros;
  int mm_power = 0;
  bool upright = false;
};

// Reads the next frame; a fault in it is reported with the input's name.
bool read_frame(MarkerRecording& recording, Frame& frame, const std::string& input) {
  try {
    return recording.next_frame(frame);
  } catch (const ConversionError& error) {
    throw ConversionError(input + ": " + error.what());
  }
}

// Counts the points of frame not seen and widens bounds by the seen ones.
void tally(const Frame& frame, CaptureBounds& bounds, ConversionSummary& summary) {
  for (const MarkerPoint& point : frame.points) {
    if (point.seen) {
      bounds.add(point.x, point.y, point.z);
    } else {
      ++summary.points_not_seen;
    }
  }
  ++summary.frames;
}

// Writes recording, read from input, to output: every frame through steps,
// then visit, which returns false to give up. Returns false, with nothing
// written, when visit gave up.
template <typename Visit>
bool write_capture(MarkerRecording& recording, const std::string& input, const std::string& output,
                   const FrameSteps& steps, ConversionSummary& summary, Visit visit) {
  const RecordingInfo& info = recording.info();
  CaptureWriter writer(output, steps.digits());
  writer.write_header(unique_marker_names(info.labels));
  Frame frame;
  while (read_frame(recording, frame, input)) {
    steps.apply(frame);
    if (!visit(frame)) return false;
    writer.write_frame(frame, static_cast<double>(frame.number - info.first_frame) / info.rate_hz);
  }
  writer.commit();
  summary.bytes_written = writer.bytes_written();
  return true;
}

}  // namespace

ConversionSummary convert_recording(const std::string& input, const std::string& output,
                                    const ConversionOptions& options) {
  if (same_file(input, output)) throw ConversionError("the output file is the input file " + input);
  ConversionSummary summary;
  const std::unique_ptr<MarkerRecording> recording = open_recording(input);
  const RecordingInfo& info = recording->info();
  summary.markers = static_cast<int64_t>(info.labels.size());
  summary.frames_claimed = info.frames_claimed;
  summary.rate_hz = info.rate_hz;
  const FrameSteps steps(info, options, summary);

  CaptureBounds bounds;
  if (!options.fit) {
    write_capture(*recording, input, output, steps, summary, [&](const Frame& frame) {
      tally(frame, bounds, summary);
      return true;
    });
    summary.camera = frame_capture(bounds);
    return summary;
  }
  // Fitting needs the box of all frames before the first is written.
  for (Frame frame; read_frame(*recording, frame, input);) {
    steps.apply(frame);
    tally(frame, bounds, summary);
  }
  CaptureFit fit = fit_to_starting_view(bounds);
  for (int attempt = 1;; ++attempt) {
    const std::unique_ptr<MarkerRecording> again = open_recording(input);
    if (write_capture(*again, input, output, steps, summary,
                      [&fit](Frame& frame) { return apply_fit(frame, fit); })) {
      break;
    }
    if (attempt == fit_attempts) throw ConversionError("no centre keeps every coordinate off 0");
    move_centre_aside(fit, bounds, attempt);
  }
  summary.fit = fit;
  return summary;
}
