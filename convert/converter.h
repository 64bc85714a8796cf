// One conversion of a recording into a capture file.
#ifndef CONVERTER_H
#define CONVERTER_H

#include <cstdint>
#include <optional>
#include <string>

#include "conversion_summary.h"
#include "marker_recording.h"

// What the user asked for on the command line.
struct ConversionOptions {
  std::optional<UpAxis> up;  // the recording's up axis; its own word or convention when unset
  bool keep_units = false;   // write the recorded units instead of millimetres
  bool fit = false;          // centre and scale the capture for the starting camera
  // Keep the frames written from start to end seconds (either may be
  // unset), then of those the first and every every-th after it.
  std::optional<double> start = std::nullopt;
  std::optional<double> end = std::nullopt;
  int64_t every = 1;
  bool follow = false;  // keep a subject who travels in the middle of the view
};

// Converts input, a recording in any format open_recording reads, into the
// capture file output: header, then one line per frame with the time
// (frame - first) / rate. The steps, in this order whatever the options':
// coordinates turned into millimetres where the recording names its unit
// (unless keep_units), stood Z-up when it is Y-up; the frames written from
// start to end seconds kept, then one in every; the subject followed, then
// the capture fitted, when asked. Without follow and fit the frames stream
// through; with either, the kept frames are held in memory, except that a
// recording fitted alone that reads its frames again cheaply (C3D) is read
// twice. Throws ConversionError for bad input, bad options (end before
// start, every below 1), a window that keeps no frame, lines past the
// viewer's limit (require_lines_within_viewer_limit), an output that is the
// input, or a write that fails; output is then left untouched and no
// temporary file remains.
ConversionSummary convert_recording(const std::string& input, const std::string& output,
                                    const ConversionOptions& options = {});

#endif  // CONVERTER_H
