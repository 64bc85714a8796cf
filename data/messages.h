// The lines that the reader and gap filling write to standard output.
#ifndef MESSAGES_H
#define MESSAGES_H

namespace messages {

constexpr char cannot_open[] = "Error:  Cannot open Motion Data file!\n";
constexpr char expecting_first_line[] = "Error:\tExpecting the first line!\n";
constexpr char expecting_ksample[] = "Error: Expecting Token KSample!\n";
constexpr char expecting_ktime[] = "Error: Expecting Token KTime!\n";
constexpr char expecting_data_line[] = "Error:\tExpecting a line of data!\n";
constexpr char three_headings[] = "Error: Expecting three column headings per joint!\n";
constexpr char out_of_memory[] = "Error: Not enough memory for the motion data!\n";
// These two take the 1-based line number; line_too_long also takes the most
// characters a line may hold (a size_t).
constexpr char line_too_long[] = "Error: Line %ld is longer than %zu characters!\n";
constexpr char nul_character[] = "Error: Line %ld holds a NUL character!\n";
constexpr char whole_series_missing[] = "The whole data is missing!\n";

}  // namespace messages

#endif  // MESSAGES_H
