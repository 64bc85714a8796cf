// Writes the seed C3D files of the fuzzer into a folder: every processor
// type with integer and float storage, LABELS2, an empty parameter section,
// a lying frame count and points not seen.
//
// Usage: make_c3d_corpus FOLDER     (fuzz/c3d-corpus is made with it)
#include <cstdio>
#include <string>

#include "c3d_builder.h"

namespace {

// Three markers walking along x; the second is not seen in odd frames.
C3dDescription walking_markers() {
  C3dDescription d;
  d.labels = {"HEAD", "LHAND", "RHAND"};
  d.frames = 4;
  d.analog_samples = 2;
  d.point = [](int64_t f, size_t m) {
    return StoredPoint{static_cast<int16_t>(100 * f + 7), static_cast<int16_t>(50 * m),
                       static_cast<int16_t>(1700 - 300 * m), m != 1 || f % 2 == 0};
  };
  return d;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::printf("Usage: make_c3d_corpus FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  bool ok = true;
  const struct {
    const char* name;
    C3dNumberFormat format;
  } formats[] = {{"intel", C3dNumberFormat::intel},
                 {"dec", C3dNumberFormat::dec},
                 {"mips", C3dNumberFormat::mips}};
  for (const auto& format : formats) {
    for (bool float_storage : {false, true}) {
      C3dDescription d = walking_markers();
      d.format = format.format;
      d.float_storage = float_storage;
      ok = ok &&
           write_c3d_file(
               folder + "/" + format.name + (float_storage ? "-float" : "-integer") + ".c3d", d);
    }
  }
  C3dDescription empty = walking_markers();
  empty.empty_parameters = true;
  ok = ok && write_c3d_file(folder + "/empty-parameters.c3d", empty);

  C3dDescription lying = walking_markers();
  lying.frames_claimed = 40;
  ok = ok && write_c3d_file(folder + "/lying-frame-count.c3d", lying);

  C3dDescription many = walking_markers();
  many.labels.clear();
  for (int m = 0; m < 260; ++m) many.labels.push_back("M" + std::to_string(m));
  many.frames = 1;
  ok = ok && write_c3d_file(folder + "/labels2.c3d", many);
  if (!ok) std::printf("Error: cannot write the corpus into %s\n", folder.c_str());
  return ok ? 0 : 1;
}
