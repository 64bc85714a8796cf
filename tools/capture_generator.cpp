// Synthetic captures: a small figure walking in place in front of the camera.
#include "capture_generator.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

namespace {

constexpr double pi = 3.14159265358979323846;
constexpr double degrees = pi / 180.0;

// At scale 1 the figure is a person of 760 mm, feet on the plane z = -370, so
// that it fills the initial view; x points forward, y to the left, z up.
constexpr double height = 760.0;
constexpr double floor_z = -370.0;
constexpr double stride_hz = 0.9;  // gait cycles per second
constexpr double drift_mm = 25.0;  // slow sway of the whole body along x
constexpr double drift_hz = 0.05;

// Body landmarks, one marker each; further markers sit beside them.
constexpr int landmark_count = 16;
constexpr std::array<const char*, landmark_count> landmark_names = {
    "HEAD", "STRN", "LSHO", "RSHO", "LELB", "RELB", "LWRI", "RWRI",
    "LHIP", "RHIP", "LKNE", "RKNE", "LANK", "RANK", "LTOE", "RTOE"};

// Gaps: a visible marker starts a gap with this chance per sample, and a gap
// lasts gap_min_length .. gap_min_length + gap_length_spread - 1 samples;
// with a mean of 7.5 samples about 2 % of the triples are empty.
constexpr double gap_start_chance = 0.0027;
constexpr uint64_t gap_min_length = 3;
constexpr uint64_t gap_length_spread = 10;
constexpr double noise_mm = 0.3;  // peak measurement noise per coordinate

// Widest fields: a sample number with sign, a time of up to 10 integer
// digits (rate at least 1 Hz) with 5 decimals, coordinates below 100000 mm
// (scale at most 10, offset at most 5000, markers at most 0.3 m from their
// landmark) with 3 decimals and a sign; each field but the first has its
// comma; then the newline.
constexpr int time_decimals = 5;
constexpr size_t sample_field_width = 11;
constexpr size_t time_field_width = 1 + 10 + 1 + time_decimals;
constexpr size_t coordinate_field_width = 1 + 1 + 5 + 1 + 3;
constexpr double max_scale = 10.0;
constexpr double max_offset_mm = 5000.0;

// Characters of the longest data line of a capture with `markers` markers.
constexpr size_t line_capacity(int32_t markers) {
  return sample_field_width + time_field_width +
         3 * static_cast<size_t>(markers) * coordinate_field_width + 1;
}
static_assert(line_capacity(max_capture_markers) <= 1000000,
              "a data line must fit in the reader's line limit");

struct Point {
  double x, y, z;
};

// Writes value rounded to the given decimals, as [-]digits.digits, at out;
// returns the end. A value that would round to zero is written as the
// smallest positive step instead when keep_nonzero is set.
char* append_fixed(char* out, double value, int decimals, bool keep_nonzero) {
  double power = 1.0;
  for (int i = 0; i < decimals; ++i) power *= 10.0;
  long long scaled = std::llround(value * power);
  if (scaled == 0 && keep_nonzero) scaled = 1;
  if (scaled < 0) {
    *out++ = '-';
    scaled = -scaled;
  }
  char digits[24];
  int count = 0;
  do {
    digits[count++] = static_cast<char>('0' + scaled % 10);
    scaled /= 10;
  } while (scaled != 0 || count <= decimals);
  while (count > 0) {
    if (count == decimals) *out++ = '.';
    *out++ = digits[--count];
  }
  return out;
}

// Point in the sagittal (x, z) plane at length along a segment that leans
// forward by angle from straight down.
Point hang(const Point& from, double length, double angle) {
  return {from.x + length * std::sin(angle), from.y, from.z - length * std::cos(angle)};
}

// All landmarks at time t, in landmark_names order.
std::array<Point, landmark_count> landmarks_at(double t) {
  const double phase = 2.0 * pi * stride_hz * t;
  const double drift = drift_mm * std::sin(2.0 * pi * drift_hz * t);
  const double bob = 0.012 * height * std::cos(2.0 * phase);
  const double sway = 0.02 * height * std::sin(phase);
  const double pelvis_z = floor_z + 0.53 * height + bob;

  std::array<Point, landmark_count> p{};
  p[0] = {drift, sway, floor_z + 0.95 * height + bob};
  p[1] = {drift + 0.06 * height, sway, floor_z + 0.72 * height + bob};
  for (int side = 0; side < 2; ++side) {
    const double lateral = side == 0 ? 1.0 : -1.0;
    const double leg_phase = phase + side * pi;
    const double thigh = 25.0 * degrees * std::sin(leg_phase);
    const double swing = std::max(0.0, std::cos(leg_phase));
    const double knee_flex = (5.0 + 50.0 * swing * swing) * degrees;
    const double arm = -0.7 * thigh;
    const double elbow_flex = (20.0 + 10.0 * std::sin(leg_phase)) * degrees;

    const Point shoulder{drift, sway + lateral * 0.13 * height, floor_z + 0.818 * height + bob};
    Point elbow = hang(shoulder, 0.186 * height, arm);
    elbow.y += lateral * 0.01 * height;
    const Point wrist = hang(elbow, 0.146 * height, arm + elbow_flex);

    const Point hip{drift, sway + lateral * 0.09 * height, pelvis_z};
    const Point knee = hang(hip, 0.245 * height, thigh);
    const Point ankle = hang(knee, 0.246 * height, thigh - knee_flex);
    const double foot_pitch = 0.5 * (thigh - knee_flex);
    const double foot_x = 0.11 * height, foot_z = -0.035 * height;
    const Point toe{ankle.x + foot_x * std::cos(foot_pitch) - foot_z * std::sin(foot_pitch),
                    ankle.y,
                    ankle.z + foot_x * std::sin(foot_pitch) + foot_z * std::cos(foot_pitch)};

    p[2 + side] = shoulder;
    p[4 + side] = elbow;
    p[6 + side] = wrist;
    p[8 + side] = hip;
    p[10 + side] = knee;
    p[12 + side] = ankle;
    p[14 + side] = toe;
  }
  return p;
}

// Fixed offset of the marker that sits in ring `ring` around its landmark
// (ring 0 is the landmark itself). The rings wind outwards like the seeds of
// a sunflower, so that many markers cover a disc around the landmark evenly,
// as a dense marker set does.
Point ring_offset(int ring) {
  if (ring == 0) return {0.0, 0.0, 0.0};
  const double r = 0.025 * height * std::sqrt(static_cast<double>(ring));
  return {r * std::cos(2.4 * ring), r * std::sin(2.4 * ring), (ring % 2 == 1 ? 0.5 : -0.5) * r};
}

// Uniform value in [0, 1) from the engine's raw 64-bit output; the engine's
// sequence is fixed by the standard, so the bytes do not depend on the
// standard library.
double unit(std::mt19937_64& rng) { return static_cast<double>(rng() >> 11) * 0x1p-53; }

bool write_header(FILE* file, int32_t markers) {
  if (std::fputs("KSample,KTime", file) == EOF) return false;
  for (int32_t m = 0; m < markers; ++m) {
    const char* name = landmark_names[static_cast<size_t>(m % landmark_count)];
    const int ring = m / landmark_count;
    char label[16];
    if (ring == 0)
      std::snprintf(label, sizeof label, "%s", name);
    else
      std::snprintf(label, sizeof label, "%.3s%d", name, ring);
    if (std::fprintf(file, ",%s_X,%s_Y,%s_Z", label, label, label) < 0) return false;
  }
  return std::fputc('\n', file) != EOF;
}

}  // namespace

