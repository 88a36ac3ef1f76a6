// Boot loader programming against a scripted boot loader on a fake clock: chip parameters,
// frame bytes, acknowledgement handling, read-back, and whole firmware runs.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <algorithm>
#include <atomic>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "link/BootLoader.h"
#include "link/HexReader.h"
#include "tests/link/HexRecord.h"
#include "tests/support/FakeBootLoader.h"
#include "tests/support/FakeClock.h"
#include "tests/support/ScriptedSerialDevice.h"

namespace zorv {
namespace {

using test::FakeBootLoader;
using Bytes = std::vector<std::uint8_t>;

const Bytes kAck{0x06};
const Bytes kNak{0x15};
const Bytes kSilence{};

// The byte every test file puts at an address, so misplaced bytes show.
std::uint8_t Pattern(std::uint32_t address) {
  return static_cast<std::uint8_t>((address * 7 + 3) ^ (address >> 8));
}

// Records of up to 16 pattern bytes covering first..last.
std::string HexSpan(std::uint32_t first, std::uint32_t last) {
  std::string text;
  for (std::uint32_t a = first; a <= last; a += 16) {
    Bytes data;
    for (std::uint32_t i = a; i <= last && i < a + 16; ++i) data.push_back(Pattern(i));
    text += test::Record(0, a, data) + "\r\n";
  }
  return text;
}

// Names each instance of a table-driven test after its row.
const auto kCaseName = [](const auto& c) { return std::string(c.param.name); };

const std::string kEndOfFile = ":00000001FF\r\n";

struct Shown {
  std::string text;
  int progress;
  bool operator==(const Shown&) const = default;
};

void PrintTo(const Shown& s, std::ostream* os) {
  *os << '"' << s.text << "\" " << s.progress;
}

class BootLoaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    device.Open("COM1");
    status.linkState = LinkState::Programming;
    status.text = "Boot loader ATmega16";
    status.colour = StatusColour::Green;
    status.progress = 0;
    ASSERT_TRUE(dir.isValid());
  }

  std::string WriteFile(const std::string& name, const std::string& content) {
    const std::string path = dir.filePath(QString::fromStdString(name)).toStdString();
    std::ofstream(path, std::ios::binary) << content;
    return path;
  }

  // Reads the file as the supervisor does before the first frame, then programs it. A refused
  // file gives Failed with nothing written and its text in `readError`.
  BootLoader::Run Program(const std::string& path) {
    start = clock.Ticks();
    const Outcome read = ReadHexFile(path, flash);
    if (!read) {
      readError = read.error;
      return {};
    }
    return boot.Program(status, [this] {
      shown.push_back({status.text, status.progress});
      if (onRefresh) onRefresh();
    });
  }
  static bool Verified(const BootLoader::Run& run) {
    return run.result == BootLoader::Result::Verified && run.written;
  }

  void SendAddress(std::uint8_t command, std::uint32_t address, bool wait) {
    boot.BeginFrame(command);
    boot.AddFrameByte(static_cast<std::uint8_t>(address & 0xFF));
    boot.AddFrameByte(static_cast<std::uint8_t>(address >> 8));
    boot.EndFrame();
    lastSend = boot.SendFrame(wait);
  }

  std::string Commands() const {
    std::string out;
    for (const auto& f : peer.frames) out.push_back(static_cast<char>(f.command));
    return out;
  }

  std::uint32_t Elapsed() { return clock.Ticks() - start; }

  test::FakeClock clock{1000};
  test::ScriptedSerialDevice device{clock};
  LinkPort port{device, clock};
  FlashImage flash;
  std::atomic<bool> stop{false};
  BootLoader boot{port, clock, flash, stop};
  FakeBootLoader peer{device};
  LinkStatus status;
  std::vector<Shown> shown;
  std::function<void()> onRefresh;
  QTemporaryDir dir;
  std::uint32_t start = 0;
  std::string readError;
  bool lastSend = false;
};

// ---- chip identification ----

struct ChipCase {
  const char* line;
  std::uint32_t flashLimit;
  std::uint32_t pageSize;
  std::uint32_t blocks;
};

class IdentifyChipTest : public BootLoaderTest, public ::testing::WithParamInterface<ChipCase> {};

