// C3D files written by the test-side builder, converted in-process: every
// processor type and storage, labels, long and lying captures, damaged files.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "c3d_builder.h"
#include "c3d_bytes.h"
#include "c3d_reader.h"
#include "conversion_error.h"
#include "converter.h"
#include "temp_dir.h"

namespace {

// Two markers over three frames, with analog samples between the frames;
// RASI is not seen in frame 2 (its stored coordinates are junk then).
C3dDescription two_markers() {
  C3dDescription d;
  d.labels = {"LASI", "RASI"};
  d.frames = 3;
  d.analog_samples = 4;
  d.point = [](int64_t f, size_t m) {
    const StoredPoint points[3][2] = {
        {{7337, -125, 0, true}, {32767, -32768, 1, true}},
        {{7338, -124, 10, true}, {999, 999, 999, false}},
        {{7339, -123, 20, true}, {-1, 2, -3, true}},
    };
    return points[f][m];
  };
  return d;
}

// Coordinates are the stored values x 0.1 in single precision, written as
// the shortest text that reads back to that float: -124 x 0.1 is the float
// -12.400001, not -12.4.
const char two_markers_capture[] =
    "KSample,KTime,LASI_X,LASI_Y,LASI_Z,RASI_X,RASI_Y,RASI_Z\n"
    "1,0,733.7,-12.5,0,3276.7,-3276.8,0.1\n"
    "2,0.01,733.8,-12.400001,1,,,\n"
    "3,0.02,733.9,-12.3,2,-0.1,0.2,-0.3\n";

// Writes the C3D of d into dir, converts it and returns the capture text.
std::string convert(const TempDir& dir, const C3dDescription& d,
                    ConversionSummary* summary = nullptr, ConversionOptions options = {}) {
  const std::string input = dir.path() + "/input.c3d";
  const std::string output = dir.path() + "/output.csv";
  EXPECT_TRUE(write_c3d_file(input, d));
  const ConversionSummary result = convert_recording(input, output, options);
  if (summary != nullptr) *summary = result;
  return read_file(output);
}

// The file's bytes with `damage` applied, then the message the conversion
// throws; "" when it converts.
std::string error_for(const C3dDescription& d,
                      const std::function<void(std::vector<unsigned char>&)>& damage) {
  std::vector<unsigned char> bytes = build_c3d(d);
  damage(bytes);
  try {
    C3dReader reader{InputFile(bytes)};
    Frame frame;
    while (reader.next_frame(frame)) {
    }
  } catch (const ConversionError& error) {
    return error.what();
  }
  return "";
}

TEST(C3dConversion, EveryProcessorAndStorageGivesTheSameCapture) {
  TempDir dir("c3d-variants-");
  // columns: number format, float storage
  const struct {
    C3dNumberFormat format;
    bool float_storage;
  } variants[] = {
      {C3dNumberFormat::intel, false}, {C3dNumberFormat::intel, true},
      {C3dNumberFormat::dec, false},   {C3dNumberFormat::dec, true},
      {C3dNumberFormat::mips, false},  {C3dNumberFormat::mips, true},
  };
  for (const auto& variant : variants) {
    C3dDescription d = two_markers();
    d.format = variant.format;
    d.float_storage = variant.float_storage;
    EXPECT_EQ(convert(dir, d), two_markers_capture)
        << "processor type " << static_cast<int>(variant.format) << ", float storage "
        << variant.float_storage;
  }
}

TEST(C3dConversion, SummaryCountsPointsNotSeen) {
  TempDir dir("c3d-summary-");
  ConversionSummary summary;
  convert(dir, two_markers(), &summary);
  EXPECT_EQ(summary.markers, 2);
  EXPECT_EQ(summary.frames, 3);
  EXPECT_EQ(summary.frames_claimed, 3);
  EXPECT_EQ(summary.points_not_seen, 1);
  EXPECT_EQ(summary.rate_hz, 100.0);
  EXPECT_EQ(summary.units, "mm");
}

TEST(C3dConversion, YUpTurnsAQuarterAboutX) {
  TempDir dir("c3d-y-up-");
  const std::string turned = "\n1,0,733.7,0,-12.5,3276.7,-0.1,-3276.8\n";
  const std::string capture = convert(dir, two_markers(), nullptr, {UpAxis::y});
  EXPECT_NE(capture.find(turned), std::string::npos) << capture;
  C3dDescription y_screen = two_markers();
  y_screen.y_screen = "+Y";
  EXPECT_NE(convert(dir, y_screen).find(turned), std::string::npos);
  EXPECT_EQ(convert(dir, y_screen, nullptr, {UpAxis::z}), two_markers_capture);
  EXPECT_NE(capture.find("\n2,0.01,733.8,-1,-12.400001,,,\n"), std::string::npos) << capture;
}

// DEC floats: bytes as stored (little-endian words, halves swapped against
// IEEE) and the value they hold. Columns: four bytes, value.
TEST(C3dNumbers, DecFloatsReadTheirVaxValue) {
  const struct {
    unsigned char bytes[4];
    float value;
  } cases[] = {
      {{0x80, 0x40, 0x00, 0x00}, 1.0f},  // IEEE 4.0 with its halves swapped
      {{0x80, 0xC0, 0x00, 0x00}, -1.0f},
      {{0x00, 0x00, 0x00, 0x00}, 0.0f},
      {{0x7F, 0x00, 0x12, 0x34}, 0.0f},            // exponent 0 reads 0 whatever the mantissa
      {{0xFF, 0x7F, 0xFF, 0xFF}, 1.70141173e38f},  // largest exponent: finite, no infinity
      {{0x80, 0x00, 0x00, 0x00},
       2.93873588e-39f},  // smallest exponent, 2^-128: below IEEE's normals
  };
  for (const auto& c : cases) {
    EXPECT_EQ(decode_real(c.bytes, C3dProcessor::dec), c.value)
        << std::hex << int(c.bytes[0]) << " " << int(c.bytes[1]);
  }
}

TEST(C3dConversion, LabelsPast255ComeFromLabels2) {
  TempDir dir("c3d-labels2-");
  C3dDescription d;
  for (int m = 1; m <= 300; ++m) d.labels.push_back("M" + std::to_string(m));
  d.frames = 2;
  d.point = [](int64_t f, size_t m) {
    return StoredPoint{static_cast<int16_t>(m), static_cast<int16_t>(f), 1, true};
  };
  const std::string capture = convert(dir, d);
  const std::string header = capture.substr(0, capture.find('\n'));
  EXPECT_NE(header.find(",M255_Z,M256_X,"), std::string::npos) << header.substr(0, 200);
  EXPECT_EQ(header.rfind(",M300_Z"), header.size() - 7);
  EXPECT_NE(capture.find(",29.9,0,0.1\n"), std::string::npos) << "marker 300 in frame 1";
}

TEST(C3dConversion, DuplicateEmptyAndBlankLabelsBecomeOneTokenEach) {
  TempDir dir("c3d-labels-");
  C3dDescription d = two_markers();
  d.labels = {"LASI", "LASI", "", "R ASI,2", "LASI_2"};
  d.point = [](int64_t, size_t) { return StoredPoint{1, 2, 3, true}; };
  const std::string capture = convert(dir, d);
  EXPECT_EQ(capture.substr(0, capture.find('\n')),
            "KSample,KTime,LASI_X,LASI_Y,LASI_Z,LASI_2_X,LASI_2_Y,LASI_2_Z,P3_X,P3_Y,P3_Z,"
            "R_ASI_2_X,R_ASI_2_Y,R_ASI_2_Z,LASI_2_2_X,LASI_2_2_Y,LASI_2_2_Z");
}

TEST(C3dConversion, MoreThan65535FramesComeFromTheTrialFields) {
  TempDir dir("c3d-long-");
  C3dDescription d;
  d.labels = {"A"};
  d.first_frame = 5;
  d.frames = 70000;
  d.point = [](int64_t f, size_t) {
    return StoredPoint{static_cast<int16_t>(f % 1000), 1, 2, true};
  };
  ConversionSummary summary;
  const std::string capture = convert(dir, d, &summary);
  EXPECT_EQ(summary.frames, 70000);
  EXPECT_EQ(summary.frames_claimed, 70000);
  EXPECT_EQ(capture.rfind("\n70004,699.99,99.9,0.1,0.2\n") + 1,
            capture.size() - std::strlen("70004,699.99,99.9,0.1,0.2\n"));
}

TEST(C3dConversion, EmptyParameterSectionUsesTheHeaderAndNamesPointsByNumber) {
  TempDir dir("c3d-no-parameters-");
  C3dDescription d = two_markers();
  d.empty_parameters = true;
  d.rate_hz = 50.0f;
  ConversionSummary summary;
  const std::string capture = convert(dir, d, &summary);
  EXPECT_EQ(capture.substr(0, capture.find('\n')), "KSample,KTime,P1_X,P1_Y,P1_Z,P2_X,P2_Y,P2_Z");
  EXPECT_NE(capture.find("\n3,0.04,733.9,-12.3,2,-0.1,0.2,-0.3\n"), std::string::npos) << capture;
  EXPECT_EQ(summary.units, "");
}

TEST(C3dConversion, LyingFrameCountConvertsTheFramesThere) {
  TempDir dir("c3d-lying-");
  C3dDescription d = two_markers();
  d.frames_claimed = 10;
  ConversionSummary summary;
  EXPECT_EQ(convert(dir, d, &summary), two_markers_capture);
  EXPECT_EQ(summary.frames, 3);
  EXPECT_EQ(summary.frames_claimed, 10);
}

// Little-endian Intel file of two_markers(): the parameter section starts at
// byte 512; its first record, the group POINT, has its offset field at 523.
TEST(C3dConversion, DamagedFilesEndWithAMessage) {
  // columns: what is damaged, the damage, a part of the message
  const struct {
    const char* what;
    std::function<void(std::vector<unsigned char>&)> damage;
    const char* message;
  } cases[] = {
      {"no C3D key", [](auto& b) { b[1] = 0x51; }, "not a C3D file"},
      {"parameter block 0", [](auto& b) { b[0] = 0; }, "not a C3D file"},
      {"shorter than a block", [](auto& b) { b.resize(300); }, "not a C3D file"},
      {"parameter block past the end", [](auto& b) { b[0] = 200; },
       "ends before its parameter section"},
      {"processor type 83", [](auto& b) { b[515] = 83; }, "unknown processor type 83"},
      {"record offset backwards",
       [](auto& b) {
         b[523] = 0xFE;
         b[524] = 0xFF;
       },
       "points backwards"},
      {"record offset 1",
       [](auto& b) {
         b[523] = 1;
         b[524] = 0;
       },
       "points into itself"},
      {"record into the data section",
       [](auto& b) {
         b[16] = 3;  // data from byte 1024
         b[17] = 0;
         b[523] = 0xF1;
         b[524] = 0x01;
         b[1020] = 5;
         b[1021] = 1;
       },
       "a record runs past the end of the section"},
      {"cut in the data section", [](auto& b) { b.resize(b.size() - 20); }, ""},
      {"cut before the first frame", [](auto& b) { b.resize((b[16] + 256u * b[17] - 1) * 512); },
       "ends before its first frame"},
  };
  for (const auto& c : cases) {
    const std::string message = error_for(two_markers(), c.damage);
    if (*c.message == '\0') {
      EXPECT_EQ(message, "") << c.what;
    } else {
      EXPECT_NE(message.find(c.message), std::string::npos) << c.what << ": " << message;
    }
  }
}

TEST(C3dConversion, RatesOutsideTheRuleAreRefused) {
  for (const float rate : {0.0001f, 2e6f}) {
    C3dDescription d = two_markers();
    d.rate_hz = rate;
    EXPECT_EQ(error_for(d, [](auto&) {}),
              "the C3D file's frame rate is not a rate from 0.001 Hz to 1000000 Hz")
        << rate;
  }
}

// Some writers declare fewer parameter blocks than their records fill; the
// records are read on to the data section.
TEST(C3dConversion, RecordsPastTheDeclaredBlockCountAreRead) {
  C3dDescription d = two_markers();
  d.labels.resize(200, "MARKER");  // LASI, RASI, MARKER, MARKER_2, ... MARKER_198
  d.point = [](int64_t, size_t) { return StoredPoint{1, 2, 3, true}; };
  std::vector<unsigned char> bytes = build_c3d(d);
  ASSERT_GT(bytes[514], 1) << "the section must fill more than one block";
  bytes[514] = 1;
  TempDir dir("c3d-blocks-");
  const std::string input = dir.write("short-count.c3d", std::string(bytes.begin(), bytes.end()));
  const ConversionSummary summary = convert_recording(input, dir.path() + "/out.csv");
  EXPECT_EQ(summary.markers, 200);
  const std::string capture = read_file(dir.path() + "/out.csv");
  EXPECT_NE(capture.find(",MARKER_198_Z\n"), std::string::npos) << capture.substr(0, 300);
}

TEST(C3dConversion, ZeroMarkersIsAnError) {
  C3dDescription d = two_markers();
  d.labels.clear();
  EXPECT_NE(error_for(d, [](auto&) {}).find("holds no markers"), std::string::npos);
}

TEST(C3dConversion, SeenPointWithANonFiniteCoordinateIsAnError) {
  C3dDescription d = two_markers();
  d.float_storage = true;
  std::vector<unsigned char> bytes = build_c3d(d);
  const size_t first_frame = bytes.size() - 3 * (2 * 16 + 4 * 4);
  const float infinity = std::numeric_limits<float>::infinity();
  std::memcpy(&bytes[first_frame + 4], &infinity, 4);  // LASI's Y in frame 1
  C3dReader reader{InputFile(bytes)};
  Frame frame;
  try {
    reader.next_frame(frame);
    ADD_FAILURE() << "no error";
  } catch (const ConversionError& error) {
    EXPECT_NE(std::string(error.what()).find("frame 1 "), std::string::npos) << error.what();
  }
}

}  // namespace
