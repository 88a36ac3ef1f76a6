// Firmware from the main window's menu, end to end: the real window, the real link thread,
// zorv-sim's controller and boot loader, and the user's answers scripted (the file dialogs, the
// check before writing, the boxes). What must hold: no failure reported as success, a program
// only started when it is intact, and every failure readable in the status panel until 5 s after
// its box was closed. Most cases run the simulator's core in process on the link's own time;
// the cases marked `RealPort` run the program zorv-sim on a pseudo-terminal in real time.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSqlQuery>
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
#include "history/HistoryStore.h"
#include "image/SwitchFile.h"
#include "link/FirmwareJob.h"
#include "link/Clock.h"
#include "link/PortNames.h"
#include "link/TCOMThread.h"
#include "tests/e2e/InProcessLink.h"
#include "tests/host/PrivateSettings.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TempFolder.h"

namespace zorv {
namespace {

using test::ScriptedPrompts;
using test::TempFolder;

constexpr int kAliasPort = 201;
constexpr const char* kIncomplete = "Firmware incomplete: upgrade again before using the truck";
constexpr const char* kConnected = "ZORV v1.1 Connected and Listening";
const QColor kRed(255, 0, 0);
const QColor kGreen(0, 128, 0);

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

class FirmwareWindow : public ::testing::Test {
 protected:
  void TearDown() override {
    form.reset();  // stops the link before the simulator goes
    hook.reset();
  }

  // The controller and the window on it. Without a program the controller starts in its boot
  // loader: no first download then.
  void Start(const QStringList& simArguments, bool firstDownload = true,
             test::Where where = test::Where::InProcess) {
    data_.reset(new TempFolder);
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(data_->Path().string()));
    const QString port = sim.Start(simArguments, where, files.Path().string());
    ASSERT_FALSE(port.isEmpty()) << sim.Output();
    SetPortAlias(kAliasPort, port.toStdString());
    LinkFactory links = [](int n) { return StartProductionLink(n); };
    if (test::SharedSim* inProcess = sim.InProcess()) {
      links = [inProcess](int n) { return std::make_unique<test::InProcessLink>(*inProcess, n); };
    }
    test::PrivateSettings::Store("COM Port", QString::number(kAliasPort));
    form = std::make_unique<TZorvForm>(prompts, clock, links);
    hook = std::make_unique<MessageHook>(
        [this](const LinkEvent& event, std::uint64_t source) {
          form->OnLinkEvent(event, source);
        });
    prompts.ExpectModal([](QDialog&) { return QDialog::Accepted; });  // the about window
    if (firstDownload) prompts.ExpectMessage();                       // "Download Successful!"
    form->FormCreate();
    if (firstDownload) {
      ASSERT_TRUE(RunUntil([&] { return prompts.AllUsed() && Idle(); }, 20000)) << sim.Output();
    }
  }

  // The window closed (its link starts an intact program on the way), then the controller's
  // flash and settings memory.
  std::vector<std::uint8_t> FlashAtTheEnd() {
    form.reset();
    return sim.Flash();
  }
  SettingsImage MemoryAtTheEnd() {
    form.reset();
    return sim.Memory();
  }

  // Random bytes as a HEX file made by the binutils.
  std::vector<std::uint8_t> MakeFirmware(std::size_t size) {
    std::mt19937 random(20261207);
    std::vector<std::uint8_t> bytes(size);
    for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
    const std::string bin = files.Write("firmware.bin", std::string(bytes.begin(), bytes.end()));
    EXPECT_EQ(QProcess::execute("objcopy", {"-I", "binary", "-O", "ihex", QString::fromStdString(bin),
                                            QString::fromStdString(Hex())}),
              0);
    return bytes;
  }

  bool Idle() const { return form->Link() && form->Link()->State() == LinkState::ConnectedIdle; }
  LinkState State() const { return form->Link()->State(); }
  StatusStrip& Strip() { return *form->findChild<StatusStrip*>("BottomPanel"); }
  QString Panel() { return Strip().ConnectedPanel()->text(); }
  QColor PanelColour() { return StatusStrip::PanelColour(Strip().ConnectedPanel()); }
  void Trigger(const char* action) { form->findChild<QAction*>(action)->trigger(); }
  std::string Hex() const { return files.File("firmware.hex"); }
  // Simulator lines since `from` that mention `what`.
  int SimLines(const QString& what, int from) { return sim.Count(what, from); }
  // Events for `ms`, recording when the panel last showed `text` in red.
  qint64 RunWatching(int ms, const QString& text, QElapsedTimer& since) {
    qint64 lastSeen = -1;
    RunUntil([] { return false; }, ms, [&] {
      if (Panel() == text && PanelColour() == kRed) lastSeen = since.elapsed();
    });
    return lastSeen;
  }

