// Edits and downloads never silently lost, tried through the real window as a user would:
// real focus changes, a real message box taking the focus, real key presses.
#include <gtest/gtest.h>

#include <QApplication>
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <functional>
#include <memory>

#include "app/ZorvForm.h"
#include "image/SwitchFile.h"
#include "image/TextFields.h"
#include "image/ZorvLayout.h"
#include "tests/app/FakeLink.h"
#include "tests/host/PrivateSettings.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FocusTakingPrompts.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/app/NoticeEvents.h"
#include "tests/support/TempFolder.h"
#include "ui/pages/trims/TestButton.h"
#include "ui/widgets/SpinEdit.h"

namespace zorv::test {
namespace {

class NeverLostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<TZorvForm>(focusPrompts, clock, FakeLinkFactory(links), ports);
    prompts.ExpectModal([](QDialog&) { return QDialog::Accepted; });
    form->FormCreate();
    form->show();
    Activate(form.get());
  }

  template <typename T>
  T* Find(const QString& name) const {
    T* widget = form->findChild<T*>(name);
    EXPECT_NE(widget, nullptr) << name.toStdString();
    return widget;
  }

  // Shows the page that holds `box`: its product, its Zorv tab.
  void ShowPageOf(QWidget* box, std::uint8_t product, int tab) {
    form->SetProductCode(product);
    form->RefreshControls(1);
    if (tab == zorvtab::kFloatModes) prompts.ExpectQuery(QString("pralt"));
    if (tab >= 0) {
      QTabBar* bar = Find<QTabWidget>("TabbedNotebook1")->tabBar();
      QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab).center());
    }
    // The sheet of a product page's notebook that holds the box.
    for (QWidget* w = box; w != nullptr && w != form.get(); w = w->parentWidget()) {
      QWidget* stack = w->parentWidget();
      auto* tabs = stack != nullptr ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr;
      if (tabs != nullptr && tabs->objectName() != "TabbedNotebook1" && tabs->indexOf(w) >= 0) {
        tabs->setCurrentWidget(w);
      }
    }
    QApplication::processEvents();
    ASSERT_TRUE(box->isVisible()) << box->objectName().toStdString();
  }

  // A downloaded image, as the message hook passes the link's event.
  void Download(const std::function<void(SettingsImage&)>& controller) {
    SettingsImage sent = form->Image();
    controller(sent);
    prompts.ExpectMessage();
    form->OnLinkEvent(EventFor(2, 0, sent.bytes), 0);
    Activate(form.get());
  }

  static void Type(QWidget* box, const char* text) {
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box, text);
  }

  PrivateSettings settings;
  ScriptedPrompts prompts;
  FocusTakingPrompts focusPrompts{prompts};
  FakeClock clock{1000};
  LinkRecord links;
  PresentPorts ports;
  std::unique_ptr<TZorvForm> form;
};

struct BoxRow {
  const char* name;
  const char* box;
  std::uint8_t product;
  int tab;              // Zorv tab, or -1
  std::size_t offset;   // first byte the box stores
  std::vector<int> old; // the bytes the window shows first
  std::vector<int> downloaded;
  const char* typed;    // nullptr: the user only sat in the box
};

class DownloadOverBoxTest : public NeverLostTest, public ::testing::WithParamInterface<BoxRow> {};

