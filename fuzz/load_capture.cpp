// Loads one capture file and fills its gaps, then ends with status 0.
// Child process of the mutation sweep, target of the fuzzer and of valgrind:
// it prints nothing of its own, so standard output holds only the reader's
// and gap filling's lines. A bad file ends the process inside the reader
// with one "Error:" line and status 1.
#include <cstdio>

#include "motion_data.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: load-capture CAPTURE_FILE\n", stderr);
    return 2;
  }
  MotionData* data = new MotionData();
  load_motion_data(argv[1], *data);
  data->fill_gaps();
  return 0;
}
