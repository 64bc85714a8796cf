#include "conversion_summary.h"

#include <cstdio>

#include "shortest_text.h"

namespace {

// count with its thousands set apart by commas: 3,361.
std::string grouped(int64_t count) {
  std::string digits = std::to_string(count);
  const size_t first = digits[0] == '-' ? 1 : 0;
  for (size_t at = digits.size(); at > first + 3; at -= 3) digits.insert(at - 3, ",");
  return digits;
}

// n as an English ordinal: 1st, 2nd, 3rd, 4th, 11th, 12th, 22nd.
std::string ordinal(int64_t n) {
  const int64_t last = n % 10;
  const bool teen = n % 100 / 10 == 1;
  const char* suffix = teen || last == 0 || last > 3 ? "th"
                       : last == 1                   ? "st"
                       : last == 2                   ? "nd"
                                                     : "rd";
  return std::to_string(n) + suffix;
}

// "580 frames", "93 frames (the file claims 652)" or "501 of 3,361 frames
// (4 s to 10.25 s, every 2nd)".
std::string frame_counts(const ConversionSummary& summary) {
  std::string notes;
  if (summary.kept) {
    const KeptFrames& kept = *summary.kept;
    notes = rounded(kept.first_seconds) + " s to " + rounded(kept.last_seconds) + " s";
    if (kept.every > 1) notes += ", every " + ordinal(kept.every);
  }
  if (summary.frames_claimed != summary.frames_read) {
    notes += (notes.empty() ? "" : "; ") + std::string("the file claims ") +
             grouped(summary.frames_claimed);
  }
  std::string counts = grouped(summary.frames);
  if (summary.kept) counts += " of " + grouped(summary.frames_read);
  counts += " frames";
  return notes.empty() ? counts : counts + " (" + notes + ")";
}

// The sentences that tell the user what the capture keeps out of reach.
std::string hints(const ConversionSummary& summary) {
  std::string said;
  if (summary.frames > frames_in_reach) {
    const int64_t every = (summary.frames_in_window + frames_in_reach - 1) / frames_in_reach;
    said += " Frame Number reaches the first " + grouped(frames_in_reach) + " frames (up to " +
            rounded(summary.reach_seconds) + " s); --start/--end or --every " +
            std::to_string(every) + " bring the rest within reach.";
  }
  if (summary.travel) {
    said += " The subject travels " + rounded(*summary.travel) + " " +
            (summary.units.empty() ? "recorded units" : summary.units) +
            "; --follow keeps it in view.";
  }
  return said.empty() ? said : ". Note:" + said;
}

}  // namespace

std::string rounded(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6g", value);
  return text;
}

std::string summary_line(const ConversionSummary& summary) {
  std::string line = std::to_string(summary.markers) + " markers, " + frame_counts(summary);
  line += " at " + rounded(summary.rate_hz) + " Hz in ";
  line += summary.units.empty() ? "recorded units" : summary.units;
  if (!summary.recorded_units.empty()) line += " (recorded in " + summary.recorded_units + ")";
  line += summary.turned_upright ? ", Y-up turned Z-up" : ", Z-up";
  if (summary.followed) line += ", followed";

  const double points = static_cast<double>(summary.markers) * static_cast<double>(summary.frames);
  char share[64];
  std::snprintf(share, sizeof share, ", %.1f %% of points not seen",
                points > 0.0 ? 100.0 * static_cast<double>(summary.points_not_seen) / points : 0.0);
  line += share;
  if (summary.fit) {
    const CaptureFit& fit = *summary.fit;
    line += "; fitted: centred on (" + rounded(fit.centre[0]) + ", " + rounded(fit.centre[1]) +
            ", " + rounded(fit.centre[2]) + "), scaled by " + rounded(fit.scale) +
            "; set nothing, the starting Zoom Input 10 and pans 0 frame it all";
  } else {
    line += "; to frame it all set Zoom Input " + shortest_string(summary.camera.zoom) +
            ", Pan Camera Vertical " + shortest_string(summary.camera.pan_vertical) +
            ", Pan Camera Horizontal " + shortest_string(summary.camera.pan_horizontal);
  }
  return line + hints(summary);
}
