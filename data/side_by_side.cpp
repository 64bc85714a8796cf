#include "side_by_side.h"

#include <pthread.h>
#include <sched.h>

#include <cstdio>
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

// The processors this process may run on.
int processor_count() {
  cpu_set_t cores;
  return sched_getaffinity(0, sizeof cores, &cores) == 0
             ? CPU_COUNT(&cores)
             : static_cast<int>(std::thread::hardware_concurrency());
}

// Threads ready to run on the whole machine, this one included; 1 when
// /proc/stat cannot be read.
long running_threads() {
  FILE* stat = std::fopen("/proc/stat", "re");
  if (stat == nullptr) return 1;
  char line[256];
  long running = 1;
  while (std::fgets(line, sizeof line, stat) != nullptr) {
    if (std::sscanf(line, "procs_running %ld", &running) == 1) break;
  }
  std::fclose(stat);
  return running;
}

}  // namespace

int available_cores() { return processor_count() >= 2 ? 2 : 1; }

int idle_cores() { return cores_worth_using(processor_count(), running_threads()); }

int cores_worth_using(int processors, long running_threads) {
  const long other_threads = running_threads - 1;
  return processors >= 2 && other_threads < processors ? 2 : 1;
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