TEST_P(IdentifyChipTest, SetsFlashLimitPageSizeAndBlocks) {
  flash.chip = {1, 1, 1};  // whatever an earlier boot loader left
  boot.IdentifyChip(GetParam().line);
  EXPECT_EQ(flash.chip.flashLimit, GetParam().flashLimit);
  EXPECT_EQ(flash.chip.pageSize, GetParam().pageSize);
  EXPECT_EQ(flash.chip.blocksPerPage, GetParam().blocks);
}

INSTANTIATE_TEST_SUITE_P(Lines, IdentifyChipTest,
                         ::testing::Values(ChipCase{"ATmega16 BOOT\r\n", 15360, 128, 2},
                                           ChipCase{"", 15360, 128, 2},
                                           ChipCase{"atmega32", 31744, 128, 2},
                                           ChipCase{"Boot AtMeGa32L v2\r\n", 31744, 128, 2},
                                           ChipCase{"AT90CAN128", 129024, 256, 4},
                                           ChipCase{"at90can32 boot", 129024, 256, 4},
                                           ChipCase{"ATMEGA32 or AT90CAN", 129024, 256, 4},
                                           ChipCase{"AT90CAN then ATmega32", 129024, 256, 4},
                                           ChipCase{"ATMEGA3", 15360, 128, 2}));

// ---- frames on the wire ----

struct FrameCase {
  const char* name;
  std::uint8_t command;
  Bytes payload;
  Bytes wire;
};

class FrameBytesTest : public BootLoaderTest, public ::testing::WithParamInterface<FrameCase> {};

TEST_P(FrameBytesTest, SendsCommandLengthPayloadAndXor) {
  peer.silentWhenDone = true;
  boot.BeginFrame(GetParam().command);
  for (std::uint8_t b : GetParam().payload) boot.AddFrameByte(b);
  boot.EndFrame();
  EXPECT_TRUE(boot.SendFrame(false));
  EXPECT_EQ(device.written, GetParam().wire);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, FrameBytesTest,
    ::testing::Values(
        FrameCase{"address_0x0080", 'A', {0x80, 0x00}, {0x41, 0x05, 0x80, 0x00, 0x80}},
        FrameCase{"address_0x1234", 'A', {0x34, 0x12}, {0x41, 0x05, 0x34, 0x12, 0x26}},
        FrameCase{"page_open", 'E', {}, {0x45, 0x03, 0x00}},
        FrameCase{"page_close", 'F', {}, {0x46, 0x03, 0x00}},
        FrameCase{"read_back_0x0140", 'V', {0x40, 0x01}, {0x56, 0x05, 0x40, 0x01, 0x41}}),
    kCaseName);

TEST_F(BootLoaderTest, DataFrameCarries64BytesAndTheirXor) {
  peer.silentWhenDone = true;
  boot.BeginFrame('D');
  for (int i = 1; i <= 64; ++i) boot.AddFrameByte(static_cast<std::uint8_t>(i));
  boot.EndFrame();
  ASSERT_TRUE(boot.SendFrame(false));
  ASSERT_EQ(device.written.size(), 67u);
  EXPECT_EQ(device.written[0], 0x44);
  EXPECT_EQ(device.written[1], 67);
  for (int i = 1; i <= 64; ++i) EXPECT_EQ(device.written[static_cast<std::size_t>(i) + 1], i);
  EXPECT_EQ(device.written[66], 0x40);  // 1 ^ 2 ^ ... ^ 64
}

TEST_F(BootLoaderTest, BeginningAFrameClearsEveryPositionOfTheLastOne) {
  boot.BeginFrame('D');
  for (int i = 0; i < 64; ++i) boot.AddFrameByte(0xEE);
  boot.EndFrame();
  boot.BeginFrame('E');
  boot.EndFrame();
  const auto& frame = boot.Frame();
  EXPECT_EQ(frame[0], 'E');
  EXPECT_EQ(frame[1], 3);
  for (std::size_t p = 2; p < frame.size(); ++p) EXPECT_EQ(frame[p], 0) << "position " << p + 1;
}

TEST_F(BootLoaderTest, AFrameNeverGrowsPastItsEightyPositions) {
  boot.BeginFrame('D');
  for (int i = 0; i < 200; ++i) boot.AddFrameByte(0x01);
  boot.EndFrame();
  EXPECT_EQ(boot.Frame()[1], 80);
  EXPECT_EQ(boot.Frame()[79], 0x01);  // XOR of the 77 payload bytes that fit (an odd count)
}

