// Gap filling of one coordinate series: every missing (zero) value is replaced
// from its neighbours. MotionData::fill_gaps applies it to every series.
#ifndef GAP_FILLING_H
#define GAP_FILLING_H

struct MotionData;

// Fills every series of data as MotionData::fill_gaps does, on the given
// number of cores: with 2 (or more), the first half of the series (X, Y, Z of
// each joint in turn) here and the second half on another thread, at once.
// The values and the lines written are the same as on one core, since every
// warning is the same whole line.
void fill_all_series(MotionData& data, int cores);

// Fills the gaps of one series of the given length in place, one run at a time.
void fill_series(double* series, int length);
// Fills the first run of missing values after position `after` and returns
// the position up to which the series is complete (the run's right neighbour,
// or length); a series with no value at all is filled with a quiet NaN.
// Never reads or writes outside 0 .. length - 1.
int fill_next_gap(double* series, int after, int length);

#endif  // GAP_FILLING_H