// The box holds the focus (stale, or typed but not left) when the download arrives and the
// "Download Successful!" box takes the focus: the downloaded bytes stay.
TEST_P(DownloadOverBoxTest, DownloadedBytesStay) {
  const BoxRow& row = GetParam();
  auto* box = Find<QWidget>(row.box);
  ASSERT_NE(box, nullptr);
  for (std::size_t i = 0; i < row.old.size(); ++i) {
    form->Image()[row.offset + i] = static_cast<std::uint8_t>(row.old[i]);
  }
  ShowPageOf(box, row.product, row.tab);
  box->setFocus(Qt::TabFocusReason);
  QApplication::processEvents();
  if (row.typed != nullptr) Type(box, row.typed);
  Download([&](SettingsImage& image) {
    for (std::size_t i = 0; i < row.downloaded.size(); ++i) {
      image[row.offset + i] = static_cast<std::uint8_t>(row.downloaded[i]);
    }
  });
  for (std::size_t i = 0; i < row.downloaded.size(); ++i) {
    EXPECT_EQ(form->Image()[row.offset + i], row.downloaded[i]) << "byte " << row.offset + i;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, DownloadOverBoxTest,
    ::testing::Values(
        BoxRow{"QuirnEdit3", "Edit3", product::kQuirn, -1, 3, {0, 0}, {18, 52}, nullptr},
        BoxRow{"QuirnEdit17", "Edit17", product::kQuirn, -1, 28, {0, 0}, {1, 2}, nullptr},
        BoxRow{"QuirnEdit3Typed", "Edit3", product::kQuirn, -1, 3, {0, 0}, {18, 52}, "999"},
        BoxRow{"HalverstonRateTyped", "SpinEdit2", product::kHalverston, -1, 20, {1}, {5}, "70"},
        BoxRow{"Float1", "float1", product::kZorvPages, zorvtab::kFloatModes,
               zorvfield::FloatOneName, {'O', 'L', 'D', 0, 0}, {'N', 'E', 'W', 0, 0}, nullptr},
        BoxRow{"StartupDelayTyped", "startupdelay", product::kZorvPages, zorvtab::kGlobal,
               zorvfield::StartupDelay, {3}, {5}, "300"}),
    [](const ::testing::TestParamInfo<BoxRow>& row) { return std::string(row.param.name); });

struct LeaveRow {
  const char* name;
  const char* box;
  std::uint8_t product;
  int tab;
  std::size_t offset;
  const char* typed;
  std::vector<int> stored;  // after leaving by Tab
  const char* shown;        // the box's text then
};

class LeaveWithinWindowTest : public NeverLostTest, public ::testing::WithParamInterface<LeaveRow> {};

// A real edit: leaving the box for another window stores nothing and keeps the text; leaving it
// within the window stores it, clamped where the box clamps, and no cursor stays behind.
TEST_P(LeaveWithinWindowTest, StoredOnlyWhenLeftWithinTheWindow) {
  const LeaveRow& row = GetParam();
  auto* box = Find<QWidget>(row.box);
  ASSERT_NE(box, nullptr);
  ShowPageOf(box, row.product, row.tab);
  box->setFocus(Qt::TabFocusReason);
  QApplication::processEvents();
  Type(box, row.typed);
  auto* line = qobject_cast<QLineEdit*>(box) ? qobject_cast<QLineEdit*>(box)
                                             : box->findChild<QLineEdit*>();
  const QString typedText = line->text();
  EXPECT_EQ(typedText, row.typed) << "a number being typed stays as typed until the box is left";
  // Another window takes the focus, then gives it back.
  const SettingsImage before = form->Image();
  {
    QMessageBox other(QMessageBox::Information, "Other", "Other window", QMessageBox::Ok);
    other.show();
    Activate(&other);
    QApplication::processEvents();
    EXPECT_EQ(line->text(), typedText) << "the typed text stays while another window has the focus";
  }
  Activate(form.get());
  if (!qobject_cast<SpinEdit*>(box)) {
    EXPECT_EQ(form->Image().bytes, before.bytes) << "nothing stored on leaving for another window";
  }
  box->setFocus(Qt::TabFocusReason);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  QApplication::processEvents();
  EXPECT_NE(QApplication::focusWidget(), box);
  for (std::size_t i = 0; i < row.stored.size(); ++i) {
    EXPECT_EQ(form->Image()[row.offset + i], row.stored[i]) << "byte " << row.offset + i;
  }
  EXPECT_EQ(line->text(), row.shown);
  EXPECT_FALSE(line->hasSelectedText()) << "the box the user left shows no selection";
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, LeaveWithinWindowTest,
    ::testing::Values(
        LeaveRow{"QuirnEdit3", "Edit3", product::kQuirn, -1, 3, "999", {3, 231}, "999"},
        LeaveRow{"Float1", "float1", product::kZorvPages, zorvtab::kFloatModes,
                 zorvfield::FloatOneName, "AB", {'A', 'B', 0, 0, 0}, "AB"},
        LeaveRow{"StartupDelay300", "startupdelay", product::kZorvPages, zorvtab::kGlobal,
                 zorvfield::StartupDelay, "300", {20}, "20"},
        LeaveRow{"FloatDelay", "floatdelay", product::kZorvPages, zorvtab::kFloatModes, 237,
                 "99", {10}, "10"},
        LeaveRow{"HalverstonRate", "SpinEdit2", product::kHalverston, -1, 20, "70", {50}, "50"},
        LeaveRow{"IDSpin", "IDSpin", product::kZorvPages, zorvtab::kJoysticks,
                 zorvfield::ControllerID, "300", {255}, "255"}),
    [](const ::testing::TestParamInfo<LeaveRow>& row) { return std::string(row.param.name); });

struct SpinRow {
  const char* box;
  std::uint8_t product;
  int tab;
};

class LeftSpinTest : public NeverLostTest, public ::testing::WithParamInterface<SpinRow> {};

// A spin edit the user left shows no selection and no cursor: its line edit hears of the leave.
TEST_P(LeftSpinTest, LineEditLosesTheFocusToo) {
  auto* spin = Find<SpinEdit>(GetParam().box);
  ASSERT_NE(spin, nullptr);
  ShowPageOf(spin, GetParam().product, GetParam().tab);
  spin->setFocus(Qt::TabFocusReason);
  QApplication::processEvents();
  auto* line = spin->findChild<QLineEdit*>();
  ASSERT_TRUE(line->hasSelectedText()) << "Tab into the box selects its number";
  Find<QWidget>("ResetButton")->setFocus(Qt::TabFocusReason);
  QApplication::processEvents();
  EXPECT_FALSE(line->hasSelectedText());
}

INSTANTIATE_TEST_SUITE_P(Spins, LeftSpinTest,
                         ::testing::Values(SpinRow{"startupdelay", product::kZorvPages, zorvtab::kGlobal},
                                           SpinRow{"IDSpin", product::kZorvPages, zorvtab::kJoysticks},
                                           SpinRow{"SpinEdit2", product::kHalverston, -1}),
                         [](const ::testing::TestParamInfo<SpinRow>& row) {
                           return std::string(row.param.box);
                         });

// Opening a menu is leaving the box within the window: the typed number is stored.
TEST_F(NeverLostTest, OpeningAMenuStoresTheTypedNumber) {
  auto* box = Find<QLineEdit>("Edit3");
  ShowPageOf(box, product::kQuirn, -1);
  box->setFocus(Qt::TabFocusReason);
  Type(box, "777");
  QMenuBar* bar = form->menuBar();
  QAction* file = bar->actions().value(0);
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(file).center());
  QApplication::processEvents();
  EXPECT_EQ(ReadWord(form->Image(), 3), 777U);
  if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
}

