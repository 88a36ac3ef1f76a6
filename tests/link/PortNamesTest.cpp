// Port numbers, device names and per-user aliases. The settings store is private to each test
// (a temporary folder; on Windows the registry key kept aside), so the user's own aliases are
// never read or touched.
#include <gtest/gtest.h>

#include <QSettings>
#include <string>
#include <vector>

#include "link/PortNames.h"
#include "tests/host/PrivateSettings.h"

namespace zorv {
namespace {

class PortNamesTest : public ::testing::Test {
 protected:
  // Writes a raw entry into the alias group, as a hand-edited settings file would hold it.
  static void WriteRawAlias(const QString& key, const QString& value) {
    QSettings settings("Dravik Controls", "ZorvTrim");
    settings.setValue("Port Aliases/" + key, value);
  }

  test::PrivateSettings settings_;
};

struct PortCase {
  int port;
  std::string device;  // "" when the number names no device
};

#ifdef Q_OS_WIN
const std::vector<PortCase> kStablePorts = {
    {1, "\\\\.\\COM1"}, {12, "\\\\.\\COM12"}, {255, "\\\\.\\COM255"}};
#else
const std::vector<PortCase> kStablePorts = {
    {1, "/dev/ttyS0"},    {2, "/dev/ttyS1"},    {32, "/dev/ttyS31"},   {33, "/dev/ttyUSB0"},
    {40, "/dev/ttyUSB7"}, {64, "/dev/ttyUSB31"}, {65, "/dev/ttyACM0"}, {96, "/dev/ttyACM31"},
    {97, ""},             {0, ""},              {-1, ""},              {255, ""},
};
#endif

TEST_F(PortNamesTest, StableMappingBothWays) {
  for (const auto& c : kStablePorts) {
    SCOPED_TRACE(c.port);
    EXPECT_EQ(DeviceNameForPort(c.port), c.device);
    if (!c.device.empty()) {
      EXPECT_EQ(PortNumberForDevice(c.device), c.port);
    }
  }
}

#ifndef Q_OS_WIN
TEST_F(PortNamesTest, EveryStableNumberRoundTrips) {
  for (int n = 1; n <= 96; ++n) {
    const std::string device = DeviceNameForPort(n);
    ASSERT_FALSE(device.empty()) << n;
    EXPECT_EQ(PortNumberForDevice(device), n) << device;
  }
}

TEST_F(PortNamesTest, PathsOutsideTheFamiliesHaveNoNumber) {
  const std::vector<std::string> paths = {
      "",           "/dev/ttyS",    "/dev/ttyS32",  "/dev/ttyS01",   "/dev/ttyS-1",
      "/dev/ttyS0x", "/dev/ttyUSB32", "/dev/ttyACM99", "/dev/pts/3",   "/dev/ttys0",
      "ttyS0",      "/dev/ttyS+1",  "/dev/ttyUSB 1", "/dev/ttyACM00000000001"};
  for (const auto& path : paths) EXPECT_EQ(PortNumberForDevice(path), 0) << path;
}
#endif

TEST_F(PortNamesTest, AliasReachesAnyDeviceAndIsFoundAgain) {
  SetPortAlias(200, "/dev/pts/7");
  EXPECT_EQ(DeviceNameForPort(200), "/dev/pts/7");
  EXPECT_EQ(PortNumberForDevice("/dev/pts/7"), 200);
  EXPECT_EQ(PortNumberForDevice("/dev/pts/8"), 0);
  // Kept in the per-user store under the group and key the run script writes.
  QSettings settings("Dravik Controls", "ZorvTrim");
  EXPECT_EQ(settings.value("Port Aliases/COM200").toString(), "/dev/pts/7");
}

TEST_F(PortNamesTest, AliasWinsOverTheStableNameButNotTheStableNumber) {
  SetPortAlias(1, "/dev/serial/by-id/usb-plow");
  SetPortAlias(5, DeviceNameForPort(2));  // a second number for a stable device
  EXPECT_EQ(DeviceNameForPort(1), "/dev/serial/by-id/usb-plow");
  EXPECT_EQ(PortNumberForDevice("/dev/serial/by-id/usb-plow"), 1);
  EXPECT_EQ(PortNumberForDevice(DeviceNameForPort(2)), 2);
  RemovePortAlias(1);
  EXPECT_EQ(DeviceNameForPort(1), kStablePorts.front().device);
  EXPECT_EQ(PortNumberForDevice("/dev/serial/by-id/usb-plow"), 0);
}

TEST_F(PortNamesTest, SettingAndRemovingAliases) {
  struct Step {
    int port;
    std::string path;  // "" removes
    std::map<int, std::string> expected;
  };
  const std::vector<Step> steps = {
      {3, "/dev/pts/1", {{3, "/dev/pts/1"}}},
      {250, "/dev/pts/2", {{3, "/dev/pts/1"}, {250, "/dev/pts/2"}}},
      {3, "/dev/pts/9", {{3, "/dev/pts/9"}, {250, "/dev/pts/2"}}},
      {0, "/dev/pts/3", {{3, "/dev/pts/9"}, {250, "/dev/pts/2"}}},    // no port 0
      {256, "/dev/pts/3", {{3, "/dev/pts/9"}, {250, "/dev/pts/2"}}},  // beyond the table
      {250, "", {{3, "/dev/pts/9"}}},
  };
  for (const auto& step : steps) {
    SetPortAlias(step.port, step.path);
    EXPECT_EQ(PortAliases(), step.expected) << step.port << " " << step.path;
  }
  RemovePortAlias(3);
  EXPECT_TRUE(PortAliases().empty());
}

TEST_F(PortNamesTest, HandEditedEntriesThatNameNoPortAreIgnored) {
  WriteRawAlias("COM7", "/dev/pts/4");
  WriteRawAlias("COM", "/dev/pts/5");
  WriteRawAlias("COM07", "/dev/pts/6");
  WriteRawAlias("COM300", "/dev/pts/7");
  WriteRawAlias("com8", "/dev/pts/8");
  WriteRawAlias("COM9", "");
  WriteRawAlias("Printer", "/dev/lp0");
  EXPECT_EQ(PortAliases(), (std::map<int, std::string>{{7, "/dev/pts/4"}}));
  EXPECT_EQ(PortNumberForDevice("/dev/pts/7"), 0);
  EXPECT_EQ(PortNumberForDevice("/dev/pts/4"), 7);
}

TEST_F(PortNamesTest, TheLowestNumberWinsForADeviceNamedTwice) {
  SetPortAlias(120, "/dev/pts/3");
  SetPortAlias(110, "/dev/pts/3");
  EXPECT_EQ(PortNumberForDevice("/dev/pts/3"), 110);
  EXPECT_EQ(DeviceNameForPort(120), "/dev/pts/3");
}

}  // namespace
}  // namespace zorv
