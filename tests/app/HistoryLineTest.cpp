// The history's line and the truck label in the real window: what the line says when the history
// works and when it failed, that the window's work goes on either way, and that the label
// survives a restart.
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <functional>

#include "app/WindowHistory.h"
#include "image/SwitchFile.h"
#include "tests/app/FormFixture.h"
#include "tests/support/TempFolder.h"

namespace zorv::test {
namespace {

struct LineRow {
  const char* name;
  // Prepares the data folder before the window starts; false: cannot here (skip).
  std::function<bool(const QString& folder)> prepare;
  const char* atStart;     // the line after start-up
  const char* afterOpen;   // the line after File > Open replaced unsent edits
};

void PrintTo(const LineRow& row, std::ostream* out) { *out << row.name; }

class HistoryLineTest : public FormFixture, public ::testing::WithParamInterface<LineRow> {
 protected:
  void SetUp() override {
    oldDataHome_ = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(data.Path().string()));
  }
  void TearDown() override {
    form.reset();
    std::system(("chattr -i '" + HistoryFolder().toStdString() + "' 2>/dev/null").c_str());
    qputenv("XDG_DATA_HOME", oldDataHome_);
  }
  QString HistoryFolder() const { return QFileInfo(HistoryFile()).absolutePath(); }
  QString Line() const { return Find<QLabel>("HistoryLine")->text(); }
  bool WaitForLine() {
    return WaitFor([&] { return !Line().isEmpty(); });
  }
  bool WaitFor(const std::function<bool()>& done) {
    for (int i = 0; i < 200 && !done(); ++i) {
      QApplication::processEvents();
      QThread::msleep(10);
    }
    return done();
  }

  TempFolder data;
  TempFolder files;
  QByteArray oldDataHome_;
};

TEST_P(HistoryLineTest, SaysWhatHappenedAndTheWindowGoesOn) {
  const LineRow& row = GetParam();
  ASSERT_TRUE(QDir().mkpath(HistoryFolder()));
  if (!row.prepare(HistoryFolder())) GTEST_SKIP() << "this machine cannot make the fault";
  MakeForm();
  form->History().Recorder()->Flush(3000);
  if (row.atStart[0] != '\0') {
    ASSERT_TRUE(WaitForLine());
  }
  if (row.atStart[0] == '\0') {
    EXPECT_TRUE(Line().isEmpty()) << Line().toStdString();
  } else {
    EXPECT_TRUE(Line().startsWith(row.atStart)) << Line().toStdString();
  }

  // Unsent edits, then a file replaces them: the file is loaded whatever the history did.
  SettingsImage file;
  file[40] = 7;
  const std::string path = files.File("other.joy");
  ASSERT_TRUE(WriteSwitchFile(path, file).ok);
  form->findChild<QScrollBar*>("plowupminbar")->setValue(200);
  prompts.ExpectOpenFile(QString::fromStdString(path));
  Action("Open1")->trigger();
  EXPECT_EQ(form->Image()[40], 7);
  EXPECT_TRUE(Line().startsWith(row.afterOpen)) << Line().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Lines, HistoryLineTest,
    ::testing::Values(
        LineRow{"Working", [](const QString&) { return true; }, "",
                "Unsent edits kept in the history"},
        LineRow{"DamagedFile",
                [](const QString& folder) {
                  QFile garbage(folder + "/history.sqlite");
                  return garbage.open(QIODevice::WriteOnly) &&
                         garbage.write(QByteArray(2048, 'x')) == 2048;
                },
                "History file was damaged: moved to history-damaged-",
                "Unsent edits kept in the history"},
        LineRow{"ReadOnlyFolder",
                [](const QString& folder) {
                  return std::system(("chattr +i '" + folder.toStdString() + "' 2>/dev/null")
                                         .c_str()) == 0;
                },
                "History off until the next start: ",
                "Unsent edits were replaced and NOT kept: History off until the next start"}),
    [](const ::testing::TestParamInfo<LineRow>& row) { return std::string(row.param.name); });

// View > "History register..." from the keyboard: typed into its dialog, stored in the settings,
// used from the next event on; an unreachable register then shows on the line, and the event is
// kept on this laptop.
TEST_F(HistoryLineTest, RegisterSetFromTheViewMenu) {
#ifdef _WIN32
  GTEST_SKIP() << "the Windows build has no register: HistoryRegisterMenuTest checks its menu";
#endif
  MakeForm();
  prompts.ExpectModal([](QDialog& dialog) {
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    QApplication::processEvents();
    auto* host = dialog.findChild<QLineEdit*>("RegisterHostEdit");
    EXPECT_TRUE(host != nullptr && host->hasFocus());
    if (host == nullptr) return int(QDialog::Rejected);
    QTest::keyClicks(host, "127.0.0.1");
    QTest::keyClick(host, Qt::Key_Tab);  // to the port
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(QApplication::focusWidget(), "1");  // nothing listens on port 1
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(QApplication::focusWidget(), "shop");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    return dialog.result();
  });
  form->show();
  QApplication::setActiveWindow(form.get());
  QApplication::processEvents();
  QTest::keyClick(form.get(), Qt::Key_V, Qt::AltModifier);
  ASSERT_TRUE(WaitFor([] { return QApplication::activePopupWidget() != nullptr; }));
  QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_R);
  ASSERT_TRUE(WaitFor([&] { return prompts.AllUsed(); }));

  const history::RegisterAddress stored = ReadRegisterAddress();
  EXPECT_EQ(stored.host, "127.0.0.1");
  EXPECT_EQ(stored.port, 1);
  EXPECT_EQ(stored.database, "shop");
  EXPECT_EQ(form->History().Recorder()->Register().Text(), stored.Text());

  form->History().Record(history::EventKind::FileSaved, "/tmp/a.joy");
  ASSERT_TRUE(WaitFor([&] { return Line() == history::kRegisterUnreachable; })) << Line().toStdString();
  EXPECT_TRUE(form->History().Recorder()->Flush(5000));
  EXPECT_EQ(form->History().Recorder()->Waiting(), 1);
}

TEST_F(FormFixture, TruckLabelSurvivesARestart) {
  MakeForm();
  auto* truck = Find<QLineEdit>("TruckLabelEdit");
  truck->setFocus();
  QTest::keyClicks(truck, "Unit 42");
  QTest::keyClick(truck, Qt::Key_Return);
  form.reset();
  MakeForm();
  EXPECT_EQ(Find<QLineEdit>("TruckLabelEdit")->text(), "Unit 42");
}

}  // namespace
}  // namespace zorv::test
