// The link end to end: the real link thread against zorv-sim. Most cases run the simulator's
// core in process on the link's own time; a few run on a real port (a pseudo-terminal) in real
// time: one product's first link, one upgrade, the controller without a program, and the
// destruction of a link at work.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTimer>
#include <algorithm>
#include <random>

#include "image/SwitchFile.h"
#include "image/ZorvLayout.h"
#include "tests/e2e/LinkHarness.h"

namespace zorv::test {
namespace {

// A settings memory with bytes no default image has.
SettingsImage DistinctiveImage() {
  SettingsImage image;
  for (std::size_t k = 0; k < kImageSize; ++k) image[k] = static_cast<std::uint8_t>(k * 7 + 3);
  image[zorvfield::JoystickType] = 2;
  return image;
}

// Random firmware of `size` bytes, as a HEX file made by the binutils.
std::vector<std::uint8_t> MakeFirmware(const TempFolder& folder, std::size_t size, unsigned seed,
                                       std::string& hexFile) {
  std::mt19937 random(seed);
  std::vector<std::uint8_t> bytes(size);
  for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
  const std::string bin = folder.Write("firmware.bin", std::string(bytes.begin(), bytes.end()));
  hexFile = folder.File("firmware.hex");
  const int rc = QProcess::execute("objcopy", {"-I", "binary", "-O", "ihex",
                                               QString::fromStdString(bin),
                                               QString::fromStdString(hexFile)});
  EXPECT_EQ(rc, 0) << "objcopy failed";
  return bytes;
}

struct DownloadCase {
  const char* product;
  std::size_t length;
  const char* status;
  Where where = Where::InProcess;
};

// Row names that stay the same from build to build, for CTest's record of each case's time.
void PrintTo(const DownloadCase& c, std::ostream* os) { *os << c.product; }

class FirstLink : public ::testing::TestWithParam<DownloadCase> {};

TEST_P(FirstLink, DownloadsTheControllersSettings) {
  const DownloadCase c = GetParam();
  LinkHarness h;
  const std::string imageFile = h.files.File("memory.joy");
  ASSERT_TRUE(WriteSwitchFile(imageFile, DistinctiveImage()).ok);
  ASSERT_TRUE(h.Start({"--fast", "--product", c.product, "--image",
                       QString::fromStdString(imageFile)}, c.where))
      << h.controller.Output();

  ASSERT_TRUE(h.WaitForFirstDownload()) << h.controller.Output();
  const SettingsImage expected = DistinctiveImage();
  for (std::size_t k = 0; k < kImageSize; ++k) {
    // A v1.0 controller sends 121 bytes; a new link's buffer holds zeros beyond them.
    const std::uint8_t want = k < c.length ? expected[k] : 0;
    ASSERT_EQ(h.window.image[k], want) << "byte " << k;
  }
  ASSERT_TRUE(WaitUntil([&] { return h.window.last.text == c.status; }, 5000))
      << h.window.last.text;
  EXPECT_EQ(h.window.last.colour, StatusColour::Green);
}

INSTANTIATE_TEST_SUITE_P(
    Products, FirstLink,
    ::testing::Values(DownloadCase{"G", 121, "ZORV v1.0 Connected and Listening"},
                      DownloadCase{"g", 256, "ZORV v1.1 Connected and Listening", Where::RealPort},
                      DownloadCase{"b", 256, "TARNOVEX Connected and Listening"}));

TEST(LinkE2E, KeepAliveEveryTwoSeconds) {
  LinkHarness h;
  ASSERT_TRUE(h.Start({"--fast"}, Where::InProcess));
  ASSERT_TRUE(h.WaitForFirstDownload());
  const int from = h.controller.LineCount();
  Clock& clock = h.controller.InProcess()->LinkClock();
  const std::uint32_t start = clock.Ticks();
  WaitUntil([&] { return clock.Since(start) >= 4600; }, 60000);
  // 0xFF after 2 s of quiet, answered with the product code, acknowledged with 'E'.
  const int answers = h.controller.Count("identified as g", from);
  EXPECT_GE(answers, 2) << h.controller.Output();
  EXPECT_LE(answers, 3) << h.controller.Output();
  EXPECT_EQ(h.link->State(), LinkState::ConnectedIdle);
}

TEST(LinkE2E, UploadReachesTheControllersMemory) {
  LinkHarness h;
  ASSERT_TRUE(h.Start({"--fast"}, Where::InProcess));
  ASSERT_TRUE(h.WaitForFirstDownload());
  h.window.image = DistinctiveImage();
  ASSERT_TRUE(h.Request(254));
  ASSERT_TRUE(WaitUntil([&] { return h.window.NoticeCount(notice::kUploadDone) == 1; }, 15000))
      << h.controller.Output();
  ASSERT_TRUE(h.controller.Line("settings uploaded: 256 bytes").has_value()) << h.controller.Output();
  h.link.reset();
  EXPECT_EQ(h.controller.Memory(), DistinctiveImage());
}

TEST(LinkE2E, BlankControllerGivesTheDefaultImage) {
  LinkHarness h;
  h.window.image = DistinctiveImage();
  h.window.trims = {40, 50};
  ASSERT_TRUE(h.Start({"--fast", "--blank"}, Where::InProcess));
  ASSERT_TRUE(h.WaitForFirstDownload());
  SettingsImage defaults;
  GlobalTrimPair trims;
  LoadDefaultImage(defaults, trims);
  EXPECT_EQ(h.window.image, defaults);
  EXPECT_EQ(h.window.trims, trims);
}

TEST(LinkE2E, LivePairReachesTheControllerEveryCycle) {
  LinkHarness h;
  ASSERT_TRUE(h.Start({"--fast"}, Where::InProcess));
  ASSERT_TRUE(h.WaitForFirstDownload());
  ASSERT_TRUE(h.Request(5, 180));
  ASSERT_TRUE(WaitUntil([&] { return h.controller.Line("output 5 driven at 180").has_value(); }, 3000))
      << h.controller.Output();
  Clock& clock = h.controller.InProcess()->LinkClock();
  const std::uint32_t start = clock.Ticks();
  WaitUntil([&] { return clock.Since(start) >= 1000; }, 30000);
  h.link->Submit(LiveOutputOffJob{});
  std::optional<QString> stopped;
  WaitUntil([&] { return (stopped = h.controller.Line("output 5 stopped after")).has_value(); }, 3000);
  ASSERT_TRUE(stopped.has_value()) << h.controller.Output();
  // "output 5 stopped after N pairs, mean interval X ms"
  const QString interval = stopped->section("mean interval ", 1).section(" ms", 0, 0);
  const double ms = interval.toDouble();
  EXPECT_GT(ms, 9.0) << stopped->toStdString();
  EXPECT_LT(ms, 25.0) << stopped->toStdString();
}

struct UpgradeCase {
  const char* chip;
  std::size_t size;
  std::uint32_t flashLimit;
  Where where = Where::InProcess;
};

void PrintTo(const UpgradeCase& c, std::ostream* os) { *os << c.chip; }

class Upgrade : public ::testing::TestWithParam<UpgradeCase> {};

TEST_P(Upgrade, ProgramsAndVerifiesThroughTheBootLoader) {
  const UpgradeCase c = GetParam();
  LinkHarness h;
  ASSERT_TRUE(h.Start({"--fast", "--chip", c.chip}, c.where));
  ASSERT_TRUE(h.WaitForFirstDownload());
  const auto firmware = MakeFirmware(h.files, c.size, 7, h.window.firmwareFile);

  ASSERT_TRUE(h.Request(251));
  ASSERT_TRUE(WaitUntil([&] { return !h.window.infos.empty() || !h.window.errors.empty(); },
                        60000))
      << h.controller.Output();
  ASSERT_EQ(h.window.infos, std::vector<std::string>{"Upload completed and verified!"});
  EXPECT_TRUE(h.window.errors.empty());
  ASSERT_FALSE(h.window.ready.empty());
  EXPECT_EQ(h.window.ready.back().chip.flashLimit, c.flashLimit);
  // The new program starts and the link comes back.
  EXPECT_TRUE(h.WaitForIdle(10000));

  h.link.reset();
  const auto flash = h.controller.Flash();
  ASSERT_GE(flash.size(), firmware.size());
  EXPECT_TRUE(std::equal(firmware.begin(), firmware.end(), flash.begin()));
}

INSTANTIATE_TEST_SUITE_P(Chips, Upgrade,
                         ::testing::Values(UpgradeCase{"ATmega16 BOOT", 3000, 0x3C00, Where::RealPort},
                                           UpgradeCase{"ATmega32", 5000, 0x7C00},
                                           UpgradeCase{"AT90CAN128", 9000, 0x1F800}));

TEST(LinkE2E, SilentlyCorruptedFlashIsCaughtByTheReadBack) {
  LinkHarness h;
  ASSERT_TRUE(h.Start({"--fast", "--corrupt-flash", "0x0085"}, Where::InProcess));
  ASSERT_TRUE(h.WaitForFirstDownload());
  MakeFirmware(h.files, 1000, 3, h.window.firmwareFile);
  const int linesBefore = h.controller.LineCount();
  ASSERT_TRUE(h.Request(251));
  ASSERT_TRUE(WaitUntil([&] { return !h.window.retryQuestions.empty(); }, 60000))
      << h.controller.Output();
  // Offered as a Retry question (the harness cancels it): the program is not started.
  EXPECT_TRUE(h.window.errors.empty());
  EXPECT_EQ(h.window.retryQuestions,
            std::vector<std::string>{std::string("Contents of flash doesn't match file\r\n\r\n") +
                                     TCOMThread::kFirmwareIncomplete});
  EXPECT_TRUE(h.window.infos.empty());
  EXPECT_TRUE(WaitUntil([&] { return h.link->State() == LinkState::FirmwareHeld; }, 5000));
  // A second of the link's time for a start that must not come.
  Clock& clock = h.controller.InProcess()->LinkClock();
  const std::uint32_t held = clock.Ticks();
  WaitUntil([&] { return clock.Since(held) >= 1000; }, 30000);
  EXPECT_EQ(h.controller.Count("program start requested", linesBefore), 0) << h.controller.Output();
}

TEST(LinkE2E, ControllerWithoutProgramReachesProgramming) {
  LinkHarness h;
  ASSERT_TRUE(h.Start({"--fast", "--no-program"}));
  MakeFirmware(h.files, 500, 5, h.window.firmwareFile);
  ASSERT_TRUE(WaitUntil([&] { return !h.window.infos.empty(); }, 60000))
      << h.sim.Output().toStdString();
  ASSERT_FALSE(h.window.errors.empty());
  EXPECT_EQ(h.window.errors.front(), "This system has no firmware, please select firmware now.");
  EXPECT_EQ(h.window.infos, std::vector<std::string>{"Upload completed and verified!"});
  EXPECT_EQ(h.window.firmwareDialogs, 1);
  // Programmed, the controller starts its program and the link downloads its settings.
  EXPECT_TRUE(h.WaitForFirstDownload(15000)) << h.sim.Output().toStdString();
}

// Destroying the link must return promptly whatever it is doing.
constexpr qint64 kPromptMs = 1000;

TEST(LinkE2E, DestroyDuringATransferReturnsPromptly) {
  LinkHarness h;
  ASSERT_TRUE(h.Start({}));  // wire time on: a download takes about half a second
  ASSERT_TRUE(WaitUntil([&] { return h.sim.WaitForLine("download requested", 0).has_value(); },
                        10000));
  EXPECT_LT(h.DestroyLink(), kPromptMs);
}

TEST(LinkE2E, DestroyDuringProgrammingReturnsPromptly) {
  LinkHarness h;
  ASSERT_TRUE(h.Start({}));
  ASSERT_TRUE(h.WaitForFirstDownload());
  MakeFirmware(h.files, 15000, 9, h.window.firmwareFile);
  ASSERT_TRUE(h.Request(251));
  ASSERT_TRUE(WaitUntil([&] { return h.sim.WaitForLine("page 0x0100 written", 0).has_value(); },
                        30000))
      << h.sim.Output().toStdString();
  EXPECT_LT(h.DestroyLink(), kPromptMs);
}

TEST(LinkE2E, DestroyWhileALinkMessageBoxIsOpenReturnsPromptly) {
  LinkHarness h;
  qint64 destroyMs = -1;
  // The box stays open in its own event loop; the window destroys the link meanwhile (as the
  // restart notice or Exit would) and only then does the user close the box.
  h.window.onError = [&](const std::string&) {
    QEventLoop box;
    QTimer::singleShot(100, [&] {
      destroyMs = h.DestroyLink();
      box.quit();
    });
    box.exec();
  };
  ASSERT_TRUE(h.Start({"--fast", "--no-program"}));
  ASSERT_TRUE(WaitUntil([&] { return destroyMs >= 0; }, 30000)) << h.sim.Output().toStdString();
  EXPECT_LT(destroyMs, kPromptMs);
  EXPECT_FALSE(h.link);
}

}  // namespace
}  // namespace zorv::test
