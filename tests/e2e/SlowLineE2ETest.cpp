// The link over a slow line: zorv-sim's core in process with --latency (every byte from the
// controller held up, as a USB adapter's buffer does), on the link's own time. An announcement
// still on its way when a request goes out must never shift the settings by a byte, and the
// controller must never see a wrong echo. A transfer at 400 ms a byte lasts minutes of link time
// and is only ever ended by silence. The command line's own roads over a slow line stay on a
// real port (tests/cli/CliSlowLinkTest.cpp).
#include <gtest/gtest.h>

#include "image/DefaultImage.h"
#include "tests/e2e/LinkHarness.h"

namespace zorv::test {
namespace {

struct SlowRow {
  const char* name;
  const char* latency;
  const char* product;
  std::size_t length;  // bytes the controller sends: 121 for a v1.0
  bool send;           // download, upload a changed image, download again; else one download
};

void PrintTo(const SlowRow& row, std::ostream* os) { *os << row.name; }

// Settings with bytes no default image has; byte 33 is neither blank nor Tarnovex.
SettingsImage StartImage() {
  SettingsImage image;
  GlobalTrimPair trims;
  LoadDefaultImage(image, trims);
  for (std::size_t i = 0; i < 121; ++i) image[i] = static_cast<std::uint8_t>(image[i] + i * 3);
  image[33] = 0;
  return image;
}

// Every other byte changed, but byte 33 (0xFF there reads as a blank controller).
SettingsImage Changed(SettingsImage image) {
  for (std::size_t i = 1; i < 121; i += 2) {
    if (i != 33) image[i] = static_cast<std::uint8_t>(~image[i]);
  }
  return image;
}

void ExpectReceived(const DownloadedEvent& got, const SettingsImage& want, std::size_t length) {
  ASSERT_EQ(got.length, static_cast<int>(length));
  for (std::size_t i = 0; i < length; ++i) ASSERT_EQ(got.bytes[i], want[i]) << "byte " << i;
}

// Nothing here watches the window's own timers, so the link's time may run far ahead of the
// wall clock: it moves only when the link sleeps, so load still never makes a time-out fire.
constexpr std::uint32_t kSpeed = 100;

class SlowLine : public ::testing::TestWithParam<SlowRow> {};

TEST_P(SlowLine, RightBytesAndNoWrongEcho) {
  const SlowRow& row = GetParam();
  LinkHarness h;
  const std::string imageFile = h.files.File("memory.joy");
  ASSERT_TRUE(WriteSwitchFile(imageFile, StartImage()).ok);
  ASSERT_TRUE(h.Start({"--latency", row.latency, "--product", row.product, "--image",
                       QString::fromStdString(imageFile)}, Where::InProcess, kSpeed))
      << h.controller.Output();
  // Minutes of link time, a few seconds of real time; longer under load.
  constexpr int kRealMs = 120000;
  ASSERT_TRUE(h.WaitForFirstDownload(kRealMs)) << h.window.last.text << h.controller.Output();
  ExpectReceived(h.window.downloads.at(0), StartImage(), row.length);

  if (row.send) {
    ASSERT_TRUE(h.WaitForIdle(kRealMs)) << h.window.last.text;
    h.window.image = Changed(StartImage());
    ASSERT_TRUE(h.Request(command::kUpload));
    ASSERT_TRUE(WaitUntil([&] { return h.window.NoticeCount(notice::kUploadDone) == 1; }, kRealMs))
        << h.window.last.text << h.controller.Output();
    ASSERT_TRUE(h.WaitForIdle(kRealMs)) << h.window.last.text;
    ASSERT_TRUE(h.Request(command::kDownload));
    ASSERT_TRUE(WaitUntil([&] { return h.window.downloads.size() == 2; }, kRealMs))
        << h.window.last.text << h.controller.Output();
    ExpectReceived(h.window.downloads.at(1), Changed(StartImage()), row.length);
  }
  h.link.reset();
  const unsigned badEchoes =
      h.controller.InProcess()->With([](InProcessSim& s) { return s.Faults().badEchoesFromTool; });
  EXPECT_EQ(badEchoes, 0u) << h.controller.Output();
  if (row.send) {
    const SettingsImage memory = h.controller.Memory();
    const SettingsImage want = Changed(StartImage());
    for (std::size_t i = 0; i < row.length; ++i) ASSERT_EQ(memory[i], want[i]) << "byte " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Latencies, SlowLine,
    ::testing::Values(SlowRow{"Get100", "100", "g", 256, false},
                      SlowRow{"Send100V10", "100", "G", 121, true},
                      SlowRow{"Get190", "190", "g", 256, false},
                      SlowRow{"Get250", "250", "g", 256, false},
                      SlowRow{"Get400", "400", "g", 256, false},
                      SlowRow{"Send190V10", "190", "G", 121, true},
                      SlowRow{"Send250V10", "250", "G", 121, true},
                      SlowRow{"Send400", "400", "g", 256, true}),
    [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace zorv::test