// The signal fired by hand on a box that still shows what the refresh put there stores nothing.
TEST_F(NeverLostTest, StaleBoxesStoreNothingWhenTheirExitFires) {
  for (const char* name : {"Edit3", "Edit17", "Edit21", "float1", "alwayslivetext"}) {
    auto* box = Find<QLineEdit>(name);
    form->RefreshControls(1);
    SettingsImage changed = form->Image();
    for (std::size_t i = 0; i < 256; ++i) changed[i] = static_cast<std::uint8_t>(i * 13 + 1);
    form->Image() = changed;
    emit box->editingFinished();
    EXPECT_EQ(form->Image().bytes, changed.bytes) << name;
  }
}

// A live test held with Space ends when the focus moves away, and the next press sends again.
TEST_F(NeverLostTest, HeldTestButtonLosingTheFocusEndsTheTest) {
  auto* buttons = Find<QWidget>("HoistSheet");
  ShowPageOf(buttons, product::kZorvPages, zorvtab::kHoist);
  TestButton* button = buttons->findChildren<TestButton*>().value(0);
  ASSERT_NE(button, nullptr);
  button->setFocus(Qt::TabFocusReason);
  QTest::keyPress(button, Qt::Key_Space);
  ASSERT_FALSE(links.commands.empty());
  const auto started = links.commands.back();
  EXPECT_NE(started.first, 0);
  Find<QWidget>("ResetButton")->setFocus(Qt::TabFocusReason);
  QApplication::processEvents();
  EXPECT_EQ(links.commands.back(), std::make_pair(std::uint8_t{0}, std::uint8_t{0}));
  EXPECT_EQ(form->TestTimeStamp(), 0U);
  EXPECT_FALSE(button->isDown());
  button->setFocus(Qt::TabFocusReason);
  QTest::keyPress(button, Qt::Key_Space);
  EXPECT_EQ(links.commands.back(), started) << "the next press sends again";
  QTest::keyRelease(button, Qt::Key_Space);
}

// A label that fills its nine bytes shows whole.
TEST_F(NeverLostTest, NineCharacterLabelShowsWhole) {
  form->Image()[zorvfield::ModeButtonsAreTrigger] = 1;
  for (std::size_t i = 0; i < 9; ++i) form->Image()[zorvfield::AlwaysLiveLabel + i] = static_cast<std::uint8_t>('A' + i);
  form->RefreshControls(1);
  EXPECT_EQ(Find<QLineEdit>("alwayslivetext")->text(), "ABCDEFGHI");

}

