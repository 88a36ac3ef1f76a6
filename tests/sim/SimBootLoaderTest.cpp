// The boot loader as the tool's programming meets it: prompt, chip line, frames, read-back.
#include <QFile>
#include <QTemporaryDir>

#include "SimFixture.h"

namespace zorvtest {
namespace {

const Bytes kAck{0x06};
const Bytes kNak{0x15};

Bytes PageData(std::size_t size, unsigned seed) {
  Bytes data(size);
  for (std::size_t i = 0; i < size; ++i) data[i] = static_cast<std::uint8_t>(i * 13 + seed);
  return data;
}

Bytes Slice(const Bytes& data, std::size_t from, std::size_t count) {
  return Bytes(data.begin() + static_cast<long>(from), data.begin() + static_cast<long>(from + count));
}

QString PageWritten(unsigned address) {
  return QString::asprintf("page 0x%04X written", address);
}

struct ChipCase {
  const char* line;
  unsigned pageSize;
  unsigned flashLimit;
};

class SimChipTest : public SimFixture, public ::testing::WithParamInterface<ChipCase> {};

TEST_P(SimChipTest, IdentifiesAndWritesPagesOfItsSize) {
  const ChipCase c = GetParam();
  StartCore({"--fast", "--chip", c.line});
  ASSERT_NO_FATAL_FAILURE(HoldBootLoader());
  Write({'I'});
  const std::string line = std::string(c.line) + "\r\n";
  EXPECT_EQ(Read(line.size(), 2000), Bytes(line.begin(), line.end()));

  const unsigned address = c.pageSize;  // the second page
  const Bytes data = PageData(c.pageSize, 5);
  ASSERT_TRUE(WritePage(address, data)) << Output();
  EXPECT_TRUE(WaitForLine(PageWritten(address), 2000)) << Output();
  for (unsigned at = 0; at < c.pageSize; at += 64) {
    EXPECT_EQ(ReadBack(address + at), Slice(data, at, 64)) << "block at " << address + at;
  }
  EXPECT_EQ(ReadBack(0), Bytes(64, 0xFF));  // untouched pages stay erased

  if (c.flashLimit <= 0xFFFF) {  // page addresses are 16 bits wide
    // The last page below the limit is writable, the first one at the limit is refused.
    EXPECT_TRUE(WritePage(c.flashLimit - c.pageSize, data));
    EXPECT_FALSE(WritePage(c.flashLimit, data));
  }
}

INSTANTIATE_TEST_SUITE_P(Chips, SimChipTest,
                         ::testing::Values(ChipCase{"ATmega16 BOOT", 128, 0x3C00},
                                           ChipCase{"atmega32 boot", 128, 0x7C00},
                                           ChipCase{"AT90CAN128 BOOT", 256, 0x1F800}),
                         [](const auto& param_info) {
                           std::string name = param_info.param.line;
                           return name.substr(0, name.find(' '));
                         });

using SimBootLoaderTest = SimFixture;

TEST_F(SimBootLoaderTest, BadFramesAreRefusedAndTheNextGoodOneAccepted) {
  StartCore({"--fast"});
  ASSERT_NO_FATAL_FAILURE(HoldBootLoader());
  Bytes badXor = Frame('D', PageData(64, 1));
  badXor.back() = static_cast<std::uint8_t>(badXor.back() ^ 0x01);
  Write(badXor);
  EXPECT_EQ(Read(1, 2000), kNak);
  Write({'A', 4, 0x80, 0x80});  // a length that does not fit the command
  EXPECT_EQ(Read(1, 2000), kNak);
  EXPECT_EQ(SendFrame('A', {0x80, 0x00}), kAck);
  StopSim();
  EXPECT_TRUE(WaitForLine("counter naks for bad frames: 2", 100)) << Output();
}

TEST_F(SimBootLoaderTest, NakOptionRefusesTheNextFrames) {
  StartCore({"--fast", "--nak", "2"});
  ASSERT_NO_FATAL_FAILURE(HoldBootLoader());
  EXPECT_EQ(SendFrame('A', {0x00, 0x00}), kNak);
  EXPECT_EQ(SendFrame('A', {0x00, 0x00}), kNak);
  EXPECT_EQ(SendFrame('A', {0x00, 0x00}), kAck);
  EXPECT_TRUE(WritePage(0, PageData(128, 9)));
}

TEST_F(SimBootLoaderTest, CorruptFlashShowsInTheReadBack) {
  StartCore({"--fast", "--corrupt-flash", "0x0085"});
  ASSERT_NO_FATAL_FAILURE(HoldBootLoader());
  const Bytes data = PageData(128, 2);
  ASSERT_TRUE(WritePage(0x80, data));  // accepted: the fault is silent on the wire
  Bytes expected = Slice(data, 0, 64);
  expected[5] = static_cast<std::uint8_t>(~expected[5]);
  EXPECT_EQ(ReadBack(0x80), expected);
  EXPECT_EQ(ReadBack(0xC0), Slice(data, 64, 64));
}

TEST_F(SimBootLoaderTest, StartsTheProgramOnRAndWhenNotHeld) {
  StartCore({"--fast"});
  ASSERT_NO_FATAL_FAILURE(HoldBootLoader());
  Write({'R'});
  EXPECT_EQ(Read(1, 2000), Bytes{'g'});
  ASSERT_NO_FATAL_FAILURE(Acknowledge());
  ASSERT_NO_FATAL_FAILURE(Request('R'));
  EXPECT_EQ(Read(1, 2000), Bytes{'B'});
  // No 'u': after about a second the program starts and announces itself.
  EXPECT_EQ(Read(1, 3000), Bytes{'g'});
}

// In the core the flash is read from its memory; the program writes it to --save-flash at exit.
class SimNoProgramTest : public SimFixture, public ::testing::WithParamInterface<bool> {};

TEST_P(SimNoProgramTest, StaysInTheBootLoaderUntilOneIsWritten) {
  const bool process = GetParam();
  QTemporaryDir dir;
  const QString flashFile = dir.filePath("flash.bin");
  if (process) {
    StartSim({"--fast", "--no-program", "--save-flash", flashFile});
  } else {
    StartCore({"--fast", "--no-program"});
  }
  EXPECT_EQ(Read(1, 3000), Bytes{'B'});  // announced again every second while not held
  Write({'u'});
  EXPECT_EQ(Read(1, 2000), Bytes{'?'});
  Write({'R'});
  EXPECT_EQ(Read(1, 2000), Bytes{'B'});  // nothing to start
  Write({'u'});
  EXPECT_EQ(Read(1, 2000), Bytes{'?'});
  const Bytes data = PageData(128, 7);
  ASSERT_TRUE(WritePage(0x0100, data));
  Write({'R'});
  EXPECT_EQ(Read(1, 2000), Bytes{'g'});  // the new program runs

  Bytes flash;
  if (process) {
    ASSERT_EQ(pty->sim.Stop(), 0) << Output();
    QFile file(flashFile);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray saved = file.readAll();
    flash.assign(saved.begin(), saved.end());
  } else {
    flash = core->device.Memories().flash;
  }
  ASSERT_EQ(flash.size(), 0x3C00u);
  for (std::size_t i = 0; i < flash.size(); ++i) {
    const auto expected = i >= 0x100 && i < 0x180 ? data[i - 0x100] : 0xFF;
    ASSERT_EQ(flash[i], expected) << "flash byte " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Ends, SimNoProgramTest, ::testing::Values(false, true),
                         [](const auto& row) { return row.param ? "process" : "core"; });

}  // namespace
}  // namespace zorvtest