  TempFolder files;
  test::PrivateSettings settings;
  ScriptedPrompts prompts;
  SteadyClock clock;
  test::TestController sim;  // outlives the window's links
  std::unique_ptr<MessageHook> hook;
  std::unique_ptr<TZorvForm> form;

 private:
  std::unique_ptr<TempFolder> data_;
};

// ---- Files refused, dialogs cancelled: nothing written, the program starts again ----------

enum class Pick { Cancel, File, CancelCheck };

struct RefusedRow {
  const char* name;
  Pick pick;
  std::string content;  // the HEX file the user picks
  const char* text;     // in red, in the box, and (when `watched`) 5 s after it
  // The text timed in real time, the box up 1.5 s and the panel 5 s after it: the same window
  // code for every text, so once per road (cancelled, refused file). The reader's texts for
  // each file are also its own unit table's.
  bool watched = false;
  test::Where where = test::Where::InProcess;
};

void PrintTo(const RefusedRow& row, std::ostream* os) { *os << row.name; }

class RefusedFirmware : public FirmwareWindow, public ::testing::WithParamInterface<RefusedRow> {};

TEST_P(RefusedFirmware, WritesNothingAndTheProgramComesBackByItself) {
  const RefusedRow& row = GetParam();
  Start({"--fast"}, true, row.where);
  if (row.pick == Pick::CancelCheck) {
    MakeFirmware(600);
  } else {
    files.Write("firmware.hex", row.content);
  }
  const int linesBefore = sim.LineCount();

  QElapsedTimer since;
  qint64 appeared = -1;
  qint64 closed = -1;
  prompts.ExpectOpenFile(row.pick == Pick::Cancel ? QString() : QString::fromStdString(Hex()));
  if (row.pick == Pick::CancelCheck) prompts.ExpectChoice(1);
  prompts.ExpectMessage([&] {
    appeared = since.elapsed();
    EXPECT_EQ(Panel(), row.text);
    if (!row.watched) return;
    // The box stays up a while; the text behind it must not change. The link does not wait
    // for the box: nothing was written, so the intact program is started at once.
    RunUntil([] { return false; }, 1500);
    EXPECT_EQ(Panel(), row.text);
    EXPECT_GT(SimLines("program start requested", linesBefore), 0);
    closed = since.elapsed();
  });
  since.start();
  Trigger("UpgradeFirmware1");
  ASSERT_TRUE(RunUntil([&] { return prompts.AllUsed(); }, 20000)) << sim.Output();
  EXPECT_EQ(prompts.MessageTexts().back().toStdString(), row.text);
  EXPECT_EQ(prompts.shown.back().kind, Prompts::Kind::Error);
  if (row.watched) {
    EXPECT_GE(closed - appeared, 1500);
    // Readable for 5 s after the box closed, then the program is back, green, by itself.
    const qint64 lastSeen = RunWatching(6000, row.text, since);
    EXPECT_GE(lastSeen, closed + 4900) << "last seen " << lastSeen << " ms, box closed " << closed;
    EXPECT_TRUE(RunUntil([&] { return Idle() && Panel() == kConnected; }, 10000))
        << Panel().toStdString() << "\n" << sim.Output();
    EXPECT_EQ(PanelColour(), kGreen);
  } else {
    EXPECT_TRUE(RunUntil([&] { return Idle(); }, 10000)) << sim.Output();
  }
  // The boot loader saw no frame: nothing written, read back or refused.
  EXPECT_EQ(SimLines("program start requested", linesBefore), 1);
  for (const char* frame : {"written", "read back", "refused", "abandoned"}) {
    EXPECT_EQ(SimLines(frame, linesBefore), 0) << frame << "\n" << sim.Output();
  }
}

const std::string kEnd = ":00000001FF\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedFirmware,
    ::testing::Values(
        RefusedRow{"DialogCancelled", Pick::Cancel, "", "Error installing firmware", true,
                   test::Where::InProcessRealTime},
        RefusedRow{"CheckCancelled", Pick::CancelCheck, "", "Error installing firmware", true,
                   test::Where::InProcessRealTime},
        RefusedRow{"EmptyFile", Pick::File, "", "Error parsing file: no program data"},
        RefusedRow{"EndRecordOnly", Pick::File, kEnd, "Error parsing file: no program data"},
        RefusedRow{"SegmentBase", Pick::File, ":020000021000EC\n:0100000055AA\n" + kEnd,
                   "Error parsing file: data above 64 KB"},
        RefusedRow{"LinearBase", Pick::File, ":020000040001F9\n:0100000055AA\n" + kEnd,
                   "Error parsing file: data above 64 KB"},
        RefusedRow{"PastFFFF", Pick::File, ":04FFFE0001020304F5\n" + kEnd,
                   "Error parsing file: data above 64 KB"},
        RefusedRow{"Checksum", Pick::File, ":0100000055AB\n" + kEnd,
                   "Error parsing file: checksum failed", true, test::Where::RealPort}),
    [](const auto& p) { return std::string(p.param.name); });

