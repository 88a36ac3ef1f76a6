// The running controller as the tool meets it: identification, transfers, live output pairs.
#include <QTemporaryDir>

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
  StartCore({"--fast", "--product", QString(QChar(code))});
  ASSERT_NO_FATAL_FAILURE(Acknowledge());
  Write({0xFF});
  EXPECT_EQ(Read(1, 2000), Bytes{product});

  const Bytes image = Download(length, product);
  const auto expected = DefaultImage();
  ASSERT_EQ(image.size(), length);
  EXPECT_TRUE(std::equal(image.begin(), image.end(), expected.bytes.begin()));
  EXPECT_TRUE(WaitForLine(QString("settings downloaded: %1 bytes").arg(length), 3000));
  // After the transfer the controller announces itself again, not another image byte.
  EXPECT_EQ(Read(1, 2000), Bytes{product});
}

class SimUploadFixture : public SimFixture {
 protected:
  void Upload(std::uint8_t product, const Bytes& sent) {
    ASSERT_NO_FATAL_FAILURE(Acknowledge());
    ASSERT_NO_FATAL_FAILURE(Request('H', product));
    ASSERT_EQ(Read(1, 2000), Bytes{'I'});
    for (std::size_t i = 0; i < sent.size(); ++i) {
      Write({sent[i]});
      ASSERT_EQ(Read(1, 2000), Bytes{sent[i]}) << "echo of byte " << i;
    }
    EXPECT_TRUE(WaitForLine(QString("settings uploaded: %1 bytes").arg(sent.size()), 3000));
  }
  // The uploaded bytes, the defaults beyond them.
  static void ExpectStored(const zorv::SettingsImage& stored, const Bytes& sent) {
    const auto defaults = DefaultImage();
    for (std::size_t i = 0; i < zorv::kImageSize; ++i) {
      EXPECT_EQ(stored[i], i < sent.size() ? sent[i] : defaults[i]) << "byte " << i;
    }
  }
};

class SimProductUploadTest : public SimUploadFixture,
                             public ::testing::WithParamInterface<ProductCase> {};

TEST_P(SimProductUploadTest, UploadIsEchoedAndStored) {
  const auto [code, length] = GetParam();
  StartCore({"--fast", "--product", QString(QChar(code))});
  const Bytes sent = Pattern(length, 3);
  ASSERT_NO_FATAL_FAILURE(Upload(static_cast<std::uint8_t>(code), sent));
  ExpectStored(core->device.Memories().settings, sent);
}

// The program writes the settings memory to --save-image when it stops.
using SimSaveImageTest = SimUploadFixture;

TEST_F(SimSaveImageTest, UploadedImageIsSavedAtExit) {
  QTemporaryDir dir;
  const QString saved = dir.filePath("saved.joy");
  StartSim({"--fast", "--product", "b", "--save-image", saved});
  const Bytes sent = Pattern(256, 3);
  ASSERT_NO_FATAL_FAILURE(Upload('b', sent));
  ASSERT_EQ(pty->sim.Stop(), 0) << Output();
  zorv::SettingsImage stored;
  ASSERT_TRUE(zorv::ReadSwitchFile(saved.toStdString(), stored).ok);
  ExpectStored(stored, sent);
}

const auto kProducts = ::testing::Values(ProductCase{'G', 121}, ProductCase{'g', 256},
                                         ProductCase{'b', 256}, ProductCase{'d', 256},
                                         ProductCase{'c', 256});
const auto kProductName = [](const auto& param_info) {
  return std::string("product_") + param_info.param.code;
};
INSTANTIATE_TEST_SUITE_P(Products, SimProductTest, kProducts, kProductName);
INSTANTIATE_TEST_SUITE_P(Products, SimProductUploadTest, kProducts, kProductName);

using SimControllerTest = SimFixture;

TEST_F(SimControllerTest, ImageOptionFillsTheMemory) {
  QTemporaryDir dir;
  const QString file = dir.filePath("fleet.joy");
  zorv::SettingsImage image;
  const Bytes pattern = Pattern(256, 11);
  std::copy(pattern.begin(), pattern.end(), image.bytes.begin());
  ASSERT_TRUE(zorv::WriteSwitchFile(file.toStdString(), image).ok);
  StartCore({"--fast", "--image", file});
  ASSERT_NO_FATAL_FAILURE(Acknowledge());
  EXPECT_EQ(Download(256), pattern);
}

