#include "converter.h"

#include <cmath>
#include <filesystem>
#include <memory>
#include <utility>
#include <vector>

#include "capture_writer.h"
#include "column_names.h"
#include "conversion_error.h"
#include "fitting.h"
#include "following.h"
#include "frame_stride.h"
#include "held_frames.h"
#include "millimetres.h"
#include "orientation.h"
#include "recording_format.h"
#include "time_window.h"
#include "travel_gauge.h"
#include "viewer_line_limit.h"

namespace {

// Half the span of frames whose centres a followed frame's centre averages.
constexpr double follow_half_seconds = 0.5;

bool same_file(const std::string& input, const std::string& output) {
  std::error_code error;
  return input == output || std::filesystem::equivalent(input, output, error);
}

// The time written for frame: (frame - first frame) / rate.
double written_seconds(const RecordingInfo& info, const Frame& frame) {
  return static_cast<double>(frame.number - info.first_frame) / info.rate_hz;
}

// The steps every frame takes between reading and writing, and what they
// tell the summary.
class FrameSteps {
 public:
  // Asks recording to read its coordinates into millimetres when it can.
  FrameSteps(MarkerRecording& recording, const ConversionOptions& options,
             ConversionSummary& summary)
      : single_precision(recording.info().single_precision),
        blank_zeros(options.fit || options.follow) {
    const RecordingInfo& info = recording.info();
    const std::optional<int> power = millimetre_power(info.units);
    if (options.keep_units || !power) {
      summary.units = power || options.keep_units ? info.units : "";
    } else {
      summary.units = "mm";
      if (*power != 0) {
        summary.recorded_units = info.units;
        mm_power = *power;
        shift_after_reading = !recording.read_times_power_of_ten(mm_power);
      }
    }
    upright = options.up.value_or(info.up) == UpAxis::y;
    summary.turned_upright = upright;
  }

