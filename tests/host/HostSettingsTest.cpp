#include <gtest/gtest.h>

#include "host/HostSettings.h"
#include "tests/host/PrivateSettings.h"

namespace zorv {
namespace {

TEST(HostSettings, FirstReadStoresTheDefault) {
  test::PrivateSettings settings;
  EXPECT_FALSE(test::PrivateSettings::Stored("COM Port").isValid());
  EXPECT_EQ(ReadSetting("ZorvTrim", "COM Port", "1"), "1");
  EXPECT_EQ(test::PrivateSettings::Stored("COM Port").toString(), "1");
}

TEST(HostSettings, WrittenValueIsReadBackAsWrittenAndNotReplacedByTheDefault) {
  test::PrivateSettings settings;
  WriteSetting("ZorvTrim", "COM Port", "7");
  EXPECT_EQ(ReadSetting("ZorvTrim", "COM Port", "1"), "7");
  EXPECT_EQ(test::PrivateSettings::Stored("COM Port").toString(), "7");
}

TEST(HostSettings, HandEditedNonNumberIsLeftAlone) {
  test::PrivateSettings settings;
  test::PrivateSettings::Store("COM Port", "abc");
  EXPECT_EQ(ReadSetting("ZorvTrim", "COM Port", "1"), "abc");
  EXPECT_EQ(test::PrivateSettings::Stored("COM Port").toString(), "abc");
}

struct PortText {
  const char* text;
  int port;
};

class PortNumberFromSettingTest : public ::testing::TestWithParam<PortText> {};

TEST_P(PortNumberFromSettingTest, ParsesDecimalOrFallsBackToOne) {
  EXPECT_EQ(PortNumberFromSetting(GetParam().text), GetParam().port);
}

INSTANTIATE_TEST_SUITE_P(Texts, PortNumberFromSettingTest,
                         ::testing::Values(PortText{"1", 1}, PortText{"3", 3}, PortText{"200", 200},
                                           PortText{"0", 0}, PortText{"abc", 1}, PortText{"", 1},
                                           PortText{"3x", 1}, PortText{"COM3", 1},
                                           PortText{" 7 ", 7}));

}  // namespace
}  // namespace zorv