// Typed text in "Valve types" chooses no item: "Set All Trims" then uses the global pair on
// the hoist outputs too.
TEST_F(NeverLostTest, TypedValveTypeIsNoHuscoChoice) {
  auto* types = Find<QComboBox>("Valvetypes");
  form->Image()[kTarnovexMarkerOffset] = kTarnovexMarker;
  ShowPageOf(types, product::kTarnovex, -1);
  types->setCurrentIndex(3);
  emit types->activated(3);
  types->setFocus(Qt::TabFocusReason);
  Type(types->lineEdit(), "my valve");
  EXPECT_EQ(types->currentText(), "my valve");
  EXPECT_EQ(types->currentIndex(), -1);
  prompts.ExpectConfirm(true);
  QTest::mouseClick(Find<QPushButton>("setglobal2"), Qt::LeftButton);
  EXPECT_EQ(form->Image()[1], form->Trims().min);
  EXPECT_EQ(form->Image()[2], form->Trims().max);
}

// A replaced link's events show no box and store nothing: its transfer was abandoned.
TEST_F(NeverLostTest, ReplacedLinksNoticesShowNoBox) {
  const std::uint64_t old = links.currentSource;
  links.state = LinkState::Start;
  form->ResetButtonClick();  // replaced at once
  ASSERT_NE(links.currentSource, old);
  form->OnLinkEvent(EventFor(1), old);
  form->OnLinkEvent(EventFor(2, 0, form->Image().bytes), old);
  EXPECT_TRUE(prompts.shown.empty() ||
              prompts.shown.back().call != ScriptedPrompts::Call::Message);
  auto* delay = Find<SpinEdit>("startupdelay");
  ImageBytes downloaded = form->Image().bytes;
  downloaded[zorvfield::StartupDelay] = 7;
  const int before = delay->value();
  form->OnLinkEvent(EventFor(2, 0, downloaded), old);
  EXPECT_EQ(delay->value(), before) << "a replaced link's download is not stored";
  EXPECT_FALSE(form->isWindowModified());
}

// Destroying a shown window while a label edit has the focus touches nothing freed.
TEST_F(NeverLostTest, DestroyedWithLabelEditFocused) {
  form->Image()[zorvfield::ModeButtonsAreTrigger] = 1;
  auto* edit = Find<QLineEdit>("alwayslivetext");
  for (int type = 0; type < 32 && !edit->isVisible(); ++type) {
    form->Image()[zorvfield::JoystickType] = static_cast<std::uint8_t>(type);
    ShowPageOf(form.get(), product::kZorvPages, zorvtab::kJoysticks);
  }
  ASSERT_TRUE(edit->isVisible());
  edit->setFocus(Qt::TabFocusReason);
  QTest::keyClicks(edit, "X");
  form.reset();
}


// An edit made through the window, left by Tab: "Startup Delay" from 1 to 7.
void EditStartupDelay(QWidget* form) {
  auto* tabs = form->findChild<QTabWidget*>("TabbedNotebook1");
  QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(zorvtab::kGlobal).center());
  auto* spin = form->findChild<SpinEdit*>("startupdelay");
  spin->setFocus(Qt::TabFocusReason);
  QTest::keyClick(spin, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(spin, "7");
  QTest::keyClick(spin, Qt::Key_Tab);
}

struct KeptRow {
  const char* name;
  std::function<void(TZorvForm&, ScriptedPrompts&, const std::string&)> act;
};

class ModifiedMarkerTest : public NeverLostTest, public ::testing::WithParamInterface<KeptRow> {
 public:
  TempFolder files;
};

// The caption's marker shows unsent, unsaved edits and goes with a download, an upload, an
// open or a save.
TEST_P(ModifiedMarkerTest, MarkerFollowsTheEdits) {
  EXPECT_FALSE(form->isWindowModified()) << "after start-up";
  EditStartupDelay(form.get());
  ASSERT_EQ(form->Image()[zorvfield::StartupDelay], 7);
  EXPECT_TRUE(form->isWindowModified()) << "after an edit";
  GetParam().act(*form, prompts, files.File("kept.joy"));
  EXPECT_FALSE(form->isWindowModified()) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Actions, ModifiedMarkerTest,
    ::testing::Values(
        KeptRow{"Download",
                [](TZorvForm& f, ScriptedPrompts& p, const std::string&) {
                  p.ExpectMessage();
                  f.OnLinkEvent(EventFor(2, 0, f.Image().bytes), 0);
                }},
        KeptRow{"Upload",
                [](TZorvForm& f, ScriptedPrompts& p, const std::string&) {
                  p.ExpectMessage();
                  f.OnLinkEvent(EventFor(1), 0);
                }},
        KeptRow{"Save",
                [](TZorvForm& f, ScriptedPrompts& p, const std::string& file) {
                  p.ExpectSaveFile(QString::fromStdString(file));
                  f.findChild<QAction*>("Save1")->trigger();
                }},
        KeptRow{"Open",
                [](TZorvForm& f, ScriptedPrompts& p, const std::string& file) {
                  SettingsImage other = f.Image();
                  other[zorvfield::StartupDelay] = 9;
                  ASSERT_TRUE(WriteSwitchFile(file, other).ok);
                  p.ExpectOpenFile(QString::fromStdString(file));
                  f.findChild<QAction*>("Open1")->trigger();
                }}),
    [](const ::testing::TestParamInfo<KeptRow>& row) { return std::string(row.param.name); });

