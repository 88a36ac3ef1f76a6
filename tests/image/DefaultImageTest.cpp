// The fresh image, byte by byte, and the blank-controller rule of a download.
#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "image/DefaultImage.h"
#include "image/Encodings.h"
#include "image/TextFields.h"
#include "image/ZorvLayout.h"

namespace zorv {
namespace {

// Every non-zero byte of a fresh image; all others must be 0.
std::map<std::size_t, std::uint8_t> ExpectedFreshBytes() {
  std::map<std::size_t, std::uint8_t> bytes;
  bytes[0] = 49;
  for (std::size_t k = 1; k <= 31; k += 2) bytes[k] = 1;
  for (std::size_t k = 2; k <= 32; k += 2) bytes[k] = 254;
  bytes[33] = 1;
  bytes[35] = 1;
  bytes[36] = 2;
  bytes[37] = 3;
  bytes[38] = 4;
  const std::pair<std::size_t, const char*> labels[] = {
      {39, " HOIST  "}, {48, "  PLOW  "}, {57, "  WING  "}, {66, " BLADE  "},
      {75, "INACTIVE"}, {84, "INACTIVE"}, {102, "INACTIVE"}};
  for (const auto& [offset, text] : labels) {
    for (std::size_t i = 0; i < 8; ++i) bytes[offset + i] = static_cast<std::uint8_t>(text[i]);
  }
  for (std::size_t k = 150; k <= 160; k += 2) bytes[k] = 1;
  return bytes;
}

TEST(DefaultImage, EveryByteOfTheFreshImage) {
  SettingsImage image;
  image.bytes.fill(0xAA);
  GlobalTrimPair trims{7, 9};
  LoadDefaultImage(image, trims);

  const auto expected = ExpectedFreshBytes();
  for (std::size_t k = 0; k < kImageSize; ++k) {
    const auto it = expected.find(k);
    EXPECT_EQ(image[k], it == expected.end() ? 0 : it->second) << "byte " << k;
  }
  EXPECT_EQ(trims.min, 1);
  EXPECT_EQ(trims.max, 254);
}

TEST(DefaultImage, ShowsAsTheDefaultConfiguration) {
  SettingsImage image;
  GlobalTrimPair trims;
  LoadDefaultImage(image, trims);
  EXPECT_EQ(FreqBarPosition(image[zorvfield::Frequency]), 115);
  for (int function = 1; function <= kFunctionCount; ++function) {
    EXPECT_EQ(TrimVoltsText(image[zorvfield::TrimMin(function)]), "0.1v");
    EXPECT_EQ(TrimVoltsText(image[zorvfield::TrimMax(function)]), "12.7v");
  }
  EXPECT_EQ(ReadLabel(image, zorvfield::RedButtonLabel), "HOIST");
  EXPECT_EQ(ReadLabel(image, zorvfield::NoButtonLabel), "INACTIVE");
  EXPECT_EQ(ReadLabel(image, zorvfield::AlwaysLiveLabel), "");
}

TEST(DownloadedImage, BlankControllerGetsTheDefaults) {
  SettingsImage fresh;
  GlobalTrimPair freshTrims;
  LoadDefaultImage(fresh, freshTrims);

  struct Case {
    const char* name;
    std::uint8_t fill;
    std::uint8_t byte33;
    bool defaults;
  };
  const Case cases[] = {{"blank memory", 0xFF, 0xFF, true},
                        {"only byte 33 blank", 0x05, 0xFF, true},
                        {"configured", 0xFF, 3, false},
                        {"zeros", 0x00, 0, false}};
  for (const Case& c : cases) {
    ImageBytes buffer;
    buffer.fill(c.fill);
    buffer[33] = c.byte33;
    SettingsImage image;
    GlobalTrimPair trims{40, 50};
    StoreDownloadedImage(buffer, image, trims);
    if (c.defaults) {
      EXPECT_EQ(image, fresh) << c.name;
      EXPECT_EQ(trims, freshTrims) << c.name;
    } else {
      EXPECT_EQ(image.bytes, buffer) << c.name;
      EXPECT_EQ(trims, (GlobalTrimPair{40, 50})) << c.name;  // never transferred
    }
  }
}

}  // namespace
}  // namespace zorv