// ---- acknowledgements ----

struct AnswerCase {
  const char* name;
  std::vector<Bytes> answers;
  bool ok;
  int transmissions;
  std::size_t pendingAfter;
};

class SendFrameTest : public BootLoaderTest, public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(SendFrameTest, ResendsOnRefusalOrGarbageUpToSixTimes) {
  for (const auto& a : GetParam().answers) peer.answers.push_back(a);
  peer.answers.push_back(kAck);  // one answer too many must not rescue a failed frame
  start = clock.Ticks();
  SendAddress('A', 0x0080, true);
  EXPECT_EQ(lastSend, GetParam().ok);
  EXPECT_EQ(peer.Count('A'), GetParam().transmissions);
  Bytes expected;
  for (int i = 0; i < GetParam().transmissions; ++i) {
    expected.insert(expected.end(), {0x41, 0x05, 0x80, 0x00, 0x80});
  }
  EXPECT_EQ(device.written, expected);
  // Garbage is drained before the frame goes again, so nothing of it is left over.
  EXPECT_EQ(device.Pending(), GetParam().pendingAfter);
}

const std::vector<Bytes> kSixNaks(6, kNak);
const std::vector<Bytes> kFiveNaksThenAck{kNak, kNak, kNak, kNak, kNak, kAck};
const std::vector<Bytes> kSixGarbage(6, Bytes{0x33, 0x44});

INSTANTIATE_TEST_SUITE_P(
    Answers, SendFrameTest,
    ::testing::Values(AnswerCase{"ack", {kAck}, true, 1, 0},
                      AnswerCase{"nak_then_ack", {kNak, kAck}, true, 2, 0},
                      AnswerCase{"five_naks_then_ack", kFiveNaksThenAck, true, 6, 0},
                      AnswerCase{"six_naks", kSixNaks, false, 6, 0},
                      AnswerCase{"garbage_then_ack", {{0x33, 0x44, 0x55}, kAck}, true, 2, 0},
                      AnswerCase{
                          "nak_garbage_nak_then_ack", {kNak, {0x00}, kNak, kAck}, true, 4, 0},
                      // The sixth garbage answer ends the frame; its tail is the caller's.
                      AnswerCase{"six_garbage", kSixGarbage, false, 6, 1},
                      AnswerCase{"silence", {kSilence}, false, 1, 0},
                      AnswerCase{"nak_then_silence", {kNak, kSilence}, false, 2, 0}),
    kCaseName);

struct TimingCase {
  const char* name;
  std::uint32_t clockStart;
  std::uint32_t ackAfter;  // 0: never
  bool ok;
  std::uint32_t minElapsed;
  std::uint32_t maxElapsed;
};

class AnswerTimeTest : public BootLoaderTest, public ::testing::WithParamInterface<TimingCase> {};

TEST_P(AnswerTimeTest, WaitsFiveSecondsForTheAnswerAndSendsOnce) {
  clock.Set(GetParam().clockStart);
  peer.silentWhenDone = true;
  start = clock.Ticks();
  if (GetParam().ackAfter != 0) device.FeedAt(start + GetParam().ackAfter, {0x06});
  SendAddress('A', 0x0080, true);
  EXPECT_EQ(lastSend, GetParam().ok);
  EXPECT_EQ(peer.Count('A'), 1);
  EXPECT_GE(Elapsed(), GetParam().minElapsed);
  EXPECT_LE(Elapsed(), GetParam().maxElapsed);
}

INSTANTIATE_TEST_SUITE_P(
    Times, AnswerTimeTest,
    ::testing::Values(TimingCase{"ack_at_1_ms_taken_at_once", 1000, 1, true, 1, 1},
                      TimingCase{"ack_at_3_ms_taken_at_once", 1000, 3, true, 3, 3},
                      TimingCase{"ack_at_17_ms_taken_at_once", 1000, 17, true, 17, 17},
                      TimingCase{"ack_at_4990_ms", 1000, 4990, true, 4990, 4990},
                      TimingCase{"ack_at_5000_ms_too_late", 1000, 5000, false, 5000, 5010},
                      TimingCase{"ack_at_4999_ms", 1000, 4999, true, 4999, 4999},
                      TimingCase{"silence", 1000, 0, false, 5000, 5010},
                      TimingCase{"silence_across_tick_wrap", 0xFFFFF000u, 0, false, 5000, 5010}),
    kCaseName);

