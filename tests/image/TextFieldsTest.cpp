// Labels, float names and 16-bit fields as the controller stores them.
#include <gtest/gtest.h>

#include <string>

#include "image/TextFields.h"
#include "image/ZorvLayout.h"

namespace zorv {
namespace {

std::string Bytes(const SettingsImage& image, std::size_t offset, std::size_t count) {
  std::string out;
  for (std::size_t i = 0; i < count; ++i) out.push_back(static_cast<char>(image[offset + i]));
  return out;
}

TEST(Labels, CentredUpperCaseOddSpaceRightAndNul) {
  const char* rows[][2] = {{"PLOW", "  PLOW  "},     {"HOIST", " HOIST  "}, {"", "        "},
                           {"hook", "  HOOK  "},     {"remote", " REMOTE "}, {"A", "   A    "},
                           {"inactive", "INACTIVE"}, {"toolongtext", "TOOLONGT"},
                           {"a1-b", "  A1-B  "}};
  for (const auto& row : rows) {
    SettingsImage image;
    image.bytes.fill(0x55);
    WriteLabel(image, zorvfield::YellowButtonLabel, row[0]);
    EXPECT_EQ(Bytes(image, zorvfield::YellowButtonLabel, 8), row[1]) << row[0];
    EXPECT_EQ(image[zorvfield::YellowButtonLabel + 8], 0) << row[0];
    EXPECT_EQ(image[zorvfield::YellowButtonLabel - 1], 0x55);  // neighbours untouched
    EXPECT_EQ(image[zorvfield::YellowButtonLabel + 9], 0x55);
  }
}

TEST(Labels, ReadStopsAtNulOrWidthAndTrims) {
  SettingsImage image;
  const std::string stored = " SLAVE  ";
  for (std::size_t i = 0; i < 8; ++i) image[39 + i] = static_cast<std::uint8_t>(stored[i]);
  EXPECT_EQ(ReadLabel(image, 39), "SLAVE");
  // No NUL at all: the 9 bytes are the text.
  for (std::size_t i = 0; i < 9; ++i) image[48 + i] = 'X';
  image[57] = 'Y';
  EXPECT_EQ(ReadLabel(image, 48), "XXXXXXXXX");
  // An early NUL hides what follows it.
  image[66] = 'A';
  image[67] = 0;
  image[68] = 'B';
  EXPECT_EQ(ReadLabel(image, 66), "A");
}

TEST(FloatNames, FirstFiveCharactersZeroPadded) {
  const struct {
    const char* text;
    std::uint8_t bytes[5];
  } rows[] = {{"AB", {'A', 'B', 0, 0, 0}},
              {"", {0, 0, 0, 0, 0}},
              {"PLOW1", {'P', 'L', 'O', 'W', '1'}},
              {"PLOWING", {'P', 'L', 'O', 'W', 'I'}}};
  for (const auto& row : rows) {
    SettingsImage image;
    image.bytes.fill(0x77);
    WriteFloatName(image, zorvfield::FloatTwoName, row.text);
    for (std::size_t i = 0; i < 5; ++i) {
      EXPECT_EQ(image[zorvfield::FloatTwoName + i], row.bytes[i]) << row.text << " " << i;
    }
    EXPECT_EQ(image[zorvfield::FloatTwoName + 5], 0x77);
    EXPECT_EQ(ReadFloatName(image, zorvfield::FloatTwoName), std::string(row.text).substr(0, 5));
  }
}

TEST(Words, BigEndianLowSixteenBits) {
  const struct {
    long long value;
    std::uint8_t high, low;
    unsigned read;
  } rows[] = {{300, 1, 44, 300},       {1000, 3, 232, 1000}, {70000, 17, 112, 4464},
              {500, 1, 244, 500},      {0, 0, 0, 0},         {65535, 255, 255, 65535},
              {-1, 255, 255, 65535},   {65536, 0, 0, 0}};
  for (const auto& row : rows) {
    SettingsImage image;
    WriteWord(image, 1, row.value);
    EXPECT_EQ(image[1], row.high) << row.value;
    EXPECT_EQ(image[2], row.low) << row.value;
    EXPECT_EQ(ReadWord(image, 1), row.read) << row.value;
  }
}

}  // namespace
}  // namespace zorv