  // The coordinates of frame in the capture's units and orientation.
  void apply(Frame& frame) const {
    if (blank_zeros) blank_zero_coordinates(frame);
    if (shift_after_reading) scale_to_millimetres(frame, mm_power, single_precision);
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
  bool shift_after_reading = false;  // the recording reads its values unshifted
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

// The frames that reach the capture: every frame of the recording read,
// those of the window and the stride taken through steps (which change no
// frame's time) and handed to keep. Throws ConversionError when a window
// was asked for and keeps no frame.
template <typename Keep>
void read_kept_frames(MarkerRecording& recording, const std::string& input,
                      const TimeWindow& window, FrameStride stride, const FrameSteps& steps,
                      ConversionSummary& summary, Keep keep) {
  const RecordingInfo& info = recording.info();
  double last_seconds = 0.0;
  for (Frame frame; read_frame(recording, frame, input);) {
    last_seconds = written_seconds(info, frame);
    ++summary.frames_read;
    if (!window.holds(last_seconds)) continue;
    ++summary.frames_in_window;
    if (!stride.keeps_next()) continue;
    steps.apply(frame);
    keep(frame);
  }
  if (summary.frames_in_window == 0 && summary.frames_read > 0) {
    throw ConversionError("no frame of " + input + " lies in the time window: its frames " +
                          "are written from 0 s to " + rounded(last_seconds) + " s");
  }
}

// What the frames written tell the summary, counted as they are written.
class WrittenFrames {
 public:
  WrittenFrames(const RecordingInfo& info, ConversionSummary& summary)
      : info(info), summary(summary) {}

  void add(const Frame& frame) {
    for (const MarkerPoint& point : frame.points) {
      if (point.seen) {
        bounds.add(point.x, point.y, point.z);
      } else {
        ++summary.points_not_seen;
      }
    }
    travel.add(frame);
    const double seconds = written_seconds(info, frame);
    if (summary.frames == 0) first_seconds = seconds;
    last_seconds = seconds;
    if (++summary.frames == frames_in_reach) summary.reach_seconds = seconds;
  }

  // Tells the summary what was kept, the subject's travel unless followed,
  // and the camera that frames the frames as counted.
  void finish(const ConversionOptions& options) {
    if (options.start || options.end || options.every > 1) {
      summary.kept = KeptFrames{first_seconds, last_seconds, options.every};
    }
    if (!options.follow) summary.travel = travel.travel();
    summary.camera = frame_capture(bounds);
  }

  CaptureBounds bounds;  // of every seen point written

 private:
  const RecordingInfo& info;
  ConversionSummary& summary;
  TravelGauge travel;
  double first_seconds = 0.0;
  double last_seconds = 0.0;
};

// What a capture is written from: the recording's description, the
// markers' unique names and how coordinates are written.
struct CaptureLayout {
  const RecordingInfo& info;
  std::vector<std::string> names;
  CoordinateDigits digits;
};

// Writes the capture to output: its header, then each frame for_each_frame
// hands to the writing function it is given. Returns false, with nothing
// written, when for_each_frame does.
template <typename ForEachFrame>
bool write_capture(const std::string& output, const CaptureLayout& layout,
                   ConversionSummary& summary, ForEachFrame for_each_frame) {
  const RecordingInfo& info = layout.info;
  CaptureWriter writer(output, layout.digits);
  writer.write_header(layout.names);
  if (!for_each_frame(
          [&](const Frame& frame) { writer.write_frame(frame, written_seconds(info, frame)); })) {
    return false;
  }
  writer.commit();
  summary.bytes_written = writer.bytes_written();
  return true;
}

// Writes frames fitted to the starting camera, with the centre moved aside
// from the box's middle, and further aside until no coordinate comes out
// as 0. The first step aside comes before the first writing: values on a
// regular grid (whole or tenth millimetres) land on the middle itself so
// often that the writing would mostly be started again. for_each_frame
// hands every frame to the function it is given, which may change it.
template <typename ForEachFrame>
void write_fitted(const std::string& output, const CaptureLayout& layout,
                  const CaptureBounds& bounds, ConversionSummary& summary,
                  ForEachFrame for_each_frame) {
  CaptureFit fit = fit_to_starting_view(bounds);
  auto fitted = [&for_each_frame, &fit](auto write) {
    bool no_zero = true;
    for_each_frame([&](Frame& frame) {
      no_zero = no_zero && apply_fit(frame, fit);
      if (no_zero) write(frame);
    });
    return no_zero;
  };
  for (int attempt = 1;; ++attempt) {
    move_centre_aside(fit, bounds, attempt);
    if (write_capture(output, layout, summary, fitted)) break;
    if (attempt == aside_attempts) throw ConversionError("no centre keeps every coordinate off 0");
  }
  summary.fit = fit;
}

}  // namespace

ConversionSummary convert_recording(const std::string& input, const std::string& output,
                                    const ConversionOptions& options) {
  if (same_file(input, output)) throw ConversionError("the output file is the input file " + input);
  const TimeWindow window(options.start, options.end);
  const FrameStride stride(options.every);
  ConversionSummary summary;
  const std::unique_ptr<MarkerRecording> recording = open_recording(input);
  const RecordingInfo& info = recording->info();
  std::vector<std::string> names = unique_marker_names(info.labels);
  require_lines_within_viewer_limit(names, input);
  summary.markers = static_cast<int64_t>(info.labels.size());
  summary.frames_claimed = info.frames_claimed;
  summary.rate_hz = info.rate_hz / static_cast<double>(options.every);
  summary.followed = options.follow;
  const FrameSteps steps(*recording, options, summary);
  const CaptureLayout layout{info, std::move(names), steps.digits()};
  WrittenFrames written(info, summary);

  if (!options.fit && !options.follow) {
    write_capture(output, layout, summary, [&](auto write) {
      read_kept_frames(*recording, input, window, stride, steps, summary, [&](const Frame& frame) {
        written.add(frame);
        write(frame);
      });
      written.finish(options);
      return true;
    });
    return summary;
  }
  if (!options.follow && recording->read_again()) {
    // Fitting needs the bounds of every kept frame before the first is
    // written: one reading takes them, and the summary's counts, the next
    // one writes.
    read_kept_frames(*recording, input, window, stride, steps, summary,
                     [&written](const Frame& frame) { written.add(frame); });
    written.finish(options);
    write_fitted(output, layout, written.bounds, summary, [&](auto visit) {
      recording->read_again();
      ConversionSummary counted_already;
      read_kept_frames(*recording, input, window, stride, steps, counted_already, visit);
    });
    return summary;
  }
  // Following, and fitting a recording read once, need every kept frame
  // before the first is written. Frames that following does not move are
  // counted as they are read.
  HeldFrames frames(info.labels.size());
  read_kept_frames(*recording, input, window, stride, steps, summary,
                   [&frames, &written, &options](const Frame& frame) {
                     frames.add(frame);
                     if (!options.follow) written.add(frame);
                   });
  Frame frame;
  if (options.follow) {
    // No farther than the whole capture, also for a recording's absurd rate.
    const double half_window = std::floor(follow_half_seconds * summary.rate_hz);
    const double whole = static_cast<double>(frames.size());
    follow_subject(frames, static_cast<int64_t>(half_window < whole ? half_window : whole));
    for (size_t f = 0; f < frames.size(); ++f) {
      frames.copy_frame(f, frame);
      written.add(frame);
    }
  }
  written.finish(options);
  if (options.fit) {
    write_fitted(output, layout, written.bounds, summary, [&frames, &frame](auto visit) {
      for (size_t f = 0; f < frames.size(); ++f) {
        frames.copy_frame(f, frame);
        visit(frame);
      }
    });
  } else {
    write_capture(output, layout, summary, [&frames, &frame](auto write) {
      for (size_t f = 0; f < frames.size(); ++f) {
        frames.copy_frame(f, frame);
        write(frame);
      }
      return true;
    });
  }
  return summary;
}
