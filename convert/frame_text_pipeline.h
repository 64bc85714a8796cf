// Capture lines formed on two threads where the process may use two cores:
// while the caller's thread reads the next frames, a second thread formats
// the frames handed over before and writes their text, and the caller
// formats too whenever the second thread falls behind.
#ifndef FRAME_TEXT_PIPELINE_H
#define FRAME_TEXT_PIPELINE_H

#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "frame_text.h"

class FrameTextPipeline {
 public:
  // Receives text in frame order; may throw, and the error then reaches the
  // caller of add or finish.
  using Sink = std::function<void(const char* text, size_t length)>;

  // With two_threads false, or when no thread can be started, every frame
  // is formatted and handed to the sink on the caller's thread. The sink
  // receives the same bytes either way.
  FrameTextPipeline(CoordinateDigits digits, Sink sink, bool two_threads);
  // Stops the second thread (abandon).
  ~FrameTextPipeline();
  FrameTextPipeline(const FrameTextPipeline&) = delete;
  FrameTextPipeline& operator=(const FrameTextPipeline&) = delete;

  // Copies frame and its time in seconds to be formatted as one line.
  // Rethrows an error of the sink.
  void add(const Frame& frame, double seconds);
  // Hands every line to the sink and stops the second thread. Rethrows an
  // error of the sink.
  void finish();
  // Stops the second thread, dropping text not handed to the sink yet; once
  // it returns the sink is not called again.
  void abandon();

 private:
  // Frames handed over together, and their text once formatted.
  struct Batch {
    enum class State { open, handed, formatting, formatted };
    State state = State::open;
    std::vector<Frame> frames;
    std::vector<double> seconds;
    size_t count = 0;
    std::vector<char> text;
    size_t text_length = 0;
  };
  using Lock = std::unique_lock<std::mutex>;

  Batch& slot(uint64_t sequence);
  void hand_over();
  // Writes the next batch when it is formatted and `writes`, else formats
  // the oldest batch nobody has claimed; false when neither was possible.
  bool work_once(Lock& lock, bool writes);
  void format_next(Lock& lock);
  void write_next(Lock& lock);
  void run_second_thread();
  void rethrow_failure() const;

  CoordinateDigits digits;
  Sink sink;
  std::vector<Batch> batches;  // a ring, batch n in slot n % size
  size_t batch_frames = 0;     // frames a batch holds, set by the first frame
  uint64_t filling = 0;        // the batch the caller fills
  // Guarded by mutex: batches [next_to_write, handed) are handed over, of
  // which those from next_to_format on are not being formatted yet.
  std::mutex mutex;
  std::condition_variable changed;
  uint64_t handed = 0;
  uint64_t next_to_format = 0;
  uint64_t next_to_write = 0;
  bool finishing = false;
  bool stopping = false;
  std::exception_ptr failure;
  std::thread second;
};

#endif  // FRAME_TEXT_PIPELINE_H