bool write_capture(FILE* file, const CaptureShape& shape) {
  if (shape.samples < 0 || shape.markers < 1 || shape.markers > max_capture_markers ||
      !(shape.rate_hz >= 1.0) || !(shape.scale > 0.0 && shape.scale <= max_scale) ||
      !(std::fabs(shape.offset_mm) <= max_offset_mm))
    return false;
  if (!write_header(file, shape.markers)) return false;

  std::mt19937_64 rng(shape.seed);
  std::vector<uint64_t> gap_left(static_cast<size_t>(shape.markers));
  std::vector<char> line_buffer(line_capacity(shape.markers));
  char* const line = line_buffer.data();
  for (int32_t s = 0; s < shape.samples; ++s) {
    const double t = s / shape.rate_hz;
    const std::array<Point, landmark_count> body = landmarks_at(t);
    char* out = line + std::snprintf(line, 16, "%d,", s + 1);
    out = append_fixed(out, t, time_decimals, false);
    for (int32_t m = 0; m < shape.markers; ++m) {
      uint64_t& left = gap_left[static_cast<size_t>(m)];
      if (left == 0 && unit(rng) < gap_start_chance)
        left = gap_min_length + rng() % gap_length_spread;
      if (left > 0) {
        --left;
        std::memcpy(out, ",,,", 3);
        out += 3;
        continue;
      }
      const Point& base = body[static_cast<size_t>(m % landmark_count)];
      const Point offset = ring_offset(m / landmark_count);
      const double coordinates[3] = {shape.scale * (base.x + offset.x) + shape.offset_mm,
                                     shape.scale * (base.y + offset.y) + shape.offset_mm,
                                     shape.scale * (base.z + offset.z) + shape.offset_mm};
      for (double c : coordinates) {
        *out++ = ',';
        out = append_fixed(out, c + noise_mm * (2.0 * unit(rng) - 1.0), 3, true);
      }
    }
    *out++ = '\n';
    if (std::fwrite(line, 1, static_cast<size_t>(out - line), file) !=
        static_cast<size_t>(out - line))
      return false;
  }
  return std::ferror(file) == 0;
}

bool write_capture_file(const char* path, const CaptureShape& shape) {
  FILE* file = std::fopen(path, "w");
  if (file == nullptr) return false;
  const bool written = write_capture(file, shape);
  return std::fclose(file) == 0 && written;
}
