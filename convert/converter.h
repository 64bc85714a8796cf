// One conversion of a C3D or TRC recording into a capture file.
#ifndef CONVERTER_H
#define CONVERTER_H

#include <string>

#include "conversion_summary.h"

// Converts input, a C3D (.c3d) or TRC (.trc) file by its extension in any
// case, into the capture file output: header, then one line per
// frame with the time (frame - first) / rate. With y_up, every point (x, y, z)
// is written as (x, -z, y). Throws ConversionError for bad input, an output
// that is the input, or a write that fails; output is then left untouched
// and no temporary file remains.
ConversionSummary convert_recording(const std::string& input, const std::string& output, bool y_up);

#endif  // CONVERTER_H
