// Reads a BVH skeleton motion: every joint and End Site becomes a marker,
// placed frame by frame by forward kinematics.
#ifndef BVH_READER_H
#define BVH_READER_H

#include <string>
#include <string_view>
#include <vector>

#include "bvh_skeleton.h"
#include "bvh_tokens.h"
#include "marker_recording.h"
#include "text_lines.h"

class BvhReader : public MarkerRecording {
 public:
  // Reads the file's hierarchy and the MOTION section's
  // "Frames: N" and "Frame Time: t" (rate 1 / t, frames numbered from 1).
  // The file names no units and stands Y-up. Throws ConversionError ("line
  // N: cause") when its hierarchy is damaged, N is no whole number, 1 / t
  // no rate from 0.001 Hz to 1000000 Hz, or no frame row follows.
  explicit BvhReader(InputFile file);

  const RecordingInfo& info() const override { return description; }

  // Reads the next frame row (blank lines are skipped): one number per
  // channel, separated by white space, and places every joint and End Site.
  // Throws ConversionError when the row holds something else or another
  // count of numbers, or places a joint beyond the range of doubles.
  bool next_frame(Frame& frame) override;

 private:
  // Reads "Frames: N" and "Frame Time: t" after MOTION.
  void read_motion_header();
  // What follows keyword (e.g. "Frames:") at the start of word: the rest of
  // word, or the next word when keyword is all of it.
  std::string_view value_after(std::string_view keyword, std::string_view word);

  TextLines lines;
  BvhTokens tokens{lines};
  BvhSkeleton skeleton{tokens};
  RecordingInfo description;
  std::vector<double> values;  // the channels of the row being read
  int64_t next_number = 1;
};

#endif  // BVH_READER_H