// ---- A run that wrote and failed: no 'R', held in the boot loader, Retry ------------------

TEST_F(FirmwareWindow, CorruptedFlashOffersRetryWithoutStartingTheProgram) {
  Start({"--fast", "--chip", "ATmega32", "--corrupt-flash-once", "0x0123"});
  const auto firmware = MakeFirmware(3000);
  const int linesBefore = sim.LineCount();
  int startsBeforeRetry = -1;
  prompts.ExpectOpenFile(QString::fromStdString(Hex()));
  prompts.ExpectChoice(0);  // "Write"
  prompts.ExpectChoice(0, [&] {
    startsBeforeRetry = SimLines("program start requested", linesBefore);
    EXPECT_EQ(Panel(), "Contents of flash doesn't match file");
    EXPECT_EQ(PanelColour(), kRed);
  });  // "Retry"
  prompts.ExpectMessage();  // "Upload completed and verified!"
  prompts.ExpectMessage();  // the new program's settings: "Download Successful!"
  Trigger("UpgradeFirmware1");
  ASSERT_TRUE(RunUntil([&] { return prompts.AllUsed(); }, 60000)) << sim.Output();

  std::vector<ScriptedPrompts::Shown> choices;
  std::copy_if(prompts.shown.begin(), prompts.shown.end(), std::back_inserter(choices),
               [](const auto& shown) { return shown.call == ScriptedPrompts::Call::Choose; });
  ASSERT_EQ(choices.size(), 2u);
  const auto& check = choices[0];
  EXPECT_EQ(check.initial, "Write|Cancel");
  EXPECT_TRUE(check.text.contains("Program data: 3000 bytes")) << check.text.toStdString();
  EXPECT_TRUE(check.text.contains("Pages to write: 24 of 128 bytes")) << check.text.toStdString();
  const auto& retry = choices[1];
  EXPECT_EQ(retry.initial, "Retry|Cancel");
  EXPECT_EQ(retry.text.toStdString(),
            std::string("Contents of flash doesn't match file\r\n\r\n") + kIncomplete);
  EXPECT_EQ(startsBeforeRetry, 0);
  const auto texts = prompts.MessageTexts();
  EXPECT_EQ(texts[texts.size() - 2], "Upload completed and verified!");
  EXPECT_EQ(texts.back(), "Download Successful!");
  EXPECT_EQ(SimLines("program start requested", linesBefore), 1);

  const auto flash = FlashAtTheEnd();
  ASSERT_GE(flash.size(), firmware.size());
  EXPECT_TRUE(std::equal(firmware.begin(), firmware.end(), flash.begin()));
}

TEST_F(FirmwareWindow, CancelledRetryHoldsTheControllerAcrossAReset) {
  Start({"--fast", "--corrupt-flash", "0x0050"}, true, test::Where::InProcessRealTime);
  MakeFirmware(1000);
  const int linesBefore = sim.LineCount();
  prompts.ExpectOpenFile(QString::fromStdString(Hex()));
  prompts.ExpectChoice(0);  // "Write"
  prompts.ExpectChoice(1);  // "Cancel" instead of Retry
  Trigger("UpgradeFirmware1");
  ASSERT_TRUE(RunUntil([&] { return prompts.AllUsed(); }, 60000)) << sim.Output();
  QElapsedTimer since;
  since.start();
  EXPECT_GE(RunWatching(6000, "Contents of flash doesn't match file", since), 4900);
  EXPECT_EQ(State(), LinkState::FirmwareHeld);
  EXPECT_EQ(Panel(), kIncomplete);
  EXPECT_EQ(PanelColour(), kRed);

  // Reset: the next link holds it too; the broken program never starts.
  form->findChild<QPushButton*>("ResetButton")->click();
  RunUntil([] { return false; }, 3000);
  EXPECT_EQ(State(), LinkState::FirmwareHeld);
  EXPECT_EQ(Panel(), kIncomplete);
  EXPECT_EQ(SimLines("program start requested", linesBefore), 0) << sim.Output();
}

