#include "frame_text_pipeline.h"

#include <algorithm>
#include <system_error>

namespace {

constexpr size_t ring_batches = 16;
// The caller formats too once this many batches wait for the second thread:
// enough that the second thread never runs dry while the caller formats.
constexpr uint64_t waiting_batches_to_help = 8;
// About 400 KB of text a batch: large enough that the threads rarely meet
// at the lock, small enough that the ring of frames and text stays within
// about 16 MB.
constexpr size_t points_per_batch = 16384;

}  // namespace

FrameTextPipeline::FrameTextPipeline(CoordinateDigits digits, Sink sink, bool two_threads)
    : digits(digits), sink(std::move(sink)), batches(ring_batches) {
  if (!two_threads) return;
  try {
    second = std::thread(&FrameTextPipeline::run_second_thread, this);
  } catch (const std::system_error&) {
    // No thread to be had: every line is formed on the caller's thread.
  }
}

FrameTextPipeline::~FrameTextPipeline() { abandon(); }

void FrameTextPipeline::abandon() {
  {
    const std::lock_guard<std::mutex> guard(mutex);
    stopping = true;
  }
  changed.notify_all();
  if (second.joinable()) second.join();
}

FrameTextPipeline::Batch& FrameTextPipeline::slot(uint64_t sequence) {
  return batches[sequence % batches.size()];
}

void FrameTextPipeline::add(const Frame& frame, double seconds) {
  if (batch_frames == 0)
    batch_frames = std::max<size_t>(1, points_per_batch / std::max<size_t>(1, frame.points.size()));
  Batch& batch = slot(filling);
  if (batch.frames.size() < batch_frames) {
    batch.frames.resize(batch_frames);
    batch.seconds.resize(batch_frames);
  }
  batch.frames[batch.count] = frame;
  batch.seconds[batch.count] = seconds;
  if (++batch.count == batch_frames) hand_over();
}

void FrameTextPipeline::hand_over() {
  Lock lock(mutex);
  slot(filling).state = Batch::State::handed;
  ++filling;
  ++handed;
  changed.notify_all();
  if (!second.joinable()) {
    while (work_once(lock, true)) {
    }
    return;
  }
  // Help with the formatting while the second thread falls behind, and wait
  // for the next batch's slot to be written out.
  for (;;) {
    rethrow_failure();
    const bool behind = handed - next_to_format >= waiting_batches_to_help;
    const bool ring_full = filling - next_to_write >= batches.size();
    if (!behind && !ring_full) return;
    if (!work_once(lock, false)) changed.wait(lock);
  }
}

bool FrameTextPipeline::work_once(Lock& lock, bool writes) {
  if (writes && next_to_write < handed && slot(next_to_write).state == Batch::State::formatted) {
    write_next(lock);
    return true;
  }
  if (next_to_format == handed) return false;
  format_next(lock);
  return true;
}

void FrameTextPipeline::format_next(Lock& lock) {
  Batch& batch = slot(next_to_format++);
  batch.state = Batch::State::formatting;
  lock.unlock();
  batch.text_length = 0;
  for (size_t i = 0; i < batch.count; ++i) {
    const size_t needed = batch.text_length + longest_frame_text(batch.frames[i].points.size());
    if (batch.text.size() < needed) batch.text.resize(std::max(2 * batch.text.size(), needed));
    const char* end = write_frame_text(batch.text.data() + batch.text_length, batch.frames[i],
                                       batch.seconds[i], digits);
    batch.text_length = static_cast<size_t>(end - batch.text.data());
  }
  lock.lock();
  batch.state = Batch::State::formatted;
  changed.notify_all();
}

void FrameTextPipeline::write_next(Lock& lock) {
  Batch& batch = slot(next_to_write);
  lock.unlock();
  sink(batch.text.data(), batch.text_length);
  lock.lock();
  batch.state = Batch::State::open;
  batch.count = 0;
  ++next_to_write;
  changed.notify_all();
}

void FrameTextPipeline::run_second_thread() {
  Lock lock(mutex);
  while (!stopping && !failure) {
    try {
      if (work_once(lock, true)) continue;
    } catch (...) {
      if (!lock.owns_lock()) lock.lock();
      failure = std::current_exception();
      changed.notify_all();
      return;
    }
    if (finishing && next_to_write == handed) return;
    changed.wait(lock);
  }
}

void FrameTextPipeline::rethrow_failure() const {
  if (failure) std::rethrow_exception(failure);
}

void FrameTextPipeline::finish() {
  if (slot(filling).count > 0) hand_over();
  Lock lock(mutex);
  finishing = true;
  changed.notify_all();
  while (next_to_write < handed) {
    rethrow_failure();
    if (!work_once(lock, !second.joinable())) changed.wait(lock);
  }
  rethrow_failure();
  lock.unlock();
  if (second.joinable()) second.join();
}
