#include "recording_texts.h"

#include <charconv>
#include <cmath>
#include <vector>

#include "c3d_builder.h"

namespace {

// Appends value with `decimals` places.
void append_number(std::string& text, double value, int decimals) {
  char cell[40];
  text.append(
      cell, std::to_chars(cell, cell + sizeof cell, value, std::chars_format::fixed, decimals).ptr);
}

// Appends delimiter and value with `decimals` places.
void append(std::string& text, char delimiter, double value, int decimals) {
  text += delimiter;
  append_number(text, value, decimals);
}

std::string marker_name(size_t m) { return "MARKER" + std::to_string(m + 1); }

// The rows of every frame: the frame's first cells by `row_start`, then
// X, Y, Z of every marker (or `not_seen` for each), then `line_end`.
template <typename RowStart>
void append_rows(std::string& text, const BenchMotion& motion, char delimiter, int decimals,
                 double scale, const char* not_seen, const char* line_end, RowStart row_start) {
  double xyz[3];
  for (int64_t f = 0; f < motion.frames; ++f) {
    row_start(f);
    for (size_t m = 0; m < motion.markers; ++m) {
      if (!motion.position(f, m, xyz)) {
        text += not_seen;
        continue;
      }
      for (const double v : xyz) append(text, delimiter, v * scale, decimals);
    }
    text += line_end;
  }
}

}  // namespace

bool BenchMotion::position(int64_t f, size_t m, double xyz[3]) const {
  if ((f + static_cast<int64_t>(m) * 13) % 400 < 8) return false;
  const double phase = static_cast<double>(f) * 0.01 + static_cast<double>(m);
  // A thousandth of a mm of its own for each frame, so no value is round.
  const double fraction = static_cast<double>((f + static_cast<int64_t>(m)) % 997) * 1e-3;
  xyz[0] = 1000.0 + 300.0 * std::sin(phase) + fraction;
  xyz[1] = -200.0 + 15.0 * static_cast<double>(m) + 70.0 * std::cos(phase) + fraction;
  xyz[2] = 100.0 + 50.0 * static_cast<double>(m) + 9.0 * std::sin(3.0 * phase) + fraction;
  return true;
}

std::string qualisys_export(const BenchMotion& motion) {
  std::string text = "NO_OF_FRAMES\t" + std::to_string(motion.frames) +
                     "\nNO_OF_CAMERAS\t8\nNO_OF_MARKERS\t" + std::to_string(motion.markers) +
                     "\nFREQUENCY\t100\nNO_OF_ANALOG\t0\nANALOG_FREQUENCY\t0\nDESCRIPTION\t--\n"
                     "TIME_STAMP\t2026-12-08, 12:00:00\t1.0\nDATA_INCLUDED\t3D\nMARKER_NAMES";
  for (size_t m = 0; m < motion.markers; ++m) text += "\t" + marker_name(m);
  text += "\nFrame\tTime";
  for (size_t m = 0; m < motion.markers; ++m) {
    for (const char* axis : {" X", " Y", " Z"}) text += "\t" + marker_name(m) + axis;
  }
  text += '\n';
  append_rows(text, motion, '\t', 3, 1.0, "\t0.000\t0.000\t0.000", "\n", [&](int64_t f) {
    text += std::to_string(f + 1);
    append(text, '\t', static_cast<double>(f) * 0.01, 3);
  });
  return text;
}

std::string nexus_export(const BenchMotion& motion) {
  const std::string padding(2 + 3 * motion.markers, ',');
  std::string text = "Trajectories" + padding + "\r\n100" + padding + "\r\n,";
  for (size_t m = 0; m < motion.markers; ++m) text += ",Body:" + marker_name(m) + ",,";
  text += "\r\nFrame,Sub Frame";
  for (size_t m = 0; m < motion.markers; ++m) text += ",X,Y,Z";
  text += "\r\n,";
  for (size_t m = 0; m < motion.markers; ++m) text += ",mm,mm,mm";
  text += "\r\n";
  append_rows(text, motion, ',', 5, 1.0, ",,,", "\r\n",
              [&](int64_t f) { text += std::to_string(f + 1) + ",0"; });
  return text;
}

