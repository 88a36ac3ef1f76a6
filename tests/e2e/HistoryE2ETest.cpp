// Every kind of history event, recorded from the real window against zorv-sim, and unsent edits
// that a download replaced, restored from the history byte for byte.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <algorithm>

#include "history/HistoryStore.h"
#include "tests/e2e/WindowHarness.h"
#include "ui/history/HistoryWindow.h"

namespace zorv::test {
namespace {

using history::EventKind;

TEST(HistoryE2E, EveryKindIsRecordedAndUnsentEditsComeBack) {
  WindowHarness h{Where::InProcess};
  ASSERT_TRUE(h.StartActive({"--product", "g"})) << h.controller.Output();

  // The technician names the truck once.
  auto* truck = h.Find<QLineEdit>("TruckLabelEdit");
  truck->setFocus(Qt::TabFocusReason);
  QTest::keyClicks(truck, "Unit 42");
  QTest::keyClick(truck, Qt::Key_Return);

  // An edit, not sent; then Get Cal replaces it with the controller's image.
  h.Find<QScrollBar>("plowupminbar")->setValue(200);
  const ImageBytes edited = h.form->Image().bytes;
  ASSERT_TRUE(h.form->isWindowModified());
  h.prompts.ExpectMessage();
  h.Find<QAction>("GetCalibration1")->trigger();
  ASSERT_TRUE(WaitUntil([&] { return h.prompts.AllUsed(); }, 20000));
  EXPECT_NE(h.form->Image().bytes, edited);
  EXPECT_EQ(h.Find<QLabel>("HistoryLine")->text(), "Unsent edits kept in the history");

  const QString saved = QString::fromStdString(h.files.File("unit42.joy"));
  h.prompts.ExpectSaveFile(saved);
  h.Find<QAction>("Save1")->trigger();
  h.prompts.ExpectOpenFile(saved);
  h.Find<QAction>("Open1")->trigger();
  const QString json = QString::fromStdString(h.files.File("unit42.json"));
  h.prompts.ExpectSaveFile(json);
  h.Find<QAction>("Export1")->trigger();
  h.prompts.ExpectOpenFile(json);
  h.Find<QAction>("Open1")->trigger();
  ASSERT_TRUE(h.SendCal());

  // The history window: the replaced image, restored into the window.
  h.prompts.ExpectModal([](QDialog& dialog) {
    auto& window = static_cast<HistoryWindow&>(dialog);
    auto* kind = window.findChild<QComboBox*>("KindFilter");
    const int index = kind->findText("Replaced while holding unsent edits");
    kind->setCurrentIndex(index);
    emit kind->activated(index);
    EXPECT_EQ(window.RowCount(), 1);
    window.SelectRows({0});
    window.findChild<QPushButton*>("RestoreButton")->click();
    return window.result();
  });
  QTest::keyClick(h.form.get(), Qt::Key_H, Qt::ControlModifier);
  ASSERT_TRUE(h.prompts.AllUsed());
  EXPECT_EQ(h.form->Image().bytes, edited) << "the restored image is the edited one";
  EXPECT_TRUE(h.form->isWindowModified()) << "restored, not sent: the user sends it";

  // A verified upgrade's notice, as the link posts it.
  JobFinishedEvent installed;
  installed.job = JobKind::Upgrade;
  installed.result = JobResult::Done;
  installed.text = "Upload completed and verified!";
  installed.crcs = FirmwareCrcs{0x1234ABCD, 0x5678EF01};
  h.prompts.ExpectMessage();
  PostLinkEvent(installed, 0);
  ASSERT_TRUE(WaitUntil([&] { return h.HistoryEvents().size() >= 9; }, 5000));

  const std::vector<history::Event> events = h.HistoryEvents();
  struct Expected {
    EventKind kind;
    QString file;
  } expected[] = {{EventKind::Downloaded, {}},   {EventKind::ReplacedUnsent, {}},
                  {EventKind::Downloaded, {}},   {EventKind::FileSaved, saved},
                  {EventKind::FileOpened, saved}, {EventKind::JsonImported, json},
                  {EventKind::Uploaded, {}},     {EventKind::Restored, {}},
                  {EventKind::FirmwareInstalled, {}}};
  ASSERT_EQ(events.size(), std::size(expected));
  for (std::size_t i = 0; i < events.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(events[i].kind, expected[i].kind) << history::KindText(events[i].kind).toStdString();
    EXPECT_EQ(events[i].filePath, expected[i].file);
    EXPECT_EQ(events[i].product, "Zorv");
    EXPECT_EQ(events[i].truck, i == 0 ? "" : "Unit 42");
    EXPECT_FALSE(events[i].linkText.isEmpty());
    EXPECT_EQ(events[i].id.size(), 36);
  }
  EXPECT_EQ(events[1].image, edited);
  EXPECT_EQ(events[7].image, edited);
}

}  // namespace
}  // namespace zorv::test
