#include "bvh_reader.h"

#include <cmath>
#include <utility>

#include "conversion_error.h"
#include "frame_rate.h"
#include "number_parser.h"

namespace {

using number_parser_detail::is_space;
using number_parser_detail::skip_space;

bool is_blank(std::string_view line) {
  return skip_space(line.data(), line.data() + line.size()) == line.data() + line.size();
}

}  // namespace

BvhReader::BvhReader(InputFile file) : lines(std::move(file)) {
  if (skeleton.channel_count() == 0) {
    throw ConversionError(at_line(lines.line_number(), "the BVH hierarchy has no channels"));
  }
  description.labels = skeleton.point_names();
  description.first_frame = 1;
  description.up = UpAxis::y;
  description.single_precision = false;
  values.resize(skeleton.channel_count());
  read_motion_header();

  const TextLines::Mark rows = lines.mark();
  std::string_view line;
  while (lines.next(line)) description.frames_present += is_blank(line) ? 0 : 1;
  if (description.frames_present == 0) {
    throw ConversionError(at_line(lines.line_number(), "the BVH file holds no frame rows"));
  }
  lines.seek(rows);
}

std::string_view BvhReader::value_after(std::string_view keyword, std::string_view word) {
  if (word.substr(0, keyword.size()) != keyword) {
    throw ConversionError(at_line(tokens.line_number(), "no \"" + std::string(keyword) +
                                                            "\" where the MOTION section has it"));
  }
  word.remove_prefix(keyword.size());
  if (word.empty()) tokens.next(word);
  return word;
}

void BvhReader::read_motion_header() {
  std::string_view word;
  tokens.next(word);
  if (!read_whole_number(value_after("Frames:", word), description.frames_claimed)) {
    throw ConversionError(at_line(tokens.line_number(), "Frames: is not a whole number"));
  }
  tokens.next(word);
  word = value_after("Frame", word);
  double seconds = 0.0;
  const bool usable = read_number_cell(value_after("Time:", word), seconds) == CellValue::number &&
                      is_usable_rate(1.0 / seconds);
  if (!usable) throw ConversionError(at_line(tokens.line_number(), rate_refusal("1 / Frame Time")));
  if (!tokens.at_line_end()) {
    throw ConversionError(at_line(tokens.line_number(), "more than a number after Frame Time"));
  }
  description.rate_hz = 1.0 / seconds;
}

bool BvhReader::next_frame(Frame& frame) {
  const size_t expected = values.size();
  size_t count = 0;
  std::string_view line;
  while (count == 0) {
    if (!lines.next(line)) return false;
    const char* p = line.data();
    const char* const end = p + line.size();
    while ((p = skip_space(p, end)) < end) {
      double value = 0.0;
      const char* const stop = scan_decimal(p, end, value);
      if (stop == p || (stop < end && !is_space(*stop)) || !std::isfinite(value)) {
        const char* word_end = p;
        while (word_end < end && !is_space(*word_end)) ++word_end;
        throw ConversionError(
            at_line(lines.line_number(),
                    "\"" + std::string(p, std::min<size_t>(40, static_cast<size_t>(word_end - p))) +
                        "\" is not a number"));
      }
      if (count < expected) values[count] = value;
      ++count;
      p = stop;
    }
  }
  if (count != expected) {
    throw ConversionError(at_line(lines.line_number(), "the row holds " + std::to_string(count) +
                                                           " numbers for " +
                                                           std::to_string(expected) + " channels"));
  }
  if (!skeleton.place(values.data(), frame.points)) {
    throw ConversionError(
        at_line(lines.line_number(), "the joints' positions are beyond the range of numbers"));
  }
  frame.number = next_number++;
  return true;
}
