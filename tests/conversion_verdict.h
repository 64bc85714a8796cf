// Judges how capture-convert ended on one input, for the converter's
// mutation sweeps.
#ifndef CONVERSION_VERDICT_H
#define CONVERSION_VERDICT_H

#include <string>
#include <vector>

#include "sweep_runner.h"
#include "temp_dir.h"

// The regular files in dir whose extension is `extension` (e.g. ".c3d"), in
// name order.
std::vector<std::string> files_with_extension(const std::string& dir, const std::string& extension);

// Converts input into output (in the same folder) with the capture-convert
// program in a child process and judges the run: it must end with status 0,
// one summary line and output alone, or status 1, one "Error:" line and no
// output; nothing on standard error, no signal, no hang. The outcome names
// the kind of ending for the tally ("status 1: Error: PATH: line N: ...").
InputVerdict conversion_verdict(const std::string& input, const std::string& output);

// Writes mutant, a damaged copy of the seed file seed_path made by `edits`,
// into dir as "mutant-<index><extension>" and judges its conversion. Removes
// the files when the run ended as it must; otherwise keeps them and names
// the input, the seed and the edits in the fault.
InputVerdict mutant_verdict(const TempDir& dir, int index, const std::string& mutant,
                            const std::string& extension, const std::string& seed_path,
                            const std::string& edits);

#endif  // CONVERSION_VERDICT_H
