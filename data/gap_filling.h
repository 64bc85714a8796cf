// Gap filling of one coordinate series: every missing (zero) value is replaced
// from its neighbours. MotionData::fill_gaps applies it to every series.
#ifndef GAP_FILLING_H
#define GAP_FILLING_H

// Fills the gaps of one series of the given length in place, one run at a time.
void fill_series(double* series, int length);
// Fills the first run of missing values after position `after` and returns
// the position up to which the series is complete (the run's right neighbour,
// or length); a series with no value at all is filled with a quiet NaN.
// Never reads or writes outside 0 .. length - 1.
int fill_next_gap(double* series, int after, int length);

#endif  // GAP_FILLING_H
