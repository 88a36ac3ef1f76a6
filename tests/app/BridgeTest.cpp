#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QTemporaryDir>

#include "app/FormBridge.h"
#include "app/StatusStrip.h"
#include "link/UpgradeSettings.h"
#include "image/DefaultImage.h"
#include "tests/support/ScriptedPrompts.h"

namespace zorv::test {
namespace {

// An empty (or given) file in `dir`; its path.
QString MakeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& content = {}) {
  const QString path = dir.filePath(name);
  QFile out(path);
  if (out.open(QIODevice::WriteOnly)) out.write(content);
  return path;
}

class Bridge : public ::testing::Test {
 protected:
  StatusStrip strip;
  SettingsImage image;
  GlobalTrimPair trims;
  ScriptedPrompts prompts;
  UpgradeSettings kept;
  FormBridge bridge{strip, image, trims, prompts, kept};
};

struct StatusCase {
  const char* text;
  StatusColour colour;
  QColor shown;
  bool rx, tx;
};

class BridgeStatus : public Bridge, public ::testing::WithParamInterface<StatusCase> {};

TEST_P(BridgeStatus, StatusRefreshShowsTextColourProgressAndLightsOnlyActiveLamps) {
  const StatusCase& c = GetParam();
  bridge.RefreshStatus({c.text, c.colour, 37, {}, c.rx, c.tx, {}, {}});
  EXPECT_EQ(strip.ConnectedPanel()->text(), c.text);
  EXPECT_EQ(StatusStrip::PanelColour(strip.ConnectedPanel()), c.shown);
  EXPECT_EQ(strip.ProgressGauge()->value(), 37);
  EXPECT_EQ(StatusStrip::LampColour(strip.RXPanel()), c.rx ? QColor(255, 0, 0) : QColor(128, 128, 128));
  EXPECT_EQ(StatusStrip::LampColour(strip.TXPanel()), c.tx ? QColor(255, 0, 0) : QColor(128, 128, 128));
}

INSTANTIATE_TEST_SUITE_P(
    Colours, BridgeStatus,
    ::testing::Values(
        StatusCase{"Not Connected", StatusColour::Red, {255, 0, 0}, false, false},
        StatusCase{"ZORV v1.1 Connected and Listening", StatusColour::Green, {0, 128, 0}, true, false},
        StatusCase{"Waiting For Link On COM3", StatusColour::Blue, {0, 0, 255}, false, true},
        StatusCase{"Upload Failed on COM3", StatusColour::Red, {255, 0, 0}, true, true}));

TEST_F(Bridge, LampsStayLitUntilTheTimerTurnsThemGray) {
  bridge.RefreshStatus({"x", StatusColour::Green, 0, {}, true, true, {}, {}});
  bridge.RefreshStatus({"x", StatusColour::Green, 0, {}, false, false, {}, {}});
  EXPECT_EQ(StatusStrip::LampColour(strip.RXPanel()), QColor(255, 0, 0));
  EXPECT_EQ(StatusStrip::LampColour(strip.TXPanel()), QColor(255, 0, 0));
}

// A driver that refused low latency is named in the status tooltip; a port failure's cause and
// fix take the tooltip when there is one.
TEST_F(Bridge, PortNoteIsTheTooltipUnlessThePortFailed) {
  const std::string note = "The adapter's driver refused low latency";
  bridge.RefreshStatus({"ZORV v1.1 Connected and Listening", StatusColour::Green, 0, {}, false,
                        false, note, {}});
  EXPECT_EQ(strip.ConnectedPanel()->toolTip().toStdString(), note);
  bridge.RefreshStatus({"COM Port Fail: Permission denied", StatusColour::Red, 0, {}, false,
                        false, note, {}});
  EXPECT_TRUE(strip.ConnectedPanel()->toolTip().startsWith("COM Port Fail: Permission denied"));
}

TEST_F(Bridge, LinkMessagesGoThroughThePromptsWithTheirKind) {
  prompts.ExpectMessage();
  prompts.ExpectMessage();
  bridge.ShowLinkError("This system has no firmware, please select firmware now.");
  bridge.ShowLinkInfo("Upload Successful");
  ASSERT_EQ(prompts.shown.size(), 2u);
  EXPECT_EQ(prompts.shown[0].kind, Prompts::Kind::Error);
  EXPECT_EQ(prompts.shown[0].text, "This system has no firmware, please select firmware now.");
  EXPECT_EQ(prompts.shown[1].kind, Prompts::Kind::Information);
  EXPECT_EQ(prompts.shown[1].text, "Upload Successful");
}

TEST_F(Bridge, ImageCopiesBothWaysAndABlankControllerGetsTheDefaults) {
  for (std::size_t i = 0; i < kImageSize; ++i) image[i] = static_cast<std::uint8_t>(i ^ 0x5A);
  // An upload carries the window's bytes as they are.
  EXPECT_EQ(bridge.Upload(image.bytes, 7).bytes, image.bytes);

  ImageBytes downloaded{};
  for (std::size_t i = 0; i < kImageSize; ++i) downloaded[i] = static_cast<std::uint8_t>(255 - i);
  downloaded[33] = 3;
  bridge.StoreBufferToImage(downloaded, 256);
  EXPECT_EQ(image.bytes, downloaded);

  downloaded[33] = 255;
  trims = {40, 50};
  bridge.StoreBufferToImage(downloaded, 256);
  SettingsImage defaults;
  GlobalTrimPair defaultTrims;
  LoadDefaultImage(defaults, defaultTrims);
  EXPECT_EQ(image, defaults);
  EXPECT_EQ(trims, defaultTrims);
}

TEST_F(Bridge, FirmwareDialogTitleStartAndFilter) {
  QTemporaryDir dir;
  const QString file = MakeFile(dir, "zorv.hex", ":00000001FF\n");

  prompts.ExpectOpenFile(file);
  EXPECT_EQ(bridge.SelectFirmwareFile(), file.toStdString());
  const auto& shown = prompts.shown.back();
  EXPECT_EQ(shown.title, "Select Zorv Firmware File");
  EXPECT_EQ(shown.initial, QCoreApplication::applicationDirPath() + "/*.hex");
  EXPECT_EQ(shown.text, "ATMega16 CPU files (*.hex *.HEX)");
}

TEST(FirmwareChoice, OnlyAnExistingFileWithoutWildcardsIsAccepted) {
  QTemporaryDir dir;
  const QString file = MakeFile(dir, "zorv.hex");
  struct Case {
    QString chosen;
    bool accepted;
  };
  const std::vector<Case> cases = {{file, true},
                                   {QString(), false},
                                   {dir.filePath("missing.hex"), false},
                                   {dir.filePath("*.hex"), false},
                                   {dir.filePath("zorv?.hex"), false},
                                   // Passed on, so the HEX reader names it as a folder.
                                   {dir.path(), true}};
  for (const Case& c : cases) {
    EXPECT_EQ(AcceptedFirmwareFile(c.chosen), c.accepted ? c.chosen.toStdString() : std::string())
        << c.chosen.toStdString();
  }
}

TEST(FirmwareChoice, WildcardInTheNameOfAnExistingFileIsRefused) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows names no file with '?' or '*' in it";
#endif
  QTemporaryDir dir;
  const QString file = MakeFile(dir, "what?.hex");
  ASSERT_TRUE(QFile::exists(file));
  EXPECT_EQ(AcceptedFirmwareFile(file), std::string());
}

}  // namespace
}  // namespace zorv::test
