#include "conversion_summary.h"

#include <charconv>
#include <cstdio>

namespace {

// value as the shortest text that reads back to the same double.
std::string shortest(double value) {
  char text[32];
  return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

// value with six significant digits, for the user to read.
std::string rounded(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6g", value);
  return text;
}

}  // namespace

std::string summary_line(const ConversionSummary& summary) {
  std::string line =
      std::to_string(summary.markers) + " markers, " + std::to_string(summary.frames) + " frames";
  if (summary.frames_claimed != summary.frames) {
    line += " (the file claims " + std::to_string(summary.frames_claimed) + ")";
  }
  line += " at " + rounded(summary.rate_hz) + " Hz in ";
  line += summary.units.empty() ? "recorded units" : summary.units;
  if (!summary.recorded_units.empty()) line += " (recorded in " + summary.recorded_units + ")";
  line += summary.turned_upright ? ", Y-up turned Z-up" : ", Z-up";

  const double points = static_cast<double>(summary.markers) * static_cast<double>(summary.frames);
  char share[64];
  std::snprintf(share, sizeof share, ", %.1f %% of points not seen",
                points > 0.0 ? 100.0 * static_cast<double>(summary.points_not_seen) / points : 0.0);
  line += share;
  if (summary.fit) {
    const CaptureFit& fit = *summary.fit;
    return line + "; fitted: centred on (" + rounded(fit.centre[0]) + ", " +
           rounded(fit.centre[1]) + ", " + rounded(fit.centre[2]) + "), scaled by " +
           rounded(fit.scale) + "; set nothing, the starting Zoom Input 10 and pans 0 frame it all";
  }
  line += "; to frame it all set Zoom Input " + shortest(summary.camera.zoom) +
          ", Pan Camera Vertical " + shortest(summary.camera.pan_vertical) +
          ", Pan Camera Horizontal " + shortest(summary.camera.pan_horizontal);
  return line;
}
