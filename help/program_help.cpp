#include "program_help.h"

namespace {

// The options both programs take, in the words of both.
const OptionRow y_up = {"--y-up",
                        "the recording is Y-up: every point (x, y, z) becomes (x, -z, y)"};
const OptionRow z_up = {"--z-up", "the recording is Z-up: its axes are kept as they stand"};
const OptionRow keep_units = {"--keep-units",
                              "keep the recording's own units instead of millimetres"};
const OptionRow start = {"--start SECONDS",
                         "keep the frames whose written time is SECONDS or later"};
const OptionRow end = {"--end SECONDS", "keep the frames whose written time is SECONDS or earlier"};
const OptionRow every = {"--every N", "of the frames kept, keep the first and every N-th after it"};
const OptionRow follow = {"--follow",
                          "keep a subject who travels across the lab in the middle of the view"};
const OptionRow help = {"--help", "print this help and end"};
const OptionRow version = {"--version", "print the program's version and end"};

}  // namespace

const ProgramHelp& capture_convert_help() {
  static const ProgramHelp program = {
      "capture-convert",
      "INPUT OUTPUT [--y-up | --z-up] [--keep-units] [--fit] [--start SECONDS] [--end SECONDS] "
      "[--every N] [--follow]",
      "Turns the motion-capture recording INPUT into the capture file OUTPUT for marker-viewer.",
      {
          y_up,
          z_up,
          keep_units,
          {"--fit", "centre the capture and scale it to fill the viewer's starting camera"},
          start,
          end,
          every,
          follow,
          help,
          version,
      }};
  return program;
}

const ProgramHelp& capture_view_help() {
  static const ProgramHelp program = {
      "capture-view",
      "RECORDING [--y-up | --z-up] [--keep-units] [--start SECONDS] [--end SECONDS] [--every N] "
      "[--follow]",
      "Shows the motion-capture recording RECORDING in marker-viewer's window, fitted to the view.",
      {
          y_up,
          z_up,
          keep_units,
          start,
          end,
          every,
          follow,
          {"--desktop", "also show an Error: line in a message box (for a start from the desktop)"},
          help,
          version,
      }};
  return program;
}

const std::vector<FormatRow>& formats_read() {
  static const std::vector<FormatRow> formats = {
      {"C3D", "its header key (byte 2 is 0x50)", "POINT:UNITS turned into mm",
       "Y-up if POINT:Y_SCREEN is +Y, else Z-up"},
      {"TRC", "first line begins PathFileType", "Units turned into mm", "Y-up"},
      {"Qualisys TSV", "a header key line (NO_OF_FRAMES, MARKER_NAMES, ...)", "mm", "Z-up"},
      {"Vicon Nexus CSV", "a section name (Trajectories, ...) alone on a line",
       "the units row turned into mm", "Z-up"},
      {"Motive CSV", "first line begins Format Version,", "Length Units turned into mm", "Y-up"},
      {"BVH", "first line HIERARCHY", "as recorded (BVH names no unit)", "Y-up"},
      {"capture file", "first line begins KSample", "as recorded", "Z-up"},
  };
  return formats;
}

const char* project_version() { return MARKER_VIEWER_VERSION; }
