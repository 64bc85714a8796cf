#include "data_line.h"

#include <cstring>

#include "number_parser.h"

namespace {

// The field of a data line from begin up to its comma, or end when it is the
// field that ends the line.
const char* field_end(const char* begin, const char* end) {
  const void* comma = std::memchr(begin, ',', static_cast<size_t>(end - begin));
  return comma != nullptr ? static_cast<const char*>(comma) : end;
}

}  // namespace

std::vector<double*> column_series(const MotionData& data) {
  std::vector<double*> series = {nullptr, data.sample_times};
  for (int32_t j = 0; j < data.joint_count; ++j) {
    series.insert(series.end(), {data.joints[j].x, data.joints[j].y, data.joints[j].z});
  }
  return series;
}

void store_data_line(const char* line, size_t length, int32_t row,
                     const std::vector<double*>& series, int32_t* sample_numbers) {
  const char* const end = line + length;
  const size_t columns = series.size();
  const size_t last_z_column = columns - 1;

  size_t column = 0;
  double value = 0.0;
  const char* comma = field_end(line, end);
  if (comma == end) {
    value = parse_decimal(line, end);
  } else {
    sample_numbers[row] = parse_integer(line, comma);
    for (;;) {
      const char* field = comma + 1;
      ++column;
      const char* stop = scan_decimal(field, end, value);
      comma = stop < end && *stop == ',' ? stop : field_end(stop, end);
      if (comma == end) break;
      if (column < columns) series[column][row] = value;
    }
  }
  if (column > last_z_column) return;
  if (column == 0) sample_numbers[row] = 0;
  for (size_t unset = column > 0 ? column : 1; unset < last_z_column; ++unset) {
    series[unset][row] = 0.0;
  }
  series[last_z_column][row] = value;
}
