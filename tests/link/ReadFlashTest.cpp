// Reading the flash back against a scripted boot loader: once a request went unanswered or
// spoiled, a block is taken only as two equal copies; a block that cannot be made whole ends the
// read naming its address, and nothing is handed out.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <ostream>
#include <string>
#include <vector>

#include "link/BootLoader.h"
#include "tests/support/FakeBootLoader.h"
#include "tests/support/FakeClock.h"
#include "tests/support/ScriptedSerialDevice.h"

namespace zorv {
namespace {

struct ReadCase {
  const char* name;
  int badReadBacks;     // answers with a wrong XOR first
  int silentReadBacks;  // then answers never sent
  bool copiesDiffer;    // block 0x0040 changes between reads
  std::uint32_t lateMs;  // the first answer for 0x0040 comes this late (0: not late)
  const char* error;    // "" when the read is whole
  int requestsAt0040;   // 'V' frames sent for block 0x0040
};

const ReadCase kCases[] = {
    {"AnsweredAtOnceIsReadOnce", 0, 0, false, 0, "", 1},
    {"SpoiledOnceThenTwoEqualCopies", 1, 0, false, 0, "", 3},
    {"SilentOnceThenTwoEqualCopies", 0, 1, false, 0, "", 3},
    // Within the quiet wait after the time limit, and later than it.
    {"AnsweredLateIsDropped", 0, 0, false, 10500, "", 3},
    {"AnsweredLaterThanTheQuietWaitIsDropped", 0, 0, false, 16000, "", 3},
    {"SilentFourTimesFails", 0, 4, false, 0, "Reading flash failed at 0x0040", 4},
    {"CopiesThatNeverAgreeFail", 1, 0, true, 0, "Reading flash failed at 0x0040", 5},
};

void PrintTo(const ReadCase& c, std::ostream* out) { *out << c.name; }

class ReadFlash : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadFlash, TakesOnlyWholeBlocks) {
  const ReadCase& c = GetParam();
  test::FakeClock clock{1000};
  test::ScriptedSerialDevice device{clock};
  device.Open("COM1");
  LinkPort port{device, clock};
  FlashImage flash;
  std::atomic<bool> stop{false};
  BootLoader boot{port, clock, flash, stop};
  test::FakeBootLoader peer{device};
  for (std::size_t i = 0; i < peer.flash.size(); ++i) peer.flash[i] = static_cast<std::uint8_t>(i ^ (i >> 6));
  boot.IdentifyChip("ATmega16 BOOT");

  int requestsAt0040 = 0;
  peer.onFrame = [&](const test::BootFrame& frame) {
    if (frame.command != 'V' || frame.Address() != 0x0040) return;
    // The faults hit this block only.
    if (requestsAt0040++ == 0) {
      peer.badReadBacks = c.badReadBacks;
      peer.silentReadBacks = c.silentReadBacks;
      if (c.lateMs > 0) {
        peer.silentReadBacks = 1;
        std::vector<std::uint8_t> late{'V', 67};
        std::uint8_t x = 0;
        for (std::uint32_t i = 0; i < 64; ++i) {
          late.push_back(peer.flash[0x0040 + i]);
          x ^= late.back();
        }
        late.push_back(x);
        device.FeedAt(device.Now() + c.lateMs, late);
      }
    }
    if (c.copiesDiffer) ++peer.flash[0x0040];
  };
  std::vector<std::uint8_t> bytes;
  LinkStatus status;
  std::string error;
  const bool whole = boot.ReadFlash(bytes, status, [] {}, error);

  EXPECT_EQ(error, c.error);
  EXPECT_EQ(requestsAt0040, c.requestsAt0040);
  if (*c.error == '\0') {
    ASSERT_TRUE(whole);
    ASSERT_EQ(bytes.size(), std::size_t{0x3C00});
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), peer.flash.begin()));
  } else {
    EXPECT_FALSE(whole);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, ReadFlash, ::testing::ValuesIn(kCases),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace zorv
