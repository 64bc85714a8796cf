// Recordings of every format opened from memory and from their file.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "recording_format.h"
#include "temp_dir.h"

namespace {

// Each frame of the recording as a line: its number, then every point, the
// coordinates exact to the bit.
std::vector<std::string> every_frame(MarkerRecording& recording) {
  std::vector<std::string> lines;
  char point[128];
  for (Frame frame; recording.next_frame(frame);) {
    std::string line = std::to_string(frame.number);
    for (const MarkerPoint& p : frame.points) {
      std::snprintf(point, sizeof point, " %d:%a,%a,%a", p.seen, p.x, p.y, p.z);
      line += point;
    }
    lines.push_back(line);
  }
  return lines;
}

TEST(RecordingFormat, EveryReaderGivesTheSameFramesFromMemoryAsFromTheFile) {
  for (const char* path : {RECORDED_C3D, RECORDED_TRC, RECORDED_QUALISYS, RECORDED_NEXUS,
                           RECORDED_MOTIVE, RECORDED_BVH, SAMPLE_CAPTURE}) {
    const std::string bytes = read_file(path);
    const std::unique_ptr<MarkerRecording> from_file = open_recording(path);
    const std::unique_ptr<MarkerRecording> from_memory =
        open_recording(InputFile(std::vector<unsigned char>(bytes.begin(), bytes.end())), path);
    EXPECT_EQ(from_memory->info().labels, from_file->info().labels) << path;
    const std::vector<std::string> frames = every_frame(*from_file);
    EXPECT_FALSE(frames.empty()) << path;
    EXPECT_EQ(every_frame(*from_memory), frames) << path;
  }
}

}  // namespace