TEST_F(FirmwareWindow, AControllerWithoutProgramStaysInItsBootLoader) {
  Start({"--fast", "--no-program"}, false);
  prompts.ExpectMessage();            // "This system has no firmware, please select..."
  prompts.ExpectOpenFile(QString());  // cancelled
  prompts.ExpectMessage();            // "Error installing firmware"
  ASSERT_TRUE(RunUntil([&] { return prompts.AllUsed(); }, 20000)) << sim.Output();
  const int linesAfter = sim.LineCount();
  RunUntil([] { return false; }, 6000);
  EXPECT_EQ(prompts.MessageTexts().back(), "Error installing firmware");
  EXPECT_EQ(State(), LinkState::FirmwareHeld);
  EXPECT_EQ(Panel(), "Error installing firmware");
  EXPECT_EQ(PanelColour(), kRed);
  EXPECT_EQ(SimLines("program start requested", linesAfter), 0) << sim.Output();
}

// ---- Reset during programming asks; No lets it finish -------------------------------------

TEST_F(FirmwareWindow, ResetDuringProgrammingAsksAndNoLetsItFinish) {
  Start({"--chip", "ATmega32"});  // wire time on: 24 pages take seconds
  const auto firmware = MakeFirmware(3000);
  prompts.ExpectOpenFile(QString::fromStdString(Hex()));
  prompts.ExpectChoice(0);       // "Write"
  prompts.ExpectConfirm(false);  // "Stop anyway?" No
  prompts.ExpectMessage();       // "Upload completed and verified!"
  prompts.ExpectMessage();       // "Download Successful!"
  Trigger("UpgradeFirmware1");
  QString progressText;
  ASSERT_TRUE(RunUntil([&] { return Panel() == "Sending update..." && State() == LinkState::Programming; },
                       30000));
  RunUntil([] { return false; }, 500, [&] {
    if (progressText.isEmpty()) progressText = Strip().ProgressGauge()->format();
  });
  form->findChild<QPushButton*>("ResetButton")->click();
  ASSERT_TRUE(RunUntil([&] { return prompts.AllUsed(); }, 90000)) << sim.Output();
  const auto question = std::find_if(prompts.shown.begin(), prompts.shown.end(), [](const auto& s) {
    return s.call == ScriptedPrompts::Call::Confirm;
  });
  ASSERT_NE(question, prompts.shown.end());
  EXPECT_EQ(question->text,
            "Firmware is being written. Stopping now leaves the controller without a working "
            "program. Stop anyway?");
  EXPECT_TRUE(progressText.startsWith("Writing, ")) << progressText.toStdString();
  EXPECT_TRUE(progressText.endsWith(" left")) << progressText.toStdString();
  const auto texts = prompts.MessageTexts();
  EXPECT_EQ(texts[texts.size() - 2], "Upload completed and verified!");
  const auto flash = FlashAtTheEnd();
  ASSERT_GE(flash.size(), firmware.size());
  EXPECT_TRUE(std::equal(firmware.begin(), firmware.end(), flash.begin()));
}

// ---- New firmware that blanks the settings: restore or keep -------------------------------

class SettingsAfterUpgrade : public FirmwareWindow, public ::testing::WithParamInterface<bool> {};

