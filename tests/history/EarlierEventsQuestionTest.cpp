// View > History register...: once a register is set, the question whether to send the events
// recorded before is a real message box, answered with real keys (and the close box). Only Yes
// marks them waiting; what Enter and Escape do is No, the safe answer.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/WindowHistory.h"
#include "history/HistoryStore.h"
#include "tests/support/DelegatingPrompts.h"
#include "tests/support/TempFolder.h"
#include "ui/QtPrompts.h"

namespace zorv::test {
namespace {

constexpr int kEarlier = 3;

// Real boxes for every question; the register dialog is filled as a user would and accepted.
class RegisterPrompts final : public DelegatingPrompts {
 public:
  using DelegatingPrompts::DelegatingPrompts;
  int ShowModal(QDialog& dialog) override {
    dialog.findChild<QLineEdit*>("RegisterHostEdit")->setText("127.0.0.1");
    dialog.findChild<QSpinBox*>("RegisterPortSpin")->setValue(1);  // nothing listens there
    dialog.findChild<QLineEdit*>("RegisterDatabaseEdit")->setText("zorvtrim");
    dialog.findChild<QLineEdit*>("RegisterUserEdit")->setText("laptop");
    return QDialog::Accepted;
  }
};

struct Seen {
  QString title;
  QString text;
  QString defaultButton;
};

struct KeyRow {
  const char* name;
  std::function<void(QMessageBox&)> answer;
  bool sent;
};

void PrintTo(const KeyRow& row, std::ostream* out) {
  *out << row.name;
}

// Keys go where the user's would: to the box's focused button.
void Press(QMessageBox& box, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QWidget* focused = QApplication::focusWidget();
  QTest::keyClick(focused != nullptr && box.isAncestorOf(focused) ? focused : &box, key, modifiers);
}

class EarlierEventsQuestionTest : public ::testing::TestWithParam<KeyRow> {
 protected:
  void SetUp() override {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(settings.Path().string()));
  }
  void TearDown() override { WriteRegisterAddress({}); }
  TempFolder settings;
  TempFolder folder;
};

TEST_P(EarlierEventsQuestionTest, OnlyYesSendsTheEarlierEvents) {
  const KeyRow& row = GetParam();
  const QString file = QString::fromStdString(folder.File("history.sqlite"));
  QMainWindow window;
  QtPrompts real(&window);
  RegisterPrompts prompts(real);
  Seen seen;
  {
    WindowHistory history(window, {[] { return ImageBytes{}; }, [] { return std::uint8_t{0}; }});
    history.Start(file);
    for (int i = 0; i < kEarlier; ++i) history.Record(history::EventKind::Downloaded);
    ASSERT_TRUE(history.Recorder()->Flush(5000));
    window.show();

    bool answered = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr || answered) return;
      answered = true;
      seen = {box->windowTitle(), box->text(),
              box->defaultButton() ? box->defaultButton()->text() : QString()};
      // The box has the keyboard, as on a desktop (its mnemonics need an active window).
      box->activateWindow();
      EXPECT_TRUE(QTest::qWaitForWindowActive(box, 2000));
      row.answer(*box);
    });
    poll.start(20);
    QTimer::singleShot(10000, [&] {  // a box nobody answers must not hang the run
      if (auto* box = QApplication::activeModalWidget()) box->close();
    });
    history.RunRegisterDialog(prompts);
    EXPECT_TRUE(answered) << "no question was asked";
  }
  EXPECT_EQ(seen.title, "History Register");
  EXPECT_EQ(seen.text, QString::number(kEarlier) +
                           " event(s) recorded on this laptop are not waiting for a register. "
                           "Send them to this register too?");
  EXPECT_EQ(seen.defaultButton.remove('&'), "No");
  history::HistoryStore store(file);
  ASSERT_NE(store.OpenForReading().mode, history::StoreMode::Closed);
  EXPECT_EQ(store.Count(), kEarlier);
  EXPECT_EQ(store.UnsentCount(), row.sent ? kEarlier : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, EarlierEventsQuestionTest,
    ::testing::Values(
        KeyRow{"EnterTakesTheDefaultNo", [](QMessageBox& box) { Press(box, Qt::Key_Return); },
               false},
        KeyRow{"EscapeIsNo", [](QMessageBox& box) { Press(box, Qt::Key_Escape); }, false},
        KeyRow{"AltYIsYes", [](QMessageBox& box) { Press(box, Qt::Key_Y, Qt::AltModifier); }, true},
        KeyRow{"AltNIsNo", [](QMessageBox& box) { Press(box, Qt::Key_N, Qt::AltModifier); }, false},
        KeyRow{"TabToYesThenSpace",
               [](QMessageBox& box) {
                 Press(box, Qt::Key_Tab);
                 Press(box, Qt::Key_Space);
               },
               true},
        KeyRow{"CloseBoxIsNo", [](QMessageBox& box) { box.close(); }, false}));

}  // namespace
}  // namespace zorv::test
