// One conversion of a C3D or TRC recording into a capture file.
#ifndef CONVERTER_H
#define CONVERTER_H

#include <memory>
#include <string>

#include "conversion_summary.h"
#include "marker_recording.h"

// Opens input with the reader its extension names (.c3d or .trc, any case).
// Throws ConversionError for another extension or a file the reader refuses.
std::unique_ptr<MarkerRecording> open_recording(const std::string& input);

// Converts input into the capture file output: header, then one line per
// frame with the time (frame - first) / rate. With y_up, every point (x, y, z)
// is written as (x, -z, y). Throws ConversionError for bad input, an output
// that is the input, or a write that fails; output is then left untouched
// and no temporary file remains.
ConversionSummary convert_recording(const std::string& input, const std::string& output,
                                    bool y_up);

#endif  // CONVERTER_H
