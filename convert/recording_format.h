// Which format a recording is in, told by its content, and the reader for it.
#ifndef RECORDING_FORMAT_H
#define RECORDING_FORMAT_H

#include <cstddef>
#include <memory>
#include <string>

#include "input_file.h"
#include "marker_recording.h"

enum class RecordingFormat { c3d, capture, trc, qualisys, nexus, motive, bvh, unknown };

// The format of a file that begins with these bytes (its first few
// kilobytes are enough): C3D by its header key; a capture file by KSample
// first (after an optional UTF-8 byte-order mark); TRC by PathFileType
// first; Qualisys TSV by a line
// that starts with one of its header keys (is_qualisys_key_line); Vicon Nexus CSV by a section
// name (Trajectories, Devices, Joints, Model Outputs, Segments) alone on a
// line but for commas; Motive CSV by "Format Version,"; BVH by HIERARCHY.
RecordingFormat detect_format(const unsigned char* bytes, size_t size);

// Opens the file at path with the reader of its format. Throws
// ConversionError when it cannot be read, is in no format read here, or its
// reader refuses it.
std::unique_ptr<MarkerRecording> open_recording(const std::string& path);

// The same for a file already mapped or in memory; name stands for it in
// error messages.
std::unique_ptr<MarkerRecording> open_recording(InputFile file, const std::string& name);

#endif  // RECORDING_FORMAT_H