std::string motive_export(const BenchMotion& motion, bool metres) {
  std::string text =
      "Format Version,1.23,Take Name,bench,Capture Frame Rate,100.000000,"
      "Export Frame Rate,100.000000,Total Exported Frames," +
      std::to_string(motion.frames) + ",Rotation Type,Quaternion,Length Units," +
      (metres ? "Meters" : "Millimeters") + ",Coordinate Space,Global\n\n";
  std::string types = ",Type", names = ",Name", groups = ",", headings = "Frame,Time (Seconds)";
  for (size_t m = 0; m < motion.markers; ++m) {
    for (int axis = 0; axis < 3; ++axis) {
      types += ",Marker";
      names += ",Unlabeled " + std::to_string(1000 + m);
      groups += ",Position";
    }
    headings += ",X,Y,Z";
  }
  text += types + "\n" + names + "\n" + groups + "\n" + headings + "\n";
  append_rows(text, motion, ',', 6, metres ? 1e-3 : 1.0, ",,,", "\n", [&](int64_t f) {
    text += std::to_string(f);
    append(text, ',', static_cast<double>(f) * 0.01, 6);
  });
  return text;
}

std::string trc_table(const BenchMotion& motion) {
  std::string text =
      "PathFileType\t4\t(X/Y/Z)\tbench.trc\n"
      "DataRate\tCameraRate\tNumFrames\tNumMarkers\tUnits\n100\t100\t" +
      std::to_string(motion.frames) + "\t" + std::to_string(motion.markers) + "\tmm\nFrame#\tTime";
  for (size_t m = 0; m < motion.markers; ++m) text += "\t" + marker_name(m) + "\t\t";
  text += "\n\t";
  for (size_t m = 1; m <= motion.markers; ++m) {
    const std::string n = std::to_string(m);
    text += "\tX" + n + "\tY" + n + "\tZ" + n;
  }
  text += "\n\n";
  append_rows(text, motion, '\t', 3, 1.0, "\t\t\t", "\n", [&](int64_t f) {
    text += std::to_string(f + 1);
    append(text, '\t', static_cast<double>(f) * 0.01, 3);
  });
  return text;
}

std::string bvh_skeleton(const BenchMotion& motion) {
  constexpr int chain_lengths[] = {6, 6, 6, 6, 5};
  std::string text =
      "HIERARCHY\nROOT Hips\n{\n\tOFFSET 0 90 0\n"
      "\tCHANNELS 6 Xposition Yposition Zposition Zrotation Xrotation Yrotation\n";
  int joints = 1;
  for (int chain = 0; chain < 5; ++chain) {
    for (int link = 0; link < chain_lengths[chain]; ++link) {
      const std::string indent(static_cast<size_t>(link + 1), '\t');
      text += indent + "JOINT Joint" + std::to_string(++joints) + "\n" + indent + "{\n" + indent +
              "\tOFFSET " + std::to_string(chain - 2) + " " + std::to_string(chain == 0 ? 8 : -8) +
              " 0.5\n" + indent +
              (chain % 2 == 0 ? "\tCHANNELS 3 Zrotation Xrotation Yrotation\n"
                              : "\tCHANNELS 3 Xrotation Yrotation Zrotation\n");
    }
    for (int link = chain_lengths[chain]; link > 0; --link) {
      const std::string indent(static_cast<size_t>(link + 1), '\t');
      if (link == chain_lengths[chain]) {
        text +=
            indent + "End Site\n" + indent + "{\n" + indent + "\tOFFSET 0 4 0\n" + indent + "}\n";
      }
      text += std::string(static_cast<size_t>(link), '\t') + "}\n";
    }
  }
  text += "}\nMOTION\nFrames: " + std::to_string(motion.frames) + "\nFrame Time: 0.008333\n";
  const size_t channels = 6 + 3 * static_cast<size_t>(joints - 1);
  for (int64_t f = 0; f < motion.frames; ++f) {
    for (size_t c = 0; c < channels; ++c) {
      const double phase = static_cast<double>(f) * 0.01 + static_cast<double>(c);
      if (c > 0) text += ' ';
      append_number(text, (c < 3 ? 100.0 : 45.0) * std::sin(phase), 4);
    }
    text += '\n';
  }
  return text;
}

std::string c3d_recording(const BenchMotion& motion, int analog_samples) {
  C3dDescription d;
  d.float_storage = true;
  d.scale = 0.1f;
  d.frames = motion.frames;
  d.analog_samples = analog_samples;
  for (size_t m = 0; m < motion.markers; ++m) d.labels.push_back(marker_name(m));
  d.point = [motion](int64_t f, size_t m) {
    double xyz[3] = {0.0, 0.0, 0.0};
    StoredPoint p;
    p.seen = motion.position(f, m, xyz);
    p.x = static_cast<int16_t>(std::lround(xyz[0] * 10.0));
    p.y = static_cast<int16_t>(std::lround(xyz[1] * 10.0));
    p.z = static_cast<int16_t>(std::lround(xyz[2] * 10.0));
    return p;
  };
  const std::vector<unsigned char> bytes = build_c3d(d);
  return std::string(bytes.begin(), bytes.end());
}