TEST_F(BootLoaderTest, StopFlagEndsTheWaitForAnAnswerAtOnce) {
  peer.silentWhenDone = true;
  peer.onFrame = [this](const test::BootFrame&) { stop = true; };
  start = clock.Ticks();
  SendAddress('A', 0, true);
  EXPECT_FALSE(lastSend);
  EXPECT_LT(Elapsed(), 20u);
  EXPECT_EQ(peer.Count('A'), 1);
}

TEST_F(BootLoaderTest, StoppedLinkSendsNothing) {
  stop = true;
  SendAddress('A', 0, true);
  EXPECT_FALSE(lastSend);
  EXPECT_TRUE(device.written.empty());
}

TEST_F(BootLoaderTest, FrameThatCannotBeWrittenFailsWithoutWaiting) {
  device.failWrites = true;
  start = clock.Ticks();
  SendAddress('A', 0, true);
  EXPECT_FALSE(lastSend);
  EXPECT_EQ(Elapsed(), 0u);
}

// ---- receiving ----

struct ReceiveCase {
  const char* name;
  Bytes incoming;
  bool valid;
  std::size_t stored;  // how many leading incoming bytes the frame buffer holds
  std::size_t pendingAfter;
};

Bytes FullFrame(std::uint8_t length) {
  Bytes f{'V', length};
  std::uint8_t x = 0;
  for (int i = 3; i < length; ++i) {
    f.push_back(static_cast<std::uint8_t>(i * 3));
    x ^= static_cast<std::uint8_t>(i * 3);
  }
  f.push_back(x);
  return f;
}

Bytes Spoiled(Bytes frame) {
  frame.back() ^= 0x01;
  return frame;
}

// A frame that announces `length` and brings that many bytes.
Bytes Announcing(std::uint8_t length) {
  Bytes f{'V', length};
  for (int i = 2; i < length; ++i) f.push_back(0xAB);
  return f;
}

Bytes WithTail(Bytes frame, std::uint8_t tail) {
  frame.push_back(tail);
  return frame;
}

class ReceiveFrameTest : public BootLoaderTest,
                         public ::testing::WithParamInterface<ReceiveCase> {};

