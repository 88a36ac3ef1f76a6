// "&Upgrade Firmware" from the main window's menu, end to end: the real window, the real link
// thread on a pseudo-terminal, zorv-sim as the controller and its boot loader, and the user's
// answers scripted (the firmware file dialog, the boxes).
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QThread>
#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "app/LinkNotice.h"
#include "app/ProductionLink.h"
#include "app/StatusStrip.h"
#include "app/ZorvForm.h"
#include "link/Clock.h"
#include "link/FlashImage.h"
#include "link/HexReader.h"
#include "link/PortNames.h"
#include "tests/host/PrivateSettings.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/SimProcess.h"
#include "tests/support/TempFolder.h"

namespace zorv {
namespace {

using test::ScriptedPrompts;
using test::TempFolder;

constexpr int kAliasPort = 201;

std::vector<std::uint8_t> ReadBytes(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs the window's events until `done` holds or `timeoutMs` pass; `watch` sees every turn.
bool RunUntil(const std::function<bool()>& done, int timeoutMs,
              const std::function<void()>& watch = {}) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > timeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    if (watch) watch();
    QThread::msleep(1);
  }
  return true;
}

enum class FileKind { Good, Bad, Cancelled };

struct UpgradeRow {
  const char* name;
  QStringList simArguments;
  FileKind file;
  const char* finalBox;            // "" when no box ends it
  Prompts::Kind boxKind;
  const char* finalStatus;         // "" for the HEX reader's own text
  QColor statusColour;
  bool flashHoldsTheFirmware;
};

class UpgradeFromTheWindow : public ::testing::TestWithParam<UpgradeRow> {
 protected:
  void TearDown() override {
    form.reset();  // stops the link before the simulator goes
    hook.reset();
  }

  // Random bytes as a HEX file made by the binutils.
  std::vector<std::uint8_t> MakeFirmware(std::size_t size, const std::string& hex) {
    std::mt19937 random(20261207);
    std::vector<std::uint8_t> bytes(size);
    for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
    const std::string bin = files.Write("firmware.bin", std::string(bytes.begin(), bytes.end()));
    EXPECT_EQ(QProcess::execute("objcopy", {"-I", "binary", "-O", "ihex", QString::fromStdString(bin),
                                            QString::fromStdString(hex)}),
              0);
    return bytes;
  }

  StatusStrip& Strip() { return *form->findChild<StatusStrip*>("BottomPanel"); }

