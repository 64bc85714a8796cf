#include "capture_reader.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "comma_row.h"
#include "conversion_error.h"
#include "frame_rate.h"
#include "shortest_text.h"

namespace {

constexpr size_t first_marker_column = 2;
constexpr double single_sample_rate_hz = 100.0;

// value rounded to 9 significant digits: the rate a step of times written
// as shortest doubles (or with fewer digits) stands for.
double rounded_rate(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.9g", value);
  return std::strtod(text, nullptr);
}

std::string_view without_x_suffix(std::string_view heading) {
  if (heading.size() >= 2 && heading.substr(heading.size() - 2) == "_X") heading.remove_suffix(2);
  return heading;
}

}  // namespace

CaptureReader::CaptureReader(InputFile file) : lines(std::move(file)) {
  read_header();
  read_samples();
}

bool CaptureReader::next_line(std::string_view& line) {
  while (lines.next(line)) {
    if (!trim_blanks(line).empty()) return true;
  }
  return false;
}

int64_t CaptureReader::sample_number(CommaRow& row) const {
  int64_t number = 0;
  if (!read_whole_number(row.cell(0).value_or(""), number)) {
    throw ConversionError(at_line(lines.line_number(), "the sample number is no whole number"));
  }
  return number;
}

void CaptureReader::read_header() {
  std::string_view line;
  if (!lines.next(line)) throw ConversionError("the capture file is empty");
  split_cells(line, ',', cells);
  if (cells.size() < 2 || trim_blanks(cells[0]) != "KSample" || trim_blanks(cells[1]) != "KTime") {
    throw ConversionError(at_line(1, "the header does not begin with KSample,KTime"));
  }
  const size_t headings = cells.size() - first_marker_column;
  if (headings == 0 || headings % 3 != 0) {
    throw ConversionError(at_line(1, "the header does not hold three headings per marker"));
  }
  marker_count = headings / 3;
  for (size_t m = 0; m < marker_count; ++m) {
    const std::string heading = cell_text(cells[first_marker_column + 3 * m]);
    description.labels.emplace_back(without_x_suffix(heading));
  }
  description.up = UpAxis::z;
  first_data_line = lines.mark();
}

void CaptureReader::read_samples() {
  std::vector<double> rates;
  int64_t previous_sample = 0;
  double previous_time = NAN;
  for (std::string_view line; next_line(line);) {
    CommaRow row(line, cells);
    const int64_t sample = sample_number(row);
    double time = NAN;
    const CellValue read = row.number(1, 0, time);
    if (read == CellValue::bad)
      throw ConversionError(at_line(lines.line_number(), "the time is no number"));
    if (read == CellValue::empty) time = NAN;
    if (description.frames_present == 0) description.first_frame = sample;
    const double samples = static_cast<double>(sample - previous_sample);
    const double seconds = time - previous_time;
    if (description.frames_present > 0 && samples > 0.0 && seconds > 0.0) {
      rates.push_back(samples / seconds);
    }
    previous_sample = sample;
    previous_time = time;
    ++description.frames_present;
  }
  if (description.frames_present == 0) throw ConversionError("the capture file holds no samples");
  description.frames_claimed = description.frames_present;
  if (description.frames_present == 1) {
    description.rate_hz = single_sample_rate_hz;
  } else if (rates.empty()) {
    throw ConversionError(
        "the capture's times never increase with its sample numbers, so it has no rate");
  } else {
    const auto middle = rates.begin() + static_cast<std::ptrdiff_t>(rates.size() / 2);
    std::nth_element(rates.begin(), middle, rates.end());
    description.rate_hz = rounded_rate(*middle);
    if (!is_usable_rate(description.rate_hz)) {
      throw ConversionError(rate_refusal("the rate of the capture's times, " +
                                         shortest_string(description.rate_hz) + " Hz,"));
    }
  }
  lines.seek(first_data_line);
}

bool CaptureReader::next_frame(Frame& frame) {
  std::string_view line;
  if (!next_line(line)) return false;
  CommaRow row(line, cells);
  frame.number = sample_number(row);
  frame.points.assign(marker_count, MarkerPoint());
  for (size_t m = 0; m < marker_count; ++m) {
    const size_t column = first_marker_column + 3 * m;
    MarkerPoint& point = frame.points[m];
    double* coordinates[3] = {&point.x, &point.y, &point.z};
    for (size_t i = 0; i < 3; ++i) {
      double& value = *coordinates[i];
      const CellValue read = row.number(column + i, 0, value);
      if (read == CellValue::bad) {
        throw ConversionError(at_line(
            lines.line_number(), "field " + std::to_string(column + i + 1) + " holds no number"));
      }
      if (read == CellValue::empty || value == 0.0) {
        value = NAN;
      } else {
        point.seen = true;
      }
    }
  }
  return true;
}
