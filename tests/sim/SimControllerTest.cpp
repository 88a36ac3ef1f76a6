// The running controller as the tool meets it: identification, transfers, live output pairs.
#include <QTemporaryDir>
#include <chrono>
#include <thread>

#include "SimFixture.h"
#include "image/DefaultImage.h"
#include "image/SwitchFile.h"

namespace zorvtest {
namespace {

zorv::SettingsImage DefaultImage() {
  zorv::SettingsImage image;
  zorv::GlobalTrimPair trims;
  zorv::LoadDefaultImage(image, trims);
  return image;
}

Bytes Pattern(std::size_t length, unsigned seed) {
  Bytes bytes(length);
  for (std::size_t i = 0; i < length; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + seed);
  return bytes;
}

struct ProductCase {
  char code;
  std::size_t length;
};

class SimProductTest : public SimFixture, public ::testing::WithParamInterface<ProductCase> {};

TEST_P(SimProductTest, IdentifiesAndDownloadsTheTransferLength) {
  const auto [code, length] = GetParam();
  const auto product = static_cast<std::uint8_t>(code);
  StartSim({"--fast", "--product", QString(QChar(code))});
  ASSERT_NO_FATAL_FAILURE(Acknowledge());
  port.Write({0xFF});
  EXPECT_EQ(port.Read(1, 2000), Bytes{product});

  const Bytes image = Download(length, product);
  const auto expected = DefaultImage();
  ASSERT_EQ(image.size(), length);
  EXPECT_TRUE(std::equal(image.begin(), image.end(), expected.bytes.begin()));
  EXPECT_TRUE(sim.WaitForLine(QString("settings downloaded: %1 bytes").arg(length), 3000));
  // After the transfer the controller announces itself again, not another image byte.
  EXPECT_EQ(port.Read(1, 2000), Bytes{product});
}

TEST_P(SimProductTest, UploadIsEchoedAndStored) {
  const auto [code, length] = GetParam();
  const auto product = static_cast<std::uint8_t>(code);
  QTemporaryDir dir;
  const QString saved = dir.filePath("saved.joy");
  StartSim({"--fast", "--product", QString(QChar(code)), "--save-image", saved});
  ASSERT_NO_FATAL_FAILURE(Acknowledge());
  ASSERT_NO_FATAL_FAILURE(Request('H', product));
  ASSERT_EQ(port.Read(1, 2000), Bytes{'I'});
  const Bytes sent = Pattern(length, 3);
  for (std::size_t i = 0; i < length; ++i) {
    port.Write({sent[i]});
    ASSERT_EQ(port.Read(1, 2000), Bytes{sent[i]}) << "echo of byte " << i;
  }
  EXPECT_TRUE(sim.WaitForLine(QString("settings uploaded: %1 bytes").arg(length), 3000));
  ASSERT_EQ(sim.Stop(), 0) << sim.Output().toStdString();

  zorv::SettingsImage stored;
  ASSERT_TRUE(zorv::ReadSwitchFile(saved.toStdString(), stored).ok);
  const auto defaults = DefaultImage();
  for (std::size_t i = 0; i < zorv::kImageSize; ++i) {
    EXPECT_EQ(stored[i], i < length ? sent[i] : defaults[i]) << "byte " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Products, SimProductTest,
                         ::testing::Values(ProductCase{'G', 121}, ProductCase{'g', 256},
                                           ProductCase{'b', 256}, ProductCase{'d', 256},
                                           ProductCase{'c', 256}),
                         [](const auto& param_info) {
                           return std::string("product_") + param_info.param.code;
                         });

using SimControllerTest = SimFixture;

TEST_F(SimControllerTest, ImageOptionFillsTheMemory) {
  QTemporaryDir dir;
  const QString file = dir.filePath("fleet.joy");
  zorv::SettingsImage image;
  const Bytes pattern = Pattern(256, 11);
  std::copy(pattern.begin(), pattern.end(), image.bytes.begin());
  ASSERT_TRUE(zorv::WriteSwitchFile(file.toStdString(), image).ok);
  StartSim({"--fast", "--image", file});
  ASSERT_NO_FATAL_FAILURE(Acknowledge());
  EXPECT_EQ(Download(256), pattern);
}

TEST_F(SimControllerTest, BlankMemoryReadsAll255) {
  StartSim({"--fast", "--blank"});
  ASSERT_NO_FATAL_FAILURE(Acknowledge());
  const Bytes image = Download(256);
  ASSERT_EQ(image.size(), 256u);
  EXPECT_EQ(image[33], 255);
  EXPECT_EQ(image, Bytes(256, 255));
}

TEST_F(SimControllerTest, AnnouncesUntilAcknowledged) {
  StartSim({"--fast"});
  // Nothing sent: the product code comes by itself, repeatedly.
  EXPECT_EQ(port.Read(3, 2000), Bytes(3, 'g'));
  ASSERT_NO_FATAL_FAILURE(Acknowledge());
  EXPECT_TRUE(port.Read(1, 500).empty());
  port.Write({0xFF});  // still answered once acknowledged
  EXPECT_EQ(port.Read(1, 2000), Bytes{'g'});
}

TEST_F(SimControllerTest, SilentNeverAnnouncesButAnswers) {
  StartSim({"--fast", "--silent"});
  EXPECT_TRUE(port.Read(1, 600).empty());
  port.Write({0xFF});
  EXPECT_EQ(port.Read(1, 2000), Bytes{'g'});
}

TEST_F(SimControllerTest, RequestWithoutProductCodeIsIgnored) {
  StartSim({"--fast"});
  ASSERT_NO_FATAL_FAILURE(Acknowledge());
  port.Write({'F'});
  EXPECT_TRUE(port.Read(1, 300).empty());
  EXPECT_TRUE(sim.WaitForLine("ignored (no product code sent before)", 2000));
}

TEST_F(SimControllerTest, WrongEchoOnceDuringUpload) {
  StartSim({"--fast", "--wrong-echo", "3"});
  ASSERT_NO_FATAL_FAILURE(Acknowledge());
  ASSERT_NO_FATAL_FAILURE(Request('H'));
  ASSERT_EQ(port.Read(1, 2000), Bytes{'I'});
  for (const std::uint8_t b : std::initializer_list<std::uint8_t>{10, 11, 12}) {
    port.Write({b});
    ASSERT_EQ(port.Read(1, 2000), Bytes{b});
  }
  port.Write({13});
  EXPECT_EQ(port.Read(1, 2000), Bytes{static_cast<std::uint8_t>(~13)});
  EXPECT_TRUE(sim.WaitForLine("fault: byte 3 echoed as", 2000));
  // The tool never resends; the controller gives the upload up after 1000 ms.
  EXPECT_TRUE(sim.WaitForLine("upload abandoned after 4 of 256 bytes", 3000));
  sim.Stop();
  EXPECT_TRUE(sim.WaitForLine("counter wrong echoes: 1", 100));
}

TEST_F(SimControllerTest, SilenceAfterStopsTheDownload) {
  StartSim({"--fast", "--silence-after", "10"});
  ASSERT_NO_FATAL_FAILURE(Acknowledge());
  EXPECT_EQ(Download(256).size(), 10u);
  EXPECT_TRUE(sim.WaitForLine("download abandoned after 10 of 256 bytes", 3000));
}

TEST_F(SimControllerTest, LivePairsAreLoggedWithTheirCadence) {
  StartSim({"--fast"});
  ASSERT_NO_FATAL_FAILURE(Acknowledge());
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 40; ++i) {
    port.Write({5, static_cast<std::uint8_t>(i < 30 ? 180 : 200)});
    std::this_thread::sleep_until(start + std::chrono::milliseconds(10 * (i + 1)));
  }
  EXPECT_TRUE(sim.WaitForLine("output 5 driven at 180", 2000));
  EXPECT_TRUE(sim.WaitForLine("output 5 driven at 200", 2000));
  const auto stopped = sim.WaitForLine("output 5 stopped after 40 pairs, mean interval", 2000);
  ASSERT_TRUE(stopped) << sim.Output().toStdString();
  const double mean = stopped->section(' ', -2, -2).toDouble();
  EXPECT_GT(mean, 7.0);
  EXPECT_LT(mean, 20.0);

  // An argument 0 ends the run at once.
  port.Write({7, 100, 7, 100, 7, 0});
  EXPECT_TRUE(sim.WaitForLine("output 7 stopped after 2 pairs", 2000)) << sim.Output().toStdString();
}

TEST(SimOptionsTest, UnusableCommandLinesExitWith2AndSayWhy) {
  const struct {
    QStringList arguments;
    const char* message;
  } cases[] = {
      {{"--product", "x"}, "--product needs one of G, g, b, d, c"},
      {{"--nak"}, "--nak needs a frame count"},
      {{"--corrupt-flash", "12zz"}, "--corrupt-flash needs a flash address"},
      {{"--blank", "--image", "a.joy"}, "--blank and --image exclude each other"},
      {{"--image", "/nonexistent/fleet.joy"}, "File not found"},
      {{"--port", "/nonexistent/ttyUSB9"}, "No such file or directory"},
      {{"--frobnicate"}, "unknown option: --frobnicate"},
  };
  for (const auto& c : cases) {
    SimProcess sim;
    EXPECT_TRUE(sim.Start(c.arguments, 5000).isEmpty()) << c.message;
    EXPECT_EQ(sim.WaitForExit(5000), 2) << c.message;
    EXPECT_TRUE(sim.WaitForLine(c.message, 100)) << sim.Output().toStdString();
  }
}

TEST_F(SimControllerTest, AnnouncesAgainWhenTheToolHasBeenQuiet) {
  StartSim({"--fast"});
  ASSERT_NO_FATAL_FAILURE(Acknowledge());
  // A restarted tool sends nothing and waits; the keep-alive gap has passed by then.
  EXPECT_EQ(port.Read(1, 5000), Bytes{'g'});
  EXPECT_TRUE(sim.WaitForLine("link quiet for 3000 ms", 1000));
}

}  // namespace
}  // namespace zorvtest
