// The byte layer under the link: open failures and their texts, the waits of WaitByte and
// ReadLine on the fake clock, and the notices and stamps every byte leaves behind.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <utility>
#include <vector>

#include "link/LinkPort.h"
#include "tests/support/FakeClock.h"
#include "tests/support/ScriptedSerialDevice.h"

namespace zorv::test {
namespace {

class LinkPortTest : public ::testing::Test {
 protected:
  void Open() { ASSERT_TRUE(port.OpenPort(9600, "/dev/ttyS0").ok); }

  FakeClock clock{1000};
  ScriptedSerialDevice device{clock};
  // Every byte the port reports, as the old notices numbered them: 252 sent, 251 received.
  struct {
    std::vector<std::pair<std::uint8_t, std::uint8_t>> notices;
  } bridge;
  LinkPort port{device, clock, [this](bool sent, std::uint8_t byte) {
                  bridge.notices.emplace_back(sent ? 252 : 251, byte);
                }};
};

struct OpenCase {
  int baud;
  std::string name;
  std::string systemMessage;  // what the device answers; "" opens
  std::string expected;       // the failure text
  bool deviceTouched;
};

class OpenPortFailure : public LinkPortTest, public ::testing::WithParamInterface<OpenCase> {};

TEST_P(OpenPortFailure, FailsWithTheUsersTextAndLeavesThePortClosed) {
  const OpenCase& c = GetParam();
  device.openError = c.systemMessage;
  const Outcome result = port.OpenPort(c.baud, c.name);
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.error, c.expected);
  EXPECT_EQ(device.openCount, c.deviceTouched ? 1 : 0);
  EXPECT_FALSE(port.IsOpen());
  std::uint8_t byte = 0;
  EXPECT_FALSE(port.ReadByte(byte));
  EXPECT_FALSE(port.WriteByte(0x45));
  EXPECT_TRUE(device.written.empty());
  EXPECT_TRUE(bridge.notices.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Texts, OpenPortFailure,
    ::testing::Values(
        OpenCase{9601, "/dev/ttyS0", "", "Illegal baud rate <9601>.", false},
        OpenCase{19200, "", "", "Illegal baud rate <19200>.", false},
        OpenCase{9600, "", "", "Illegal com port name!", false},
        OpenCase{9600, "/dev/ttyS9", "No such file or directory", "No such port or directory", true},
        OpenCase{9600, "\\\\.\\COM9", "The system cannot find the file specified.",
                 "The system cannot find the port specified.", true},
        OpenCase{9600, "/dev/ttyS9", "File not found; file busy", "Port not found; port busy",
                 true}));

TEST_F(LinkPortTest, OpensTheNamedDeviceAtNineThousandSixHundredBaud) {
  Open();
  EXPECT_EQ(device.openedName, "/dev/ttyS0");
  EXPECT_TRUE(port.IsOpen());
}

TEST_F(LinkPortTest, EveryByteIsAnnouncedAndStamped) {
  Open();
  clock.Set(2000);
  ASSERT_TRUE(port.WriteByte(0xFF));
  clock.Set(2500);
  device.Feed({'g'});
  std::uint8_t byte = 0;
  ASSERT_TRUE(port.ReadByte(byte));
  EXPECT_EQ(byte, 'g');
  EXPECT_EQ(port.LastTransmitTime(), 2000u);
  EXPECT_EQ(port.LastReceiveTime(), 2500u);
  const std::vector<std::pair<std::uint8_t, std::uint8_t>> expected = {{252, 0xFF}, {251, 'g'}};
  EXPECT_EQ(bridge.notices, expected);
}

TEST_F(LinkPortTest, FailedWriteChangesNothing) {
  Open();
  device.failWrites = true;
  EXPECT_FALSE(port.WriteByte(0x45));
  EXPECT_TRUE(bridge.notices.empty());
  EXPECT_EQ(port.LastTransmitTime(), 0u);
}

TEST_F(LinkPortTest, DrainedBytesStillPostReceiveNoticesAndLightTheLamp) {
  Open();
  device.Feed({1, 2, 3});
  device.FeedAt(5000, {4});  // not yet arrived: stays for later
  clock.Set(1200);
  port.DrainInput();
  const std::vector<std::pair<std::uint8_t, std::uint8_t>> expected = {
      {251, 1}, {251, 2}, {251, 3}};
  EXPECT_EQ(bridge.notices, expected);
  EXPECT_EQ(port.LastReceiveTime(), 1200u);
  EXPECT_EQ(device.Pending(), 1u);
}

TEST_F(LinkPortTest, WaitByteGivesUpAfterFiveHundredMsAndNotBefore) {
  Open();
  std::uint8_t byte = 0;
  EXPECT_FALSE(port.WaitByte(byte));
  EXPECT_GT(clock.SleptMs(), 500u);
  EXPECT_LE(clock.SleptMs(), 505u);
}

TEST_F(LinkPortTest, WaitByteTakesAByteThatComesAtTheLastMoment) {
  Open();
  device.FeedAt(1000 + 500, {'c'});
  std::uint8_t byte = 0;
  ASSERT_TRUE(port.WaitByte(byte));
  EXPECT_EQ(byte, 'c');
  EXPECT_EQ(clock.Ticks(), 1500u);
}

TEST_F(LinkPortTest, WaitByteStopsAtOnceOnTheTerminateRequest) {
  Open();
  std::atomic<bool> stop{true};
  port.SetStopFlag(&stop);
  std::uint8_t byte = 0;
  EXPECT_FALSE(port.WaitByte(byte));
  EXPECT_LE(clock.SleptMs(), 5u);
}

struct LineCase {
  const char* name;
  std::vector<std::pair<std::uint32_t, std::string>> arrivals;  // (ms after start, bytes)
  bool complete;
  std::string text;
  std::uint32_t minElapsed;  // time ReadLine took, in ms
  std::uint32_t maxElapsed;
};

class ReadLineCase : public LinkPortTest, public ::testing::WithParamInterface<LineCase> {};

TEST_P(ReadLineCase, EndsOnlyOnCrLfOrHalfASecondOfSilence) {
  const LineCase& c = GetParam();
  Open();
  for (const auto& [at, bytes] : c.arrivals) {
    for (char ch : bytes) device.FeedAt(1000 + at, {static_cast<std::uint8_t>(ch)});
  }
  std::string text;
  EXPECT_EQ(port.ReadLine(text), c.complete);
  EXPECT_EQ(text, c.text);
  EXPECT_GE(clock.Ticks() - 1000, c.minElapsed);
  EXPECT_LE(clock.Ticks() - 1000, c.maxElapsed);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ReadLineCase,
    ::testing::Values(
        LineCase{"AllAtOnce", {{0, "ATmega16 BOOT\r\n"}}, true, "ATmega16 BOOT\r\n", 0, 0},
        LineCase{"GapsOf400msKeepWaiting",
                 {{0, "A"}, {400, "B"}, {800, "\r"}, {1200, "\n"}},
                 true,
                 "AB\r\n",
                 1200,
                 1210},
        LineCase{"NoCrLfEndsHalfASecondAfterTheLastByte",
                 {{0, "AB"}, {300, "C"}},
                 false,
                 "ABC",
                 801,
                 810},
        LineCase{"LfCrIsNoLineEnd", {{0, "X\n\r"}}, false, "X\n\r", 501, 510},
        LineCase{"SilenceFromTheStart", {}, false, "", 501, 510},
        LineCase{"GapOf600msEndsIt", {{0, "A"}, {600, "B\r\n"}}, false, "A", 501, 510},
        LineCase{"StopsAtTheFirstCrLf", {{0, "AB\r\nCD"}}, true, "AB\r\n", 0, 0}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(LinkPortTest, ReadLineLeavesBytesAfterTheLineWaiting) {
  Open();
  device.Feed(std::string("AB\r\nCD"));
  std::string text;
  ASSERT_TRUE(port.ReadLine(text));
  EXPECT_EQ(device.Pending(), 2u);
}

TEST_F(LinkPortTest, ReadLineGivesUpOnEndlessNoise) {
  Open();
  device.Feed(std::vector<std::uint8_t>(1000, 'x'));
  std::string text;
  EXPECT_FALSE(port.ReadLine(text));
  EXPECT_EQ(text.size(), LinkPort::kMaxLineLength);
  EXPECT_EQ(clock.SleptMs(), 0u);
}

TEST_F(LinkPortTest, ReadLineStopsAtOnceOnTheTerminateRequest) {
  Open();
  std::atomic<bool> stop{true};
  port.SetStopFlag(&stop);
  device.Feed(std::string("AB"));
  std::string text;
  EXPECT_FALSE(port.ReadLine(text));
  EXPECT_EQ(clock.SleptMs(), 0u);
}

TEST_F(LinkPortTest, ClosedPortReadsAndWritesNothing) {
  Open();
  port.ClosePort();
  device.Feed({1});
  std::uint8_t byte = 0;
  EXPECT_FALSE(port.ReadByte(byte));
  EXPECT_FALSE(port.WriteByte(1));
  port.DrainInput();
  EXPECT_TRUE(bridge.notices.empty());
}

}  // namespace
}  // namespace zorv::test
