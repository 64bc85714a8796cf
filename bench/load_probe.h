// Times one load of a capture file in a child process and reads its peak memory.
#ifndef LOAD_PROBE_H
#define LOAD_PROBE_H

#include <string>
#include <vector>

// What one load in a fresh child process took.
struct LoadRun {
  bool ok = false;            // the child loaded the file and exited with 0
  double load_seconds = 0.0;  // load_motion_data, or the whole read of a baseline
  double fill_seconds = 0.0;  // MotionData::fill_gaps right after it (0 for a baseline)
  double cpu_seconds = 0.0;   // the child's user + system time: on a busy
                              // machine it stays near the time of a quiet one
  long peak_rss_kib = 0;      // the child's peak resident set, in KiB
};

// Forks a child that runs load_motion_data on the given number of cores (0:
// as the viewer calls it, on both when the second is idle) and fill_gaps on
// path and exits.
// The child starts as a copy of the caller, so its peak resident set includes
// the caller's own at the moment of the fork; keep the caller small. A bad
// file ends only the child (its "Error:" line reaches standard output) and
// gives ok == false. Flushes standard output first so that nothing buffered
// is written twice.
LoadRun run_load_in_child(const char* path, int cores);

// Like run_load_in_child with the plain baseline instead of the loader:
// fgets and strtod into a growing array (read_with_fgets_strtod), no filling.
LoadRun run_plain_read_in_child(const char* path);

// Runs a script that times a library's CSV reader (read_csv_pandas.py,
// read_csv_polars.js) in a fresh process: command is the interpreter, the
// script and the capture's path, extra_env NAME=VALUE entries added to the
// environment. The script prints two times: load_seconds, the reader alone,
// and import_seconds, loading the library before it. ok is false when the
// process failed or printed something else (the library missing, say).
struct ScriptRun {
  bool ok = false;
  double load_seconds = 0.0;
  double import_seconds = 0.0;
};
ScriptRun run_read_script(const std::vector<std::string>& command,
                          const std::vector<std::string>& extra_env);

// Peak resident set of a child that forks and exits at once, in KiB: the
// part of every LoadRun::peak_rss_kib that is not the loader's.
long idle_child_rss_kib();

#endif  // LOAD_PROBE_H
