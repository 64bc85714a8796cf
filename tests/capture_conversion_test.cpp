// Capture files as the converter's input, converted in-process without
// options: the same values come out, missing fields stay missing.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "capture_table.h"
#include "conversion_error.h"
#include "converter.h"
#include "temp_dir.h"
#include "text_conversion.h"

namespace {

const std::string header = "KSample,KTime,ROOT_X,ROOT_Y,ROOT_Z,HAND_X,HAND_Y,HAND_Z\n";

std::string convert_capture(const std::string& capture, ConversionSummary* summary = nullptr) {
  return convert_text("trial.csv", capture, summary, {});
}

// Columns: what is special, the capture read, the capture written.
TEST(CaptureConversion, ValuesComeOutAsReadAndMissingFieldsStayEmpty) {
  const std::string two_samples = header +
                                  "1,0.00,12.5,-40.25,950.0,,,\n"
                                  "2,0.01,12.75,-40.5,951.5,310.0,22.5,104.0\n";
  const std::string written = header +
                              "1,0,12.5,-40.25,950,,,\n"
                              "2,0.01,12.75,-40.5,951.5,310,22.5,104\n";
  struct Case {
    const char* what;
    std::string in;
    std::string out;
  };
  const Case cases[] = {
      {"plain", two_samples, written},
      {"byte-order mark, CRLF, blank lines at the end",
       "\xEF\xBB\xBF" + header.substr(0, header.size() - 1) +
           "\r\n1,0.00,12.5,-40.25,950.0,,,\r\n2,0.01,12.75,-40.5,951.5,310.0,22.5,104.0\r\n\r\n\n",
       written},
      {"blanks around fields", header + "1, 0.00 ,12.5 , -40.25,\t950.0 ,,,\n",
       header + "1,0,12.5,-40.25,950,,,\n"},
      {"a zero field is missing like an empty one", header + "1,0,0,0.000,-0,NaN,nan,\n",
       header + "1,0,,,,,,\n"},
      {"a point missing some fields keeps the others", header + "1,0,,5,0,1,,3\n",
       header + "1,0,,5,,1,,3\n"},
      {"a line cut short loses its last markers", header + "1,0,1,2,3\n2,0.01,4,5\n",
       header + "1,0,1,2,3,,,\n2,0.01,4,5,,,,\n"},
      {"quoted cells", "KSample,KTime,\"A, \"\"1\"\"_X\",Y,Z\n1,\"0\",\"1.5\" ,2,3\n",
       "KSample,KTime,A__\"1\"_X,A__\"1\"_Y,A__\"1\"_Z\n1,0,1.5,2,3\n"},
      {"a name without _X is kept whole", "KSample,KTime,A,B,C\n1,0,1,2,3\n",
       "KSample,KTime,A_X,A_Y,A_Z\n1,0,1,2,3\n"},
      {"regular times at 120 Hz read back the same",
       header + "1,0,1,1,1,,,\n2,0.008333333333333333,1,1,1,,,\n3,0.016666666666666666,1,1,1,,,\n",
       header + "1,0,1,1,1,,,\n2,0.008333333333333333,1,1,1,,,\n3,0.016666666666666666,1,1,1,,,\n"},
      {"samples from 5 in steps of 2, a pause, times from the first",
       header + "5,7.00,1,1,1,,,\n7,7.02,1,1,1,,,\n9,7.04,1,1,1,,,\n15,7.10,1,1,1,,,\n",
       header + "5,0,1,1,1,,,\n7,0.02,1,1,1,,,\n9,0.04,1,1,1,,,\n15,0.1,1,1,1,,,\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(convert_capture(c.in), c.out);
  }
}

TEST(CaptureConversion, SummaryHasTheRateOfTheTimesAndRecordedUnits) {
  ConversionSummary summary;
  convert_capture(header + "1,0.00,1,2,3,,,\n2,0.01,1,2,3,,,\n3,0.02,1,2,3,,,\n", &summary);
  EXPECT_EQ(summary.rate_hz, 100.0);
  EXPECT_EQ(summary.units, "");
  EXPECT_EQ(summary.frames, 3);
  EXPECT_EQ(summary.points_not_seen, 3);
}

// Columns: what is wrong, the capture, the message after the file's name.
TEST(CaptureConversion, BadCapturesEndWithTheLineAndTheCause) {
  struct Case {
    const char* what;
    std::string in;
    std::string message;
  };
  const Case cases[] = {
      {"no KTime", "KSample,Time,A_X,A_Y,A_Z\n1,0,1,2,3\n",
       "line 1: the header does not begin with KSample,KTime"},
      {"four headings", "KSample,KTime,A_X,A_Y,A_Z,B_X\n1,0,1,2,3,4\n",
       "line 1: the header does not hold three headings per marker"},
      {"no samples", header + "\n", "the capture file holds no samples"},
      {"sample number not whole", header + "1,0,1,2,3,,,\n\n2.5,0.01,1,2,3,,,\n",
       "line 4: the sample number is no whole number"},
      {"text after a quoted field", header + "1,0,\"1\"x,2,3,,,\n",
       "line 2: field 3 holds no number"},
      {"a quote never closed", header + "1,0,\"1,2,3,,,\n", "line 2: field 3 holds no number"},
      {"time no number", header + "1,0s,1,2,3,,,\n", "line 2: the time is no number"},
      {"field no number", header + "1,0,1,2,3,,,\n2,0.01,1,2x,3,,,\n",
       "line 3: field 4 holds no number"},
      {"times never increase", header + "1,0,1,2,3,,,\n2,0,1,2,3,,,\n",
       "the capture's times never increase with its sample numbers, so it has no rate"},
      {"times 1 ns apart", header + "1,0,1,2,3,,,\n2,1e-9,1,2,3,,,\n",
       "the rate of the capture's times, 1e+09 Hz, is not a rate from 0.001 Hz to 1000000 Hz"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir("capture-bad-");
    const std::string input = dir.write("bad.csv", c.in);
    try {
      convert_recording(input, dir.path() + "/out.csv");
      ADD_FAILURE() << "no error";
    } catch (const ConversionError& error) {
      EXPECT_EQ(std::string(error.what()), input + ": " + c.message);
    }
  }
}

TEST(CaptureConversion, ShippedSampleConvertsToTheSameValues) {
  TempDir dir("capture-walk-");
  const std::string output = dir.path() + "/walk.csv";
  convert_recording(SAMPLE_CAPTURE, output);
  const CaptureTable in = read_capture_table(SAMPLE_CAPTURE);
  const CaptureTable out = read_capture_table(output);
  EXPECT_EQ(out.header, in.header);
  ASSERT_EQ(out.rows.size(), in.rows.size());
  for (size_t r = 0; r < in.rows.size(); ++r) {
    ASSERT_EQ(out.rows[r].size(), in.rows[r].size()) << "row " << r;
    for (size_t c = 0; c < in.rows[r].size(); ++c) {
      const double expected = in.rows[r][c] == 0.0 && c > 1 ? NAN : in.rows[r][c];
      const double got = out.rows[r][c];
      if (std::isnan(expected)) {
        EXPECT_TRUE(std::isnan(got)) << "row " << r << " field " << c << ": " << got;
      } else {
        EXPECT_EQ(got, expected) << "row " << r << " field " << c;
      }
    }
  }
}

}  // namespace
