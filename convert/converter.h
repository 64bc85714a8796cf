// One conversion of a recording into a capture file.
#ifndef CONVERTER_H
#define CONVERTER_H

#include <optional>
#include <string>

#include "conversion_summary.h"
#include "marker_recording.h"

// What the user asked for on the command line.
struct ConversionOptions {
  std::optional<UpAxis> up;  // the recording's up axis; its own word or convention when unset
  bool keep_units = false;   // write the recorded units instead of millimetres
  bool fit = false;          // centre and scale the capture for the starting camera
};

// Converts input, a recording in any format open_recording reads, into the
// capture file output: header, then one line per frame with the time
// (frame - first) / rate. Coordinates are turned into millimetres where the
// recording names its unit (unless keep_units), stood Z-up when it is Y-up,
// and fitted when asked. Throws ConversionError for bad input, lines past
// the viewer's limit (require_lines_within_viewer_limit), an output that
// is the input, or a write that fails; output is then left untouched
// and no temporary file remains.
ConversionSummary convert_recording(const std::string& input, const std::string& output,
                                    const ConversionOptions& options = {});

#endif  // CONVERTER_H
