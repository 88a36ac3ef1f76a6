// zorv-sim's cable pulled (SIGUSR1: its pseudo-terminal closes and a new one opens) while the
// real window and link are idle, downloading or uploading; then plugged back: the alias, a
// symbolic link in the test's folder, is pointed at the new pseudo-terminal.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <csignal>
#include <string>

#include "app/StatusStrip.h"
#include "tests/e2e/WindowHarness.h"
#include "ui/widgets/MessageLine.h"

namespace zorv::test {
namespace {

struct UnplugCase {
  const char* name;
  const char* button;        // pressed before the unplug, or null to stay idle
  LinkState transfer;        // the state the press leads to
};

void PrintTo(const UnplugCase& c, std::ostream* os) { *os << c.name; }

class UnplugE2E : public ::testing::TestWithParam<UnplugCase> {};

TEST_P(UnplugE2E, SaysSoKeepsTheImageAndReopensWhenBack) {
  const UnplugCase& c = GetParam();
  WindowHarness h;
  h.aliasThroughLink = true;
  ASSERT_TRUE(h.Start({})) << h.sim.Output().toStdString();
  auto* panel = h.Find<QLabel>("ConnectedPanel");
  auto* gauge = h.Find<QProgressBar>("ProgressGauge");

  // An edit not yet sent: the cut transfer must neither overwrite nor lose it.
  h.form->Image().bytes[40] ^= 0x11;
  const ImageBytes edited = h.form->Image().bytes;
  const std::size_t messages = h.prompts.MessageTexts().size();
  if (c.button != nullptr) {
    h.Find<QAbstractButton>(c.button)->click();
    ASSERT_TRUE(WaitUntil(
        [&] { return h.form->Link()->State() == c.transfer && gauge->value() >= 10; }, 10000));
  }

  const int from = h.sim.LineCount();
  ASSERT_TRUE(h.sim.Signal(SIGUSR1));
  const auto line = WaitForSimLine(h.sim, "port: ", 5000, from);
  ASSERT_TRUE(line.has_value()) << h.sim.Output().toStdString();
  const QString newPort = line->mid(line->indexOf("port: ") + 6).trimmed();
  // The node goes with the cable, as udev removes an unplugged adapter's: the old
  // pseudo-terminal's number is free at once and may already serve another test's simulator.
  QFile::remove(QString::fromStdString(h.LinkPath()));

  ASSERT_TRUE(WaitUntil([&] { return panel->text() == "Adapter unplugged from COM200"; }, 5000))
      << panel->text().toStdString();
  EXPECT_EQ(StatusStrip::PanelColour(panel), QColor(255, 0, 0));
  EXPECT_EQ(h.form->Image().bytes, edited);
  EXPECT_EQ(h.prompts.MessageTexts().size(), messages);  // no success, no failure box

  // A request meanwhile goes nowhere, and the message line says why.
  h.Find<QAbstractButton>("UploadButton")->click();
  EXPECT_EQ(h.Find<MessageLine>("MessageLine")->text(), "Not sent: the adapter is unplugged");
  // Gone, it stays unplugged: nothing reopens what is not there.
  WaitUntil([] { return false; }, 1500);
  EXPECT_EQ(panel->text(), "Adapter unplugged from COM200");
  EXPECT_EQ(h.form->Image().bytes, edited);

  // Back through the same alias: a new link opens and downloads by itself.
  h.prompts.ExpectMessage();  // "Download Successful!"
  ASSERT_TRUE(h.PointLinkAt(newPort));
  ASSERT_TRUE(WaitUntil([&] { return h.prompts.AllUsed() && h.LinkIdle(); }, 20000))
      << panel->text().toStdString();
  EXPECT_EQ(h.prompts.MessageTexts().back(), "Download Successful!");
  EXPECT_TRUE(WaitUntil([&] { return panel->text().endsWith("Connected and Listening"); }, 3000))
      << panel->text().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Moments, UnplugE2E,
    ::testing::Values(UnplugCase{"idle", nullptr, LinkState::ConnectedIdle},
                      UnplugCase{"during_download", "DownloadButton", LinkState::Download},
                      UnplugCase{"during_upload", "UploadButton", LinkState::Upload}),
    [](const auto& row) { return std::string(row.param.name); });

// A quick re-plug, as udev makes it: the alias names the new device within a second of the
// pull, before anything could see it missing. The open device itself tells the unplug (its
// hang-up), so the panel says it and the link comes back by itself.
struct QuickReplug {
  const char* name;
  int backAfterMs;
};

void PrintTo(const QuickReplug& row, std::ostream* os) { *os << row.name; }

class QuickReplugE2E : public ::testing::TestWithParam<QuickReplug> {};

TEST_P(QuickReplugE2E, SaysUnpluggedThenComesBackGreen) {
  WindowHarness h;
  h.aliasThroughLink = true;
  ASSERT_TRUE(h.Start({})) << h.sim.Output().toStdString();
  auto* panel = h.Find<QLabel>("ConnectedPanel");

  const int from = h.sim.LineCount();
  ASSERT_TRUE(h.sim.Signal(SIGUSR1));
  const auto line = WaitForSimLine(h.sim, "port: ", 5000, from);
  ASSERT_TRUE(line.has_value()) << h.sim.Output().toStdString();
  const QString newPort = line->mid(line->indexOf("port: ") + 6).trimmed();
  bool sawUnplugged = false;
  const auto watch = [&] {
    sawUnplugged = sawUnplugged || panel->text() == "Adapter unplugged from COM200";
    return false;
  };
  WaitUntil(watch, GetParam().backAfterMs);
  h.prompts.ExpectMessage();  // "Download Successful!" of the new link
  ASSERT_TRUE(h.PointLinkAt(newPort));

  ASSERT_TRUE(WaitUntil([&] { watch(); return h.prompts.AllUsed() && h.LinkIdle(); }, 15000))
      << panel->text().toStdString();
  EXPECT_TRUE(sawUnplugged);
  EXPECT_EQ(h.prompts.MessageTexts().back(), "Download Successful!");
  EXPECT_TRUE(WaitUntil([&] { return panel->text().endsWith("Connected and Listening"); }, 3000))
      << panel->text().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Delays, QuickReplugE2E,
                         ::testing::Values(QuickReplug{"Within100ms", 100},
                                           QuickReplug{"Within1s", 1000}),
                         [](const auto& row) { return std::string(row.param.name); });

// The re-plug happens while the "Download Successful!" box of the previous download is still
// open: the link comes back green under the box, not only after OK.
TEST(ReplugUnderABox, ComesBackWhileTheBoxIsOpen) {
  WindowHarness h;
  h.aliasThroughLink = true;
  ASSERT_TRUE(h.Start({})) << h.sim.Output().toStdString();
  auto* panel = h.Find<QLabel>("ConnectedPanel");
  bool sawUnplugged = false;
  bool greenUnderTheBox = false;
  h.prompts.ExpectMessage([&] {
    const int from = h.sim.LineCount();
    ASSERT_TRUE(h.sim.Signal(SIGUSR1));
    const auto line = WaitForSimLine(h.sim, "port: ", 5000, from);
    ASSERT_TRUE(line.has_value());
    WaitUntil([&] { return sawUnplugged = panel->text() == "Adapter unplugged from COM200"; }, 3000);
    ASSERT_TRUE(h.PointLinkAt(line->mid(line->indexOf("port: ") + 6).trimmed()));
    greenUnderTheBox = WaitUntil([&] {
      return h.LinkIdle() && panel->text().endsWith("Connected and Listening");
    }, 10000);
  });
  h.prompts.ExpectMessage();  // the new link's own "Download Successful!", after OK
  h.Find<QAbstractButton>("DownloadButton")->click();
  ASSERT_TRUE(WaitUntil([&] { return h.prompts.AllUsed(); }, 30000)) << panel->text().toStdString();
  EXPECT_TRUE(sawUnplugged);
  EXPECT_TRUE(greenUnderTheBox) << panel->text().toStdString();
}

}  // namespace
}  // namespace zorv::test
