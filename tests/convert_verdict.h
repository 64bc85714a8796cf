// Judges how the capture-convert program ended on one damaged recording.
#ifndef CONVERT_VERDICT_H
#define CONVERT_VERDICT_H

#include <string>
#include <vector>

#include "sweep_runner.h"

// The kind of an error line, for a sweep's tally: the line with the input's
// path replaced by FILE and every number by N, up to the colon that ends
// its cause ("Error: FILE: line N: column N holds no number").
std::string error_kind(const std::string& line, const std::string& input);

// Runs capture-convert on input, writing output (in the same folder), and
// judges the run: it must end with status 0, one summary line and the
// capture alone in the folder, or with status 1, one "Error:" line and no
// file; never a crash, a hang or anything on standard error. Returns the
// outcome for the tally and what was wrong, if anything.
InputVerdict convert_and_judge(const std::string& input, const std::string& output);

// The paths of the files in dir whose names end in extension, in name order:
// a fuzzer's seeds, or the inputs kept from fuzzing.
std::vector<std::string> files_with_extension(const std::string& dir, const std::string& extension);

#endif  // CONVERT_VERDICT_H