TEST_P(ReceiveFrameTest, ChecksLengthAndXorAndNeverStoresPastEighty) {
  boot.BeginFrame('D');  // a full buffer from the frame before
  for (int i = 0; i < 77; ++i) boot.AddFrameByte(0xEE);
  boot.EndFrame();
  device.Feed(GetParam().incoming);
  start = clock.Ticks();
  EXPECT_EQ(boot.ReceiveFrame(), GetParam().valid);
  EXPECT_LT(Elapsed(), 10000u);  // every case ends without waiting for a gap
  const auto& frame = boot.Frame();
  for (std::size_t p = 0; p < frame.size(); ++p) {
    const std::uint8_t want = p < GetParam().stored ? GetParam().incoming[p] : 0;
    EXPECT_EQ(frame[p], want) << "position " << p + 1;
  }
  EXPECT_EQ(device.Pending(), GetParam().pendingAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Frames, ReceiveFrameTest,
    ::testing::Values(ReceiveCase{"read_back", FullFrame(67), true, 67, 0},
                      ReceiveCase{"no_payload", {'V', 3, 0}, true, 3, 0},
                      ReceiveCase{"no_payload_bad_xor", {'V', 3, 9}, false, 3, 0},
                      ReceiveCase{"eighty_positions", FullFrame(80), true, 80, 0},
                      ReceiveCase{"bad_xor", Spoiled(FullFrame(67)), false, 67, 0},
                      ReceiveCase{"bytes_after_the_frame_stay", WithTail(FullFrame(5), 0x99), true,
                                  5, 1},
                      ReceiveCase{"length_200", Announcing(200), false, 1, 0},
                      ReceiveCase{"length_81", Announcing(81), false, 1, 0},
                      ReceiveCase{"length_2", {'V', 2, 0, 0}, false, 1, 0},
                      ReceiveCase{"length_0", {'V', 0, 0}, false, 1, 0}),
    kCaseName);

TEST_F(BootLoaderTest, OverlongFrameIsDroppedAndTheNextIsReceived) {
  device.Feed(Announcing(200));
  EXPECT_FALSE(boot.ReceiveFrame());
  device.Feed(FullFrame(67));
  EXPECT_TRUE(boot.ReceiveFrame());
  EXPECT_EQ(boot.Frame()[1], 67);
}

struct GapCase {
  const char* name;
  std::uint32_t gap;   // between the bytes of a 5-byte frame
  std::size_t arrive;  // how many of its bytes arrive at all
  bool valid;
  std::uint32_t minElapsed;
  std::uint32_t maxElapsed;
};

class ReceiveGapTest : public BootLoaderTest, public ::testing::WithParamInterface<GapCase> {};

TEST_P(ReceiveGapTest, GivesUpTenSecondsAfterTheLastByte) {
  const Bytes frame = FullFrame(5);
  start = clock.Ticks();
  for (std::size_t i = 0; i < GetParam().arrive; ++i) {
    device.FeedAt(start + GetParam().gap * static_cast<std::uint32_t>(i + 1), {frame[i]});
  }
  EXPECT_EQ(boot.ReceiveFrame(), GetParam().valid);
  EXPECT_GE(Elapsed(), GetParam().minElapsed);
  EXPECT_LE(Elapsed(), GetParam().maxElapsed);
}

INSTANTIATE_TEST_SUITE_P(Gaps, ReceiveGapTest,
                         ::testing::Values(GapCase{"bytes_every_9_s", 9000, 5, true, 45000, 45000},
                                           GapCase{"silence", 9000, 0, false, 10001, 10010},
                                           GapCase{"stops_after_two_bytes", 9000, 2, false, 28001,
                                                   28010},
                                           GapCase{"gap_of_10_1_s", 10100, 5, false, 10001, 10010}),
                         kCaseName);

TEST_F(BootLoaderTest, StopFlagEndsReceivingAtOnce) {
  stop = true;
  start = clock.Ticks();
  EXPECT_FALSE(boot.ReceiveFrame());
  EXPECT_EQ(Elapsed(), 0u);
}

// ---- read-back ----

struct VerifyCase {
  const char* name;
  int badReadBacks;
  int silentReadBacks;
  std::optional<std::uint32_t> corrupt;
  std::optional<std::uint8_t> answerLength;
  bool ok;
  int requests;
};

class VerifyPageTest : public BootLoaderTest, public ::testing::WithParamInterface<VerifyCase> {};

TEST_P(VerifyPageTest, ComparesTheBlockAfterUpToFourRequests) {
  for (std::uint32_t a = 0x100; a < 0x140; ++a) flash.bytes[a] = peer.flash[a] = Pattern(a);
  peer.badReadBacks = GetParam().badReadBacks;
  peer.silentReadBacks = GetParam().silentReadBacks;
  peer.corruptAddress = GetParam().corrupt;
  peer.readBackLength = GetParam().answerLength;
  EXPECT_EQ(boot.VerifyPage(0x100), GetParam().ok);
  EXPECT_EQ(peer.Count('V'), GetParam().requests);
  for (const auto& f : peer.frames) {
    EXPECT_EQ(f.payload, (Bytes{0x00, 0x01}));
    EXPECT_TRUE(f.xorOk);
  }
}

INSTANTIATE_TEST_SUITE_P(
    ReadBacks, VerifyPageTest,
    ::testing::Values(VerifyCase{"equal", 0, 0, {}, {}, true, 1},
                      // After a spoiled or missing answer: two equal copies.
                      VerifyCase{"one_bad_xor", 1, 0, {}, {}, true, 3},
                      VerifyCase{"three_bad_xor", 3, 0, {}, {}, true, 5},
                      VerifyCase{"four_bad_xor", 4, 0, {}, {}, false, 4},
                      VerifyCase{"three_silent", 0, 3, {}, {}, true, 5},
                      VerifyCase{"four_silent", 0, 4, {}, {}, false, 4},
                      VerifyCase{"first_byte_differs", 0, 0, 0x100u, {}, false, 1},
                      VerifyCase{"last_byte_differs", 0, 0, 0x13Fu, {}, false, 1},
                      VerifyCase{"byte_after_the_block_differs", 0, 0, 0x140u, {}, true, 1},
                      VerifyCase{
                          "answer_longer_than_a_block", 0, 0, {}, std::uint8_t{70}, true, 1}),
    kCaseName);

TEST_F(BootLoaderTest, ValidAnswerWithoutTheBlockNeverVerifies) {
  peer.readBackLength = 3;  // an empty frame: its cleared positions would equal an erased block
  EXPECT_FALSE(boot.VerifyPage(0x100));
  EXPECT_EQ(peer.Count('V'), 4);  // asked again, as for any answer without the block
}

TEST_F(BootLoaderTest, ReadBackNeverReachesPastTheImage) {
  const std::uint32_t last = static_cast<std::uint32_t>(kFlashImageSize) - 64;
  std::fill(flash.bytes.begin() + last, flash.bytes.end(), 0x5A);
  std::fill(peer.flash.begin(), peer.flash.end(), 0x5A);  // every answer equals the image tail
  EXPECT_TRUE(boot.VerifyPage(last));
  // A block reaching past the image is never read from it, and never counts as equal.
  EXPECT_FALSE(boot.VerifyPage(last + 32));
  EXPECT_FALSE(boot.VerifyPage(0xFFFFFFC0u));
}

// ---- whole programming runs ----

const std::vector<Shown> kThreePagesShown{{"Sending update...", 0},   {"Sending update...", 0},
                                          {"Sending update...", 0},   {"Sending update...", 42},
                                          {"Sending update...", 42},  {"Sending update...", 85},
                                          {"Verifying flash...", 0},  {"Verifying flash...", 42},
                                          {"Verifying flash...", 85}, {"Completed", 100}};

class ProgramTest : public BootLoaderTest {
 protected:
  // Highest address 300 with 128-byte pages: pages 0, 128 and 256, the middle one untouched.
  std::string ThreePageFile() {
    return WriteFile("three.hex", HexSpan(0x0000, 0x000F) + HexSpan(0x0100, 0x012C) + kEndOfFile);
  }
  void SetUp() override {
    BootLoaderTest::SetUp();
    boot.IdentifyChip("ATmega16 BOOT");
  }
};

TEST_F(ProgramTest, WritesAndVerifiesEveryPageUpToTheHighestAddress) {
  ASSERT_TRUE(Verified(Program(ThreePageFile())));
  EXPECT_EQ(Commands(), "AEDDFAEDDFAEDDFVVVVVV");
  EXPECT_EQ(peer.Addresses('A'), (std::vector<std::uint32_t>{0, 128, 256}));
  EXPECT_EQ(peer.Addresses('V'), (std::vector<std::uint32_t>{0, 64, 128, 192, 256, 320}));
  for (const auto& f : peer.frames) EXPECT_TRUE(f.xorOk);
  for (std::uint32_t a = 0; a < 384; ++a) {
    const bool inFile = a <= 0x0F || (a >= 0x100 && a <= 0x12C);
    // Where the file has no data the page is written erased, as the Flash CRC-32 counts it.
    ASSERT_EQ(peer.flash[a], inFile ? Pattern(a) : 0xFF) << "address " << a;
  }
  EXPECT_EQ(device.written.size(), 3u * 145 + 6 * 5);
  EXPECT_EQ(shown, kThreePagesShown);
  EXPECT_EQ(status.text, "Completed");
  EXPECT_EQ(status.colour, StatusColour::Green);
  EXPECT_EQ(status.linkState, LinkState::Programming);  // the supervisor moves on
}

TEST_F(ProgramTest, MismatchSkipsTheRemainingReadBacksButCompletes) {
  peer.corruptAddress = 200;
  const BootLoader::Run run = Program(ThreePageFile());
  EXPECT_EQ(run.result, BootLoader::Result::Mismatch);
  EXPECT_TRUE(run.written);
  EXPECT_EQ(peer.Addresses('V'), (std::vector<std::uint32_t>{0, 64, 128, 192}));
  EXPECT_EQ(shown, kThreePagesShown);
  EXPECT_EQ(status.linkState, LinkState::Programming);
}

TEST_F(ProgramTest, RefusedDataFrameIsSentAgainAndProgrammingGoesOn) {
  peer.answers = {kAck, kAck, kNak, kAck};
  ASSERT_TRUE(Verified(Program(ThreePageFile())));
  EXPECT_EQ(Commands(), "AEDDDFAEDDFAEDDFVVVVVV");
  EXPECT_EQ(peer.frames[2].payload, peer.frames[3].payload);
}

struct UploadFailureCase {
  const char* name;
  std::vector<Bytes> answers;
  std::string commands;
  int lastProgress;
  std::uint32_t minElapsed;
  bool written;  // a page open went out
};

std::vector<Bytes> Answers(std::vector<Bytes> head, const std::vector<Bytes>& tail) {
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

const std::vector<Bytes> kPageAcks(5, kAck);

class UploadFailureTest : public ProgramTest,
                          public ::testing::WithParamInterface<UploadFailureCase> {};

TEST_P(UploadFailureTest, StopsWithUploadFailedAndSaysWhetherItWrote) {
  for (const auto& a : GetParam().answers) peer.answers.push_back(a);
  const BootLoader::Run run = Program(ThreePageFile());
  EXPECT_EQ(run.result, BootLoader::Result::Failed);
  EXPECT_EQ(run.written, GetParam().written);
  EXPECT_EQ(Commands(), GetParam().commands);
  EXPECT_EQ(status.text, "Upload failed!");
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown.back(), (Shown{"Sending update...", GetParam().lastProgress}));
  EXPECT_GE(Elapsed(), GetParam().minElapsed);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, UploadFailureTest,
    ::testing::Values(
        UploadFailureCase{"silent_controller", {kSilence}, "A", 0, 5000, false},
        UploadFailureCase{"six_naks_on_first_address", kSixNaks, "AAAAAA", 0, 0, false},
        UploadFailureCase{"six_naks_on_data", Answers({kAck, kAck}, kSixNaks), "AEDDDDDD", 0, 0,
                          true},
        UploadFailureCase{"silence_on_page_open_of_third_page",
                          Answers(Answers(kPageAcks, kPageAcks), {kAck, kSilence}), "AEDDFAEDDFAE",
                          85, 5000, true},
        UploadFailureCase{"garbage_on_page_close", Answers({kAck, kAck, kAck, kAck}, kSixGarbage),
                          "AEDDFFFFFF", 0, 0, true}),
    kCaseName);

struct BadFileCase {
  const char* name;
  std::string content;  // empty: the file does not exist
  std::string error;    // empty: the read error naming the file
};

class BadFileTest : public ProgramTest, public ::testing::WithParamInterface<BadFileCase> {};

TEST_P(BadFileTest, ShowsTheReadersErrorAndSendsNothing) {
  const std::string path = GetParam().content.empty() ? dir.filePath("missing.hex").toStdString()
                                                      : WriteFile("bad.hex", GetParam().content);
  const std::string error =
      GetParam().error.empty() ? "Failed to read input file <" + path + ">" : GetParam().error;
  const BootLoader::Run run = Program(path);
  EXPECT_FALSE(run.written);
  EXPECT_EQ(readError, error);
  EXPECT_TRUE(device.written.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Files, BadFileTest,
    ::testing::Values(BadFileCase{"missing", "", ""},
                      BadFileCase{"checksum", HexSpan(0, 15) + ":0100100055AB\r\n",
                                  "Error parsing file: checksum failed"},
                      BadFileCase{"beyond_the_chip", test::Record(0, 0x3C00, {0x55}) + "\r\n",
                                  "Error parsing file: data exceeds writeable flash space"},
                      BadFileCase{"end_record_only", kEndOfFile,
                                  "Error parsing file: no program data"},
                      BadFileCase{"blank_lines", "\r\n  \r\n",
                                  "Error parsing file: no program data"}),
    kCaseName);

TEST_F(ProgramTest, LastPageBelow64KiBEndsTheLoopsInsteadOfWrapping) {
  boot.IdentifyChip("AT90CAN128");
  ASSERT_TRUE(Verified(Program(WriteFile("top.hex", HexSpan(0xFFF0, 0xFFFF) + kEndOfFile))));
  const std::vector<std::uint32_t> pages = peer.Addresses('A');
  ASSERT_EQ(pages.size(), 256u);
  for (std::size_t i = 0; i < pages.size(); ++i) ASSERT_EQ(pages[i], i * 256);
  const std::vector<std::uint32_t> reads = peer.Addresses('V');
  ASSERT_EQ(reads.size(), 1024u);
  EXPECT_EQ(reads.back(), 0xFFC0u);
  EXPECT_EQ(peer.Count('D'), 1024);
  for (std::uint32_t a = 0xFFF0; a <= 0xFFFF; ++a) EXPECT_EQ(peer.flash[a], Pattern(a));
  ASSERT_GE(shown.size(), 2u);
  EXPECT_EQ(shown[shown.size() - 2], (Shown{"Verifying flash...", 99}));  // 0xFF00 * 100 / 0xFFFF
}

struct HighestZeroCase {
  const char* name;
  std::string content;
};

class HighestZeroTest : public ProgramTest,
                        public ::testing::WithParamInterface<HighestZeroCase> {};

TEST_P(HighestZeroTest, WritesPageZeroWithProgress100) {
  ASSERT_TRUE(Verified(Program(WriteFile("zero.hex", GetParam().content))));
  EXPECT_EQ(Commands(), "AEDDFVV");
  EXPECT_EQ(shown, (std::vector<Shown>{{"Sending update...", 0},
                                       {"Sending update...", 100},
                                       {"Verifying flash...", 100},
                                       {"Completed", 100}}));
}

INSTANTIATE_TEST_SUITE_P(Files, HighestZeroTest,
                         ::testing::Values(HighestZeroCase{"one_byte_and_lower_case_end", HexSpan(0, 0) + ":00000001ff\n"},
                                           HighestZeroCase{"one_byte_and_end_record",
                                                           HexSpan(0, 0) + kEndOfFile}),
                         kCaseName);

TEST_F(ProgramTest, EarlierFileLeavesNothingBehind) {
  ASSERT_TRUE(Verified(Program(ThreePageFile())));
  peer.frames.clear();
  ASSERT_TRUE(Verified(Program(WriteFile("one.hex", HexSpan(0x110, 0x110) + kEndOfFile))));
  EXPECT_EQ(peer.Addresses('A'), (std::vector<std::uint32_t>{0, 128, 256}));
  for (std::uint32_t a = 0; a < 384; ++a) {
    ASSERT_EQ(peer.flash[a], a == 0x110 ? Pattern(a) : 0xFF) << "address " << a;
  }
}

struct StopCase {
  const char* name;
  std::size_t atFrame;    // stop while this frame (1-based) is being answered; 0: see atRefresh
  std::size_t atRefresh;  // stop during this status refresh
};

class StopTest : public ProgramTest, public ::testing::WithParamInterface<StopCase> {};

TEST_P(StopTest, ReturnsPromptlyWithoutFurtherWindowCalls) {
  std::size_t shownAtStop = 0;
  peer.onFrame = [&](const test::BootFrame&) {
    if (peer.frames.size() == GetParam().atFrame) {
      stop = true;
      shownAtStop = shown.size();
    }
  };
  onRefresh = [&] {
    if (shown.size() == GetParam().atRefresh) {
      stop = true;
      shownAtStop = shown.size();
    }
  };
  const std::string file = ThreePageFile();
  EXPECT_EQ(Program(file).result, BootLoader::Result::Stopped);
  EXPECT_LT(Elapsed(), 20u);
  EXPECT_EQ(shown.size(), shownAtStop);
  const std::size_t framesAtStop =
      GetParam().atFrame != 0 ? GetParam().atFrame : peer.frames.size();
  EXPECT_EQ(peer.frames.size(), framesAtStop);
}

INSTANTIATE_TEST_SUITE_P(Moments, StopTest,
                         ::testing::Values(StopCase{"first_address", 1, 0},
                                           StopCase{"data_of_second_page", 8, 0},
                                           StopCase{"page_close_of_last_page", 15, 0},
                                           StopCase{"first_read_back", 16, 0},
                                           StopCase{"last_read_back", 21, 0},
                                           StopCase{"refresh_after_first_page", 0, 2},
                                           StopCase{"last_verify_refresh", 0, 9}),
                         kCaseName);

}  // namespace
}  // namespace zorv
