#include "side_by_side.h"

#include <pthread.h>
#include <sched.h>

#include <thread>

namespace {

// The work given to the second core reads lines and converts numbers, or
// fills series: a small stack keeps its share of the address space small.
constexpr size_t helper_stack_bytes = size_t{1} << 20;

// Runs task on the thread that pthread_create starts.
void* run_task(void* task) {
  (*static_cast<const std::function<void()>*>(task))();
  return nullptr;
}

}  // namespace

int available_cores() {
  cpu_set_t cores;
  const int count = sched_getaffinity(0, sizeof cores, &cores) == 0
                        ? CPU_COUNT(&cores)
                        : static_cast<int>(std::thread::hardware_concurrency());
  return count >= 2 ? 2 : 1;
}

void run_side_by_side(const std::function<void()>& first, const std::function<void()>& second) {
  pthread_attr_t attributes;
  pthread_t helper;
  bool started = pthread_attr_init(&attributes) == 0;
  if (started) {
    started = pthread_attr_setstacksize(&attributes, helper_stack_bytes) == 0 &&
              pthread_create(&helper, &attributes, run_task,
                             const_cast<std::function<void()>*>(&second)) == 0;
    pthread_attr_destroy(&attributes);
  }
  first();
  if (started) {
    pthread_join(helper, nullptr);
  } else {
    second();
  }
}