  test::PrivateSettings settings;
  TempFolder files;
  ScriptedPrompts prompts;
  SteadyClock clock;
  zorvtest::SimProcess sim;
  std::unique_ptr<MessageHook> hook;
  std::unique_ptr<TZorvForm> form;
};

TEST_P(UpgradeFromTheWindow, MenuDrivesTheWholeUpgrade) {
  const UpgradeRow& row = GetParam();
  const std::string flashFile = files.File("flash.bin");
  const std::string hex = files.File("firmware.hex");
  std::vector<std::uint8_t> firmware;
  if (row.file == FileKind::Bad) {
    files.Write("firmware.hex", ":10000000000102030405060708090A0B0C0D0E0F77\n:00000001FF\n");
  } else {
    firmware = MakeFirmware(3000, hex);
  }

  const QString port = sim.Start(QStringList{"--fast", "--save-flash", QString::fromStdString(flashFile)} +
                                 row.simArguments);
  ASSERT_FALSE(port.isEmpty()) << sim.Output().toStdString();
  SetPortAlias(kAliasPort, port.toStdString());
  test::PrivateSettings::Store("COM Port", QString::number(kAliasPort));

  auto startLink = [this](int n) { return StartProductionLink(*form, n); };
  form = std::make_unique<TZorvForm>(prompts, clock, startLink);
  hook = std::make_unique<MessageHook>([this](std::uint8_t code, std::uint8_t value, std::uint64_t source) {
    form->LinkNotice(code, value, source);
  });
  prompts.ExpectModal([](QDialog&) { return QDialog::Accepted; });  // the about window
  prompts.ExpectMessage();                                           // the first download
  form->FormCreate();
  ASSERT_TRUE(RunUntil([&] { return prompts.MessageTexts().size() == 1; }, 20000))
      << sim.Output().toStdString();
  ASSERT_EQ(prompts.MessageTexts()[0], "Download Successful!");
  ASSERT_TRUE(RunUntil([&] { return form->Link()->State() == LinkState::ConnectedIdle; }, 10000));
  const int linesBefore = sim.LineCount();

  prompts.ExpectOpenFile(row.file == FileKind::Cancelled ? QString() : QString::fromStdString(hex));
  if (*row.finalBox != '\0') prompts.ExpectMessage();
  form->findChild<QAction*>("UpgradeFirmware1")->trigger();

  // Everything the status strip shows on the way, as the user would see it.
  QLabel* panel = Strip().ConnectedPanel();
  QStringList statusTexts;
  int highestProgress = 0;
  const auto watch = [&] {
    if (statusTexts.isEmpty() || statusTexts.back() != panel->text()) statusTexts << panel->text();
    highestProgress = std::max(highestProgress, Strip().ProgressGauge()->value());
  };
  const auto finished = [&] {
    if (*row.finalBox != '\0') return prompts.MessageTexts().size() == 2;
    return form->Link()->State() == LinkState::ConnectedIdle && prompts.AllUsed() && statusTexts.size() > 1;
  };
  ASSERT_TRUE(RunUntil(finished, 90000, watch))
      << statusTexts.join(" | ").toStdString() << "\n" << sim.Output().toStdString();
  // Let the last status refresh arrive.
  RunUntil([] { return false; }, 400, watch);

  // The firmware dialog.
  const auto dialog = std::find_if(prompts.shown.begin(), prompts.shown.end(), [](const auto& s) {
    return s.call == ScriptedPrompts::Call::OpenFile;
  });
  ASSERT_NE(dialog, prompts.shown.end());
  EXPECT_EQ(dialog->title, "Select Zorv Firmware File");
  EXPECT_EQ(dialog->text, "ATMega16 CPU files (*.hex *.HEX)");
  EXPECT_EQ(dialog->initial, QCoreApplication::applicationDirPath() + "/*.hex");

  if (*row.finalBox != '\0') {
    EXPECT_EQ(prompts.MessageTexts().back().toStdString(), row.finalBox);
    EXPECT_EQ(prompts.shown.back().kind, row.boxKind);
    EXPECT_TRUE(statusTexts.contains("Sending update...")) << statusTexts.join(" | ").toStdString();
    EXPECT_TRUE(statusTexts.contains("Verifying flash...")) << statusTexts.join(" | ").toStdString();
    EXPECT_TRUE(statusTexts.contains("Completed")) << statusTexts.join(" | ").toStdString();
    EXPECT_EQ(highestProgress, 100);
  } else {
    QString expected = row.finalStatus;
    if (row.file == FileKind::Bad) {
      FlashImage scratch;
      expected = QString::fromStdString(ReadHexFile(hex, scratch).error);
      ASSERT_FALSE(expected.isEmpty());
    }
    EXPECT_TRUE(statusTexts.contains(expected)) << statusTexts.join(" | ").toStdString();
    EXPECT_EQ(StatusStrip::PanelColour(panel), row.statusColour);
    // No boot frame reached the boot loader: nothing written, read back or refused.
    for (const QString& line : sim.Lines().mid(linesBefore)) {
      EXPECT_FALSE(line.contains("written") || line.contains("read back") ||
                   line.contains("refused") || line.contains("abandoned"))
          << line.toStdString();
    }
  }

  form.reset();
  ASSERT_EQ(sim.Stop(), 0);
  const auto flash = ReadBytes(flashFile);
  if (row.flashHoldsTheFirmware) {
    ASSERT_GE(flash.size(), firmware.size());
    EXPECT_TRUE(std::equal(firmware.begin(), firmware.end(), flash.begin()));
  } else if (!firmware.empty() && flash.size() >= firmware.size()) {
    EXPECT_FALSE(std::equal(firmware.begin(), firmware.end(), flash.begin()));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UpgradeFromTheWindow,
    ::testing::Values(
        UpgradeRow{"Verified", {"--chip", "ATmega32"}, FileKind::Good, "Upload completed and verified!",
                   Prompts::Kind::Information, "", QColor(0, 128, 0), true},
        UpgradeRow{"CorruptedFlash", {"--chip", "ATmega32", "--corrupt-flash", "0x0123"}, FileKind::Good,
                   "Contents of flash doesn't match file", Prompts::Kind::Error, "", QColor(0, 128, 0),
                   false},
        UpgradeRow{"BadHexFile", {"--chip", "ATmega32"}, FileKind::Bad, "", Prompts::Kind::Error, "",
                   QColor(255, 0, 0), false},
        UpgradeRow{"DialogCancelled", {"--chip", "ATmega32"}, FileKind::Cancelled, "",
                   Prompts::Kind::Error, "Error installing firmware", QColor(255, 0, 0), false}),
    [](const ::testing::TestParamInfo<UpgradeRow>& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace zorv
