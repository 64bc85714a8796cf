// The body shared by the converter's in-process fuzz targets (libFuzzer).
#ifndef FUZZ_READING_H
#define FUZZ_READING_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

#include "input_file.h"
#include "marker_recording.h"

// Opens a recording of the input's bytes with open, then reads every frame
// and formats every seen coordinate, as capture-convert does. A refused input
// (ConversionError) is a normal end; a recording that delivers another count
// of frames than it announced, or frames of another marker count, aborts,
// since the converter would write a wrong capture.
void fuzz_reading(const uint8_t* data, size_t size,
                  const std::function<std::unique_ptr<MarkerRecording>(InputFile)>& open);

#endif  // FUZZ_READING_H
