#include "conversion_summary.h"

#include <charconv>
#include <cstdio>

namespace {

// value as the shortest text that reads back to the same double.
std::string shortest(double value) {
  char text[32];
  return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

}  // namespace

std::string summary_line(const ConversionSummary& summary) {
  std::string line =
      std::to_string(summary.markers) + " markers, " + std::to_string(summary.frames) + " frames";
  if (summary.frames_claimed != summary.frames) {
    line += " (the file claims " + std::to_string(summary.frames_claimed) + ")";
  }
  line += " at " + shortest(summary.rate_hz) + " Hz in ";
  line += summary.units.empty() ? "units the file does not name" : summary.units;

  const double points = static_cast<double>(summary.markers) * static_cast<double>(summary.frames);
  char share[64];
  std::snprintf(share, sizeof share, ", %.1f %% of points not seen",
                points > 0.0 ? 100.0 * static_cast<double>(summary.points_not_seen) / points : 0.0);
  line += share;
  line += "; to frame it all set Zoom Input " + shortest(summary.camera.zoom) +
          ", Pan Camera Vertical " + shortest(summary.camera.pan_vertical) +
          ", Pan Camera Horizontal " + shortest(summary.camera.pan_horizontal);
  return line;
}