TEST_P(SettingsAfterUpgrade, OfferTheKeptSettingsBack) {
  const bool restore = GetParam();
  Start({"--fast", "--blank-after-flash"});
  const ImageBytes before = form->Image().bytes;
  MakeFirmware(500);
  prompts.ExpectOpenFile(QString::fromStdString(Hex()));
  prompts.ExpectChoice(0);                // "Write"
  prompts.ExpectMessage();                // "Upload completed and verified!"
  prompts.ExpectMessage();                // "Download Successful!" (blank: defaults shown)
  prompts.ExpectChoice(restore ? 0 : 1);  // "Restore settings" / "Keep controller's"
  if (restore) prompts.ExpectMessage();   // "Upload Successful!"
  Trigger("UpgradeFirmware1");
  ASSERT_TRUE(RunUntil([&] { return prompts.AllUsed(); }, 60000)) << sim.Output();
  if (restore) {
    ASSERT_EQ(prompts.MessageTexts().back(), "Upload Successful!");
  }
  const auto offer = std::find_if(prompts.shown.begin(), prompts.shown.end(), [](const auto& s) {
    return s.call == ScriptedPrompts::Call::Choose && s.title == "Settings changed";
  });
  ASSERT_NE(offer, prompts.shown.end());
  EXPECT_EQ(offer->initial, "Restore settings|Keep controller's");
  EXPECT_TRUE(offer->text.contains("settings-before-upgrade-")) << offer->text.toStdString();
  const QString offerText = offer->text;

  // The history holds the upgrade: the file, its CRC-32 and the boot loader's chip line.
  ASSERT_TRUE(form->History().Recorder()->Flush(5000));
  {
    history::HistoryStore store(form->History().Recorder()->File());
    ASSERT_NE(store.OpenForReading().mode, history::StoreMode::Closed);
    QSqlQuery list = store.ListQuery({std::nullopt, std::nullopt, history::EventKind::FirmwareInstalled});
    ASSERT_TRUE(list.next());
    const auto installed = store.Load(list.value(0).toString());
    ASSERT_TRUE(installed.has_value());
    EXPECT_EQ(installed->filePath, QString::fromStdString(Hex()));
    EXPECT_EQ(installed->chipLine, "ATmega16 BOOT");
    std::ifstream hex(Hex(), std::ios::binary);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(hex)),
                                          std::istreambuf_iterator<char>());
    EXPECT_EQ(installed->crc, Crc32(bytes.data(), bytes.size()));
  }

  const SettingsImage memory = MemoryAtTheEnd();
  if (restore) {
    // The kept bytes exactly as the controller sent them: the window's refresh repairs (the
    // float delay, bytes 149-160) are for the pages, never sent back.
    const QString keptText = offerText.section("(kept in ", 1).section(").", 0, 0);
    SettingsImage kept;
    ASSERT_TRUE(ReadSwitchFile(keptText.toStdString(), kept)) << keptText.toStdString();
    EXPECT_EQ(memory.bytes, kept.bytes);
    (void)before;
  } else {
    ImageBytes blank;
    blank.fill(255);
    EXPECT_EQ(memory.bytes, blank);
  }
}

INSTANTIATE_TEST_SUITE_P(Answers, SettingsAfterUpgrade, ::testing::Values(true, false),
                         [](const auto& p) { return std::string(p.param ? "Restore" : "Keep"); });

// ---- Read Firmware: every byte of the chip's flash, as objcopy reads it back --------------

TEST_F(FirmwareWindow, ReadFirmwareHoldsWhatTheFlashHolds) {
  Start({"--fast"}, true, test::Where::RealPort);
  MakeFirmware(2000);
  prompts.ExpectOpenFile(QString::fromStdString(Hex()));
  prompts.ExpectChoice(0);
  prompts.ExpectMessage();  // verified
  prompts.ExpectMessage();  // "Download Successful!"
  Trigger("UpgradeFirmware1");
  ASSERT_TRUE(RunUntil([&] { return prompts.AllUsed() && Idle(); }, 60000));

  const std::string read = files.File("read.hex");
  prompts.ExpectSaveFile(QString::fromStdString(read));
  prompts.ExpectMessage();
  Trigger("ReadFirmware1");
  ASSERT_TRUE(RunUntil([&] { return prompts.AllUsed(); }, 60000)) << sim.Output();
  EXPECT_EQ(prompts.MessageTexts().back().toStdString(),
            "Firmware read: 15360 bytes saved to " + read);
  ASSERT_TRUE(RunUntil([&] { return Idle(); }, 10000));  // the program runs again

  const std::string bin = files.File("read.bin");
  ASSERT_EQ(QProcess::execute("objcopy", {"-I", "ihex", "-O", "binary", QString::fromStdString(read),
                                          QString::fromStdString(bin)}),
            0);
  const auto flash = FlashAtTheEnd();
  const auto back = ReadBytes(bin);
  ASSERT_EQ(back.size(), 15360u);
  ASSERT_GE(flash.size(), back.size());
  EXPECT_TRUE(std::equal(back.begin(), back.end(), flash.begin()));
}

}  // namespace
}  // namespace zorv
