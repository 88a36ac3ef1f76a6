// Value encodings: every row of the published value tables must come out exactly.
#include <gtest/gtest.h>

#include "image/Encodings.h"

namespace zorv {
namespace {

// (bar position, stored code, hertz of that code, position shown after the next refresh)
struct FreqRow {
  int bar;
  int code;
  int hz;
  int shown;
};

class StandardCurve : public ::testing::TestWithParam<FreqRow> {};

TEST_P(StandardCurve, BarStoresCodeAndShowsRoundedDownHertz) {
  const FreqRow row = GetParam();
  EXPECT_EQ(HzToFreqCode(row.bar), row.code);
  EXPECT_EQ(FreqCodeToHz(row.code), row.hz);
  EXPECT_EQ(FreqBarPosition(row.code), row.shown);
}

INSTANTIATE_TEST_SUITE_P(Rows, StandardCurve,
                         ::testing::Values(FreqRow{25, 255, 30, 30}, FreqRow{50, 160, 50, 50},
                                           FreqRow{100, 64, 99, 95}, FreqRow{105, 59, 105, 105},
                                           FreqRow{120, 49, 119, 115}, FreqRow{150, 34, 151, 150},
                                           FreqRow{180, 25, 182, 180}, FreqRow{225, 17, 224, 220},
                                           FreqRow{450, 1, 451, 450}));

class TarnovexCurve : public ::testing::TestWithParam<FreqRow> {};

TEST_P(TarnovexCurve, BarStoresCodeAndShowsRoundedDownHertz) {
  const FreqRow row = GetParam();
  EXPECT_EQ(HzToFreqCodeTarnovex(row.bar), row.code);
  EXPECT_EQ(FreqCodeToHzTarnovex(row.code), row.hz);
  EXPECT_EQ(FreqBarPositionTarnovex(row.code), row.shown);
}

INSTANTIATE_TEST_SUITE_P(Rows, TarnovexCurve,
                         ::testing::Values(FreqRow{45, 81, 67, 65}, FreqRow{50, 73, 71, 70},
                                           FreqRow{100, 31, 111, 110}, FreqRow{150, 16, 151, 150},
                                           FreqRow{200, 8, 200, 200}, FreqRow{220, 6, 219, 215},
                                           FreqRow{250, 4, 244, 240}, FreqRow{300, 1, 299, 295},
                                           FreqRow{325, 0, 325, 325}));

TEST(FrequencyCurves, EndsOfTheRange) {
  EXPECT_EQ(FreqCodeToHz(0), 483);
  EXPECT_EQ(HzToFreqCode(25), 255);  // computes 286, clamped
  EXPECT_EQ(HzToFreqCode(10000), 0);
  EXPECT_EQ(HzToFreqCodeTarnovex(0), 255);
  // Past minus a quarter turn the tangent turns huge; the bar clamps it later.
  EXPECT_GT(FreqCodeToHzTarnovex(255), 10000);
  // Every code on both curves gives a finite, stable value.
  for (int code = 0; code <= 255; ++code) {
    EXPECT_EQ(FreqCodeToHz(code), FreqCodeToHz(code));
    EXPECT_GE(FreqCodeToHz(code), 25) << code;
  }
}

TEST(FrequencyCurves, StandardCodesFallAsHertzRise) {
  for (int hz = 30; hz < 480; ++hz) EXPECT_GE(HzToFreqCode(hz), HzToFreqCode(hz + 1)) << hz;
}

struct TrimRow {
  int trim;
  const char* volts;
};

class TrimVolts : public ::testing::TestWithParam<TrimRow> {};

TEST_P(TrimVolts, TwentiethsOfAVoltWithOneDecimal) {
  EXPECT_EQ(TrimVoltsText(GetParam().trim), GetParam().volts);
}

INSTANTIATE_TEST_SUITE_P(Rows, TrimVolts,
                         ::testing::Values(TrimRow{0, "0.0v"}, TrimRow{1, "0.1v"},
                                           TrimRow{3, "0.1v"}, TrimRow{5, "0.2v"},
                                           TrimRow{9, "0.5v"}, TrimRow{15, "0.8v"},
                                           TrimRow{100, "5.0v"}, TrimRow{128, "6.4v"},
                                           TrimRow{254, "12.7v"}, TrimRow{255, "12.8v"}));

TEST(TrimBars, ShowTheInvertedByte) {
  const int rows[][2] = {{2, 254}, {254, 2}, {128, 128}, {1, 255}, {255, 1}};
  for (const auto& row : rows) {
    EXPECT_EQ(TrimBarPosition(row[0]), row[1]);
    EXPECT_EQ(TrimByteFromBar(row[1]), row[0]);
  }
}

struct ScaledRow {
  int decimals;
  long double x;
  const char* text;
};

class Scaled : public ::testing::TestWithParam<ScaledRow> {};

TEST_P(Scaled, FixedPointText) {
  EXPECT_EQ(FormatScaled(GetParam().decimals, GetParam().x), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Scaled,
    ::testing::Values(ScaledRow{1, 0.0L, "0.0"}, ScaledRow{1, 12.7L, "12.7"},
                      ScaledRow{1, 3.0L, "3.0"}, ScaledRow{2, 1.5L, "1.5"},
                      ScaledRow{0, 12.0L, "12.0"}, ScaledRow{2, -0.05L, "-0.05"},
                      ScaledRow{1, 0.04L, "0.0"}, ScaledRow{1, -0.04L, "0.0"},
                      ScaledRow{3, 100.0L, "100.0"}, ScaledRow{1, 0.25L, "0.2"},
                      ScaledRow{1, 0.75L, "0.8"}, ScaledRow{2, 10.005L, "10.0"},
                      ScaledRow{10, 1e-10L, "0.0000000001"}, ScaledRow{0, 2.5L, "2.0"},
                      ScaledRow{0, 3.5L, "4.0"}, ScaledRow{1, -12.75L, "-12.8"}));

struct TicksRow {
  int ticks;
  const char* text;
};

class Ticks : public ::testing::TestWithParam<TicksRow> {};

TEST_P(Ticks, SixtyMillisecondSteps) { EXPECT_EQ(TicksText(GetParam().ticks), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(Rows, Ticks,
                         ::testing::Values(TicksRow{0, "0 s"}, TicksRow{1, "0.06 s"},
                                           TicksRow{17, "1.02 s"}, TicksRow{50, "3 s"},
                                           TicksRow{123, "7.38 s"}, TicksRow{250, "15 s"},
                                           TicksRow{255, "15.3 s"}));

TEST(ModeCodes, DropDownIndexMapping) {
  const int indexToCode[][2] = {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 8}, {6, 9}, {7, 10}};
  for (const auto& row : indexToCode) {
    EXPECT_EQ(IndexToModeCode(row[0]), row[1]);
    EXPECT_EQ(ModeCodeToIndex(row[1]), row[0]);
  }
  // Stick-only codes show as other items; 255 is no selection.
  EXPECT_EQ(ModeCodeToIndex(5), 2);
  EXPECT_EQ(ModeCodeToIndex(6), 3);
  EXPECT_EQ(ModeCodeToIndex(7), 4);
  EXPECT_EQ(ModeCodeToIndex(255), 252);
  for (int code : {0, 1, 2, 3, 4, 8, 9, 10}) EXPECT_EQ(IndexToModeCode(ModeCodeToIndex(code)), code);
  for (int code : {5, 6, 7}) EXPECT_NE(IndexToModeCode(ModeCodeToIndex(code)), code);
}

TEST(TextSpaces, TrimsControlCharactersAndSpacesAtBothEnds) {
  const char* rows[][2] = {{" HOIST  ", "HOIST"}, {"\t\r\nA B\x01", "A B"}, {"        ", ""},
                           {"", ""},                {"PLOW", "PLOW"},       {"\x1f" "X", "X"}};
  for (const auto& row : rows) EXPECT_EQ(TrimTextSpaces(row[0]), row[1]) << row[0];
}

}  // namespace
}  // namespace zorv
