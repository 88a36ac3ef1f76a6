// The quiet line before a transfer request over a slow adapter: an announcement the controller
// sent before it saw our acknowledgement may still be on its way, and must be drained, not taken
// as the request's answer. Until a request on a quiet line has shown the line's delay, the
// longest delay is assumed: a fresh link's first request is the one most at risk.
#include <gtest/gtest.h>

#include <optional>

#include "link/LinkPort.h"
#include "tests/support/FakeClock.h"
#include "tests/support/ScriptedSerialDevice.h"

namespace zorv::test {
namespace {

constexpr std::uint8_t kAnnouncement = 'g';
constexpr std::uint32_t kStart = 10000;

struct QuietRow {
  const char* name;
  // A request (0xFF) sent before, on a quiet line or not, and when its first answer came.
  bool requestAfterQuiet;
  std::optional<std::uint32_t> answerAfterMs;
  // A stale announcement arriving this long after the last byte read.
  std::uint32_t staleAfterMs;
  bool drained;  // the wait must outlast it (else it may end first)
  std::uint32_t endsBeforeMs;  // the wait ends within this long of the last byte
};

void PrintTo(const QuietRow& row, std::ostream* os) { *os << row.name; }

class QuietLine : public ::testing::TestWithParam<QuietRow> {};

TEST_P(QuietLine, StaleAnnouncementIsDrained) {
  const QuietRow& row = GetParam();
  FakeClock clock(kStart);
  ScriptedSerialDevice device(clock);
  LinkPort port(device, clock);
  ASSERT_TRUE(port.OpenPort(LinkPort::kBaudRate, "/dev/ttyS0"));
  if (row.answerAfterMs) {
    if (row.requestAfterQuiet) {
      ASSERT_TRUE(port.WaitForQuietLine());
    }
    ASSERT_TRUE(port.WriteByte(0xFF));
    device.FeedAt(clock.Ticks() + *row.answerAfterMs, {kAnnouncement});
    std::uint8_t byte = 0;
    ASSERT_TRUE(port.WaitByte(byte));
  } else {
    // A fresh link: the controller's own announcement, acknowledged without any request.
    device.Feed({kAnnouncement});
    std::uint8_t byte = 0;
    ASSERT_TRUE(port.ReadByte(byte));
  }
  const std::uint32_t lastByte = clock.Ticks();
  device.FeedAt(lastByte + row.staleAfterMs, {kAnnouncement});

  ASSERT_TRUE(port.WaitForQuietLine());
  if (row.drained) {
    EXPECT_EQ(device.Pending(), 0u) << "the stale announcement is still to come";
  }
  EXPECT_LT(clock.Ticks() - lastByte, row.endsBeforeMs);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, QuietLine,
    ::testing::Values(
        // A slow controller's late announcement on a fresh link (seen at 250 ms latency with the
        // simulator starved of CPU: every downloaded byte shifted by one, status 0).
        QuietRow{"FreshLinkLateAnnouncement", false, std::nullopt, 700, true, 2000},
        // A request's first byte on a busy line may be an announcement: it says nothing.
        QuietRow{"EarlyAnswerOnBusyLineTeachesNothing", false, 10, 700, true, 2000},
        // A request on a quiet line measured 300 ms: the wait is that, not the longest delay.
        QuietRow{"MeasuredDelayShortensTheWait", true, 300, 400, true, 1000}),
    [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace zorv::test