struct ExitRow {
  const char* name;
  bool viaMenu;           // "&Exit", or the window's close box
  LinkState linkState;
  const char* button;     // the answer
  bool sendOffered;
  bool closed;            // right after the answer
};

class ExitQuestionTest : public NeverLostTest, public ::testing::WithParamInterface<ExitRow> {
 public:
  TempFolder files;
};

TEST_P(ExitQuestionTest, AnswerDecides) {
  const ExitRow& row = GetParam();
  EditStartupDelay(form.get());
  links.state = row.linkState;
  bool offered = false;
  prompts.ExpectModal([&](QDialog& question) {
    offered = question.findChild<QPushButton*>("ExitSend") != nullptr;
    auto* answer = question.findChild<QPushButton*>(row.button);
    EXPECT_NE(answer, nullptr) << row.button;
    if (answer != nullptr) answer->click();
    return question.result();
  });
  const std::string file = files.File("exit.joy");
  if (std::string(row.button) == "ExitSave") prompts.ExpectSaveFile(QString::fromStdString(file));
  links.commands.clear();
  if (row.viaMenu) {
    form->findChild<QAction*>("Exit1")->trigger();
  } else {
    form->close();
  }
  EXPECT_EQ(offered, row.sendOffered);
  EXPECT_EQ(!form->isVisible(), row.closed);
  if (std::string(row.button) == "ExitSave") {
    SettingsImage saved;
    ASSERT_TRUE(ReadSwitchFile(file, saved).ok);
    EXPECT_EQ(saved.bytes, form->Image().bytes);
  }
  if (std::string(row.button) == "ExitSend") {
    ASSERT_EQ(links.commands.size(), 1U);
    EXPECT_EQ(links.commands[0].first, 254);
    prompts.ExpectMessage();
    form->OnLinkEvent(EventFor(1), 0);
    EXPECT_FALSE(form->isVisible()) << "closed after \"Upload Successful!\"";
  } else {
    EXPECT_TRUE(links.commands.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, ExitQuestionTest,
    ::testing::Values(ExitRow{"SendByMenu", true, LinkState::ConnectedIdle, "ExitSend", true, false},
                      ExitRow{"SendByCloseBox", false, LinkState::ConnectedIdle, "ExitSend", true, false},
                      ExitRow{"Save", true, LinkState::ConnectedIdle, "ExitSave", true, true},
                      ExitRow{"Discard", false, LinkState::ConnectedIdle, "ExitDiscard", true, true},
                      ExitRow{"Cancel", true, LinkState::ConnectedIdle, "ExitCancel", true, false},
                      ExitRow{"NoSendWhileBusy", true, LinkState::Download, "ExitCancel", false, false},
                      ExitRow{"DiscardWhileBusy", false, LinkState::Download, "ExitDiscard", false, true}),
    [](const ::testing::TestParamInfo<ExitRow>& row) { return std::string(row.param.name); });

// A failed upload after "Send to controller" leaves the window open, also for a later upload.
TEST_F(NeverLostTest, FailedUploadOnExitKeepsTheWindowOpen) {
  EditStartupDelay(form.get());
  prompts.ExpectModal([](QDialog& question) {
    question.findChild<QPushButton*>("ExitSend")->click();
    return question.result();
  });
  form->findChild<QAction*>("Exit1")->trigger();
  links.state = LinkState::Upload;
  form->Timer2Timer();
  links.state = LinkState::ConnectedIdle;  // back, without "Upload Successful!"
  form->Timer2Timer();
  form->Timer2Timer();  // a success notice would have come by now
  EXPECT_TRUE(form->isVisible());
  prompts.ExpectMessage();
  form->OnLinkEvent(EventFor(1), 0);  // a later upload of the user's own
  EXPECT_TRUE(form->isVisible());
}

// No edit: Exit asks nothing.
TEST_F(NeverLostTest, ExitWithoutEditsAsksNothing) {
  form->findChild<QAction*>("Exit1")->trigger();
  EXPECT_FALSE(form->isVisible());
}

}  // namespace
}  // namespace zorv::test