TEST_F(SimControllerTest, BlankMemoryReadsAll255) {
  StartCore({"--fast", "--blank"});
  ASSERT_NO_FATAL_FAILURE(Acknowledge());
  const Bytes image = Download(256);
  ASSERT_EQ(image.size(), 256u);
  EXPECT_EQ(image[33], 255);
  EXPECT_EQ(image, Bytes(256, 255));
}

TEST_F(SimControllerTest, AnnouncesUntilAcknowledged) {
  StartCore({"--fast"});
  // Nothing sent: the product code comes by itself, repeatedly.
  EXPECT_EQ(Read(3, 2000), Bytes(3, 'g'));
  ASSERT_NO_FATAL_FAILURE(Acknowledge());
  EXPECT_TRUE(Read(1, 500).empty());
  Write({0xFF});  // still answered once acknowledged
  EXPECT_EQ(Read(1, 2000), Bytes{'g'});
}

TEST_F(SimControllerTest, SilentNeverAnnouncesButAnswers) {
  StartCore({"--fast", "--silent"});
  EXPECT_TRUE(Read(1, 600).empty());
  Write({0xFF});
  EXPECT_EQ(Read(1, 2000), Bytes{'g'});
}

TEST_F(SimControllerTest, RequestWithoutProductCodeIsIgnored) {
  StartCore({"--fast"});
  ASSERT_NO_FATAL_FAILURE(Acknowledge());
  Write({'F'});
  EXPECT_TRUE(Read(1, 300).empty());
  EXPECT_TRUE(WaitForLine("ignored (no product code sent before)", 2000));
}

TEST_F(SimControllerTest, WrongEchoOnceDuringUpload) {
  StartCore({"--fast", "--wrong-echo", "3"});
  ASSERT_NO_FATAL_FAILURE(Acknowledge());
  ASSERT_NO_FATAL_FAILURE(Request('H'));
  ASSERT_EQ(Read(1, 2000), Bytes{'I'});
  for (const std::uint8_t b : std::initializer_list<std::uint8_t>{10, 11, 12}) {
    Write({b});
    ASSERT_EQ(Read(1, 2000), Bytes{b});
  }
  Write({13});
  EXPECT_EQ(Read(1, 2000), Bytes{static_cast<std::uint8_t>(~13)});
  EXPECT_TRUE(WaitForLine("fault: byte 3 echoed as", 2000));
  // The tool never resends; the controller gives the upload up after 1000 ms.
  EXPECT_TRUE(WaitForLine("upload abandoned after 4 of 256 bytes", 3000));
  StopSim();
  EXPECT_TRUE(WaitForLine("counter wrong echoes: 1", 100));
}

TEST_F(SimControllerTest, SilenceAfterStopsTheDownload) {
  StartCore({"--fast", "--silence-after", "10"});
  ASSERT_NO_FATAL_FAILURE(Acknowledge());
  EXPECT_EQ(Download(256).size(), 10u);
  EXPECT_TRUE(WaitForLine("download abandoned after 10 of 256 bytes", 3000));
}

TEST_F(SimControllerTest, LivePairsAreLoggedWithTheirCadence) {
  StartCore({"--fast"});
  ASSERT_NO_FATAL_FAILURE(Acknowledge());
  for (int i = 0; i < 40; ++i) {
    Write({5, static_cast<std::uint8_t>(i < 30 ? 180 : 200)});
    core->device.Pass(10);
  }
  EXPECT_TRUE(WaitForLine("output 5 driven at 180", 2000));
  EXPECT_TRUE(WaitForLine("output 5 driven at 200", 2000));
  const auto stopped = WaitForLine("output 5 stopped after 40 pairs, mean interval", 2000);
  ASSERT_TRUE(stopped) << Output();
  const double mean = QString::fromStdString(*stopped).section(' ', -2, -2).toDouble();
  EXPECT_NEAR(mean, 10.0, 0.1);  // a pair every 10 ms of the fake clock, exactly

  // An argument 0 ends the run at once.
  Write({7, 100, 7, 100, 7, 0});
  EXPECT_TRUE(WaitForLine("output 7 stopped after 2 pairs", 2000)) << Output();
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
  StartCore({"--fast"});
  ASSERT_NO_FATAL_FAILURE(Acknowledge());
  // A restarted tool sends nothing and waits; the keep-alive gap has passed by then.
  EXPECT_EQ(Read(1, 5000), Bytes{'g'});
  EXPECT_TRUE(WaitForLine("link quiet for 3000 ms", 1000));
}

}  // namespace
}  // namespace zorvtest
