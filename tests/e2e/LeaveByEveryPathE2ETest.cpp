// Typed text that a box stores only when left, and every way a technician leaves it: Alt+S, the
// Datalink menu, the window's close box with "Send to controller" or "Save to file...", Alt+G.
// The real window, real keys and focus, real message boxes, the real link against zorv-sim.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <algorithm>
#include <functional>

#include "history/HistoryStore.h"
#include "image/Catalogue.h"
#include "report/SettingsExport.h"
#include "tests/app/UserChange.h"
#include "image/QuirnLayout.h"
#include "image/SwitchFile.h"
#include "image/TextFields.h"
#include "image/ZorvLayout.h"
#include "tests/e2e/WindowHarness.h"
#include "tests/support/FocusTakingPrompts.h"

namespace zorv::test {
namespace {

enum class Leave { AltS, DatalinkMenu, CloseBoxSend, CloseBoxSave, ExitSend, ExitSave };

struct TypedRow {
  const char* name;
  const char* product;  // zorv-sim's product
  const char* box;
  int tab;              // Zorv tab, or -1
  const char* typed;
  std::size_t offset;
  std::vector<int> stored;  // what leaving the box stores there
  Leave leave;
};

void PrintTo(const TypedRow& row, std::ostream* os) { *os << row.name; }

class TypedThenLeftE2E : public ::testing::TestWithParam<TypedRow> {
 protected:
  // Another edit already stored (Quirn Edit4, Zorv "Startup Delay"), so the exit question
  // would come even without the typed text.
  void StoreAnotherEdit(bool quirn) {
    auto* other = h.Find<QWidget>(quirn ? "Edit4" : "startupdelay");
    ShowTab(quirn ? -1 : zorvtab::kGlobal);
    other->setFocus(Qt::TabFocusReason);
    QTest::keyClick(other, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(other, quirn ? "321" : "9");
    QTest::keyClick(other, Qt::Key_Tab);
  }
  void ShowTab(int tab) {
    if (tab < 0) return;
    if (tab == zorvtab::kFloatModes) h.prompts.ExpectQuery(QString("pralt"));
    QTabBar* bar = h.Find<QTabWidget>("TabbedNotebook1")->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab).center());
    QApplication::processEvents();
  }
  void AnswerExit(const char* button) {
    h.prompts.ExpectModal([button](QDialog& question) {
      auto* answer = question.findChild<QPushButton*>(button);
      EXPECT_NE(answer, nullptr) << button << ": the exit question was not asked";
      if (answer != nullptr) answer->click();
      return question.result();
    });
  }

  WindowHarness h{Where::InProcess};
};

TEST_P(TypedThenLeftE2E, TypedValueReachesTheControllerOrTheFile) {
  const TypedRow& row = GetParam();
  FocusTakingPrompts focusPrompts(h.prompts);
  h.windowPrompts = &focusPrompts;
  ASSERT_TRUE(h.StartActive({"--product", row.product})) << h.controller.Output();
  const bool quirn = std::string(row.product) == "c";
  const bool exitPath = row.leave == Leave::ExitSend || row.leave == Leave::ExitSave ||
                        row.leave == Leave::CloseBoxSend || row.leave == Leave::CloseBoxSave;
  if (row.leave == Leave::ExitSend || row.leave == Leave::ExitSave) StoreAnotherEdit(quirn);
  const SettingsImage stored = h.form->Image();

  auto* box = h.Find<QLineEdit>(row.box);
  ASSERT_NE(box, nullptr);
  ShowTab(row.tab);
  ASSERT_TRUE(box->isVisible());
  box->setFocus(Qt::TabFocusReason);
  QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(box, row.typed);
  ASSERT_EQ(h.form->Image().bytes, stored.bytes) << "stored only when left";

  const QString file = QString::fromStdString(h.files.File("left.joy"));
  switch (row.leave) {
    case Leave::AltS:
      h.prompts.ExpectMessage();
      QTest::keyClick(h.form.get(), Qt::Key_S, Qt::AltModifier);
      break;
    case Leave::DatalinkMenu:
      h.prompts.ExpectMessage();
      h.Find<QAction>("SendCal")->trigger();
      break;
    case Leave::CloseBoxSend:
    case Leave::ExitSend:
      AnswerExit("ExitSend");
      h.prompts.ExpectMessage();
      if (row.leave == Leave::CloseBoxSend) h.form->close();
      else h.Find<QAction>("Exit1")->trigger();
      break;
    case Leave::CloseBoxSave:
    case Leave::ExitSave:
      AnswerExit("ExitSave");
      h.prompts.ExpectSaveFile(file);
      if (row.leave == Leave::CloseBoxSave) h.form->close();
      else h.Find<QAction>("Exit1")->trigger();
      break;
  }
  ASSERT_TRUE(WaitUntil([&] { return h.prompts.AllUsed(); }, 20000));
  const bool saved = row.leave == Leave::CloseBoxSave || row.leave == Leave::ExitSave;
  if (!saved) {
    EXPECT_EQ(h.prompts.MessageTexts().back(), "Upload Successful!");
  }
  if (exitPath) {
    EXPECT_TRUE(WaitUntil([&] { return !h.form->isVisible(); }, 3000)) << "the window closed";
  } else {
    EXPECT_FALSE(h.form->isWindowModified()) << "the caption is clean only when it was sent";
  }

  SettingsImage landed;
  if (saved) {
    ASSERT_TRUE(ReadSwitchFile(file.toStdString(), landed).ok);
  } else {
    landed = h.ControllerMemory();
  }
  for (std::size_t i = 0; i < row.stored.size(); ++i) {
    EXPECT_EQ(landed[row.offset + i], row.stored[i]) << "byte " << row.offset + i;
  }
  if (row.leave == Leave::ExitSend || row.leave == Leave::ExitSave) {
    EXPECT_NE(landed.bytes, stored.bytes);
    if (quirn) {
      EXPECT_EQ(ReadWord(landed, quirnfield::ReduceStartOutput), 321U) << "the other edit went too";
    } else {
      EXPECT_EQ(landed[zorvfield::StartupDelay], 9) << "the other edit went too";
    }
  }
}

constexpr std::size_t kFloat1 = zorvfield::FloatOneName;

INSTANTIATE_TEST_SUITE_P(
    Paths, TypedThenLeftE2E,
    ::testing::Values(
        TypedRow{"Edit3AltS", "c", "Edit3", -1, "1000", 3, {3, 232}, Leave::AltS},
        TypedRow{"Edit3DatalinkMenu", "c", "Edit3", -1, "1000", 3, {3, 232}, Leave::DatalinkMenu},
        TypedRow{"Edit3CloseBoxSend", "c", "Edit3", -1, "1000", 3, {3, 232}, Leave::CloseBoxSend},
        TypedRow{"Edit3CloseBoxSave", "c", "Edit3", -1, "1000", 3, {3, 232}, Leave::CloseBoxSave},
        TypedRow{"Edit3ExitSend", "c", "Edit3", -1, "1000", 3, {3, 232}, Leave::ExitSend},
        TypedRow{"Edit3ExitSave", "c", "Edit3", -1, "1000", 3, {3, 232}, Leave::ExitSave},
        TypedRow{"Float1AltS", "g", "float1", zorvtab::kFloatModes, "PLOWA", kFloat1,
                 {'P', 'L', 'O', 'W', 'A'}, Leave::AltS},
        TypedRow{"Float1ExitSend", "g", "float1", zorvtab::kFloatModes, "PLOWA", kFloat1,
                 {'P', 'L', 'O', 'W', 'A'}, Leave::ExitSend}),
    [](const ::testing::TestParamInfo<TypedRow>& row) { return std::string(row.param.name); });

// Alt+G over a typed value: the download replaces it, and the history keeps it first.
TEST(TypedThenDownloadedE2E, TypedValueIsKeptInTheHistory) {
  WindowHarness h{Where::InProcess};
  FocusTakingPrompts focusPrompts(h.prompts);
  h.windowPrompts = &focusPrompts;
  ASSERT_TRUE(h.StartActive({"--product", "c"})) << h.controller.Output();
  const SettingsImage controller = h.form->Image();
  auto* box = h.Find<QLineEdit>("Edit3");
  box->setFocus(Qt::TabFocusReason);
  QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(box, "1000");
  h.prompts.ExpectMessage();
  QTest::keyClick(h.form.get(), Qt::Key_G, Qt::AltModifier);
  ASSERT_TRUE(WaitUntil([&] { return h.prompts.AllUsed(); }, 20000));
  EXPECT_EQ(h.prompts.MessageTexts().back(), "Download Successful!");
  EXPECT_EQ(h.form->Image().bytes, controller.bytes) << "the controller's image is shown";
  const std::vector<history::Event> events = h.HistoryEvents();
  const bool kept = std::any_of(events.begin(), events.end(), [](const history::Event& e) {
    return ReadWord(SettingsImage{e.image}, 3) == 1000;
  });
  EXPECT_TRUE(kept) << "an event holds the typed 1000";
}

// An edit made while the upload runs was not sent: the caption keeps its marker, Exit asks.
TEST(EditDuringUploadE2E, StaysMarkedUnsent) {
  WindowHarness h{Where::InProcessRealTime};  // the user types while the upload runs
  ASSERT_TRUE(h.StartActive({"--product", "c"})) << h.controller.Output();
  auto* box = h.Find<QLineEdit>("Edit8");
  bool typed = false;
  h.prompts.ExpectMessage();
  h.Find<QAbstractButton>("UploadButton")->click();
  // While the upload runs (the link busy), the user types and leaves the box.
  ASSERT_TRUE(WaitUntil([&] { return !h.LinkIdle() || h.prompts.AllUsed(); }, 5000));
  if (!h.prompts.AllUsed()) {
    box->setFocus(Qt::TabFocusReason);
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box, "777");
    QTest::keyClick(box, Qt::Key_Tab);
    typed = !h.prompts.AllUsed();
  }
  ASSERT_TRUE(typed) << "the upload ended before the edit: nothing to check";
  ASSERT_TRUE(WaitUntil([&] { return h.prompts.AllUsed(); }, 20000));
  EXPECT_EQ(h.prompts.MessageTexts().back(), "Upload Successful!");
  EXPECT_TRUE(h.form->isWindowModified()) << "777 was typed after the image left";
  h.prompts.ExpectModal([](QDialog& question) {
    question.findChild<QPushButton*>("ExitCancel")->click();
    return question.result();
  });
  h.form->close();
  EXPECT_TRUE(h.form->isVisible()) << "Exit asked, and Cancel kept the window";
}

// "Send to controller" on Exit: the window closes once the user closes "Upload Successful!",
// however long the box stayed open.
TEST(ExitSendE2E, ClosesAfterTheSuccessBoxWasReadSlowly) {
  WindowHarness h{Where::InProcess};
  ASSERT_TRUE(h.StartActive({"--product", "c"})) << h.controller.Output();
  auto* box = h.Find<QLineEdit>("Edit1");
  box->setFocus(Qt::TabFocusReason);
  QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(box, "222");
  QTest::keyClick(box, Qt::Key_Tab);
  h.prompts.ExpectModal([](QDialog& question) {
    question.findChild<QPushButton*>("ExitSend")->click();
    return question.result();
  });
  h.prompts.ExpectMessage([] { WaitUntil([] { return false; }, 1500); });  // read slowly
  h.Find<QAction>("Exit1")->trigger();
  ASSERT_TRUE(WaitUntil([&] { return h.prompts.AllUsed(); }, 20000));
  EXPECT_EQ(h.prompts.MessageTexts().back(), "Upload Successful!");
  EXPECT_TRUE(WaitUntil([&] { return !h.form->isVisible(); }, 2000)) << "closed after the box";
}

enum class Path { SendCalClick, AltS, DatalinkMenu, FileSave, Export, CloseBoxSend };

struct ManyRow {
  const char* name;
  const char* product;  // zorv-sim's product
  Layout layout;
  Path path;
};

void PrintTo(const ManyRow& row, std::ostream* os) { *os << row.name; }

class ManyRowsLeftE2E : public ::testing::TestWithParam<ManyRow> {};

// Every row of the product changed through its control, then one way out: what reaches the
// controller or the file is the window's image, byte for byte.
TEST_P(ManyRowsLeftE2E, EveryChangedByteArrives) {
  const ManyRow& row = GetParam();
  WindowHarness h{Where::InProcess};
  AcceptAlwaysLivePrompts answering(h.prompts);
  h.windowPrompts = &answering;
  ASSERT_TRUE(h.StartActive({"--product", row.product})) << h.controller.Output();
  const SettingsImage downloaded = h.form->Image();
  // The simulator's Quirn uses the math setup, which computes the grid's boxes: off first, so
  // the boxes can be typed into.
  if (auto* math = h.Find<QCheckBox>("CheckBox1"); row.layout == Layout::Quirn && math->isChecked()) {
    math->click();
  }
  for (const Setting& s : CatalogueOf(row.layout)) {
    if (s.page == "Axis Switch Setup" || s.controls.empty()) continue;
    if (QObject* control = h.form->findChild<QObject*>(QString::fromStdString(s.controls.front()))) {
      ChangeAsAUser(control);
    }
  }
  const SettingsImage edited = h.form->Image();
  ASSERT_GT(std::count_if(edited.bytes.begin(), edited.bytes.end(),
                          [&, i = 0](std::uint8_t b) mutable { return b != downloaded[static_cast<std::size_t>(i++)]; }),
            10) << "many bytes changed";
  ASSERT_TRUE(h.form->isWindowModified());
  ASSERT_TRUE(WaitUntil([&] { return h.LinkIdle(); }, 10000)) << "the link takes a request";
  const QString file = QString::fromStdString(h.files.File(row.path == Path::Export ? "many.json" : "many.joy"));
  switch (row.path) {
    case Path::SendCalClick: ASSERT_TRUE(h.SendCal()); break;
    case Path::AltS:
      h.prompts.ExpectMessage();
      QTest::keyClick(h.form.get(), Qt::Key_S, Qt::AltModifier);
      break;
    case Path::DatalinkMenu:
      h.prompts.ExpectMessage();
      h.Find<QAction>("SendCal")->trigger();
      break;
    case Path::FileSave:
      h.prompts.ExpectSaveFile(file);
      h.Find<QAction>("Save1")->trigger();
      break;
    case Path::Export:
      h.prompts.ExpectSaveFile(file);
      h.Find<QAction>("Export1")->trigger();
      break;
    case Path::CloseBoxSend:
      h.prompts.ExpectModal([](QDialog& question) {
        question.findChild<QPushButton*>("ExitSend")->click();
        return question.result();
      });
      h.prompts.ExpectMessage();
      h.form->close();
      break;
  }
  ASSERT_TRUE(WaitUntil([&] { return h.prompts.AllUsed(); }, 30000));
  SettingsImage landed;
  if (row.path == Path::FileSave) {
    ASSERT_TRUE(ReadSwitchFile(file.toStdString(), landed).ok);
  } else if (row.path == Path::Export) {
    QString error;
    const auto read = ReadSettingsFile(file, error);
    ASSERT_TRUE(read.has_value()) << error.toStdString();
    landed = read->image;
  } else {
    EXPECT_EQ(h.prompts.MessageTexts().back(), "Upload Successful!");
    if (row.path == Path::CloseBoxSend) {
      EXPECT_TRUE(WaitUntil([&] { return !h.form->isVisible(); }, 3000)) << "closed after the upload";
    }
    landed = h.ControllerMemory();
  }
  for (std::size_t i = 0; i < kImageSize; ++i) {
    EXPECT_EQ(landed[i], edited[i]) << "byte " << i;
  }
}

std::vector<ManyRow> ManyRows() {
  const struct {
    const char* name;
    const char* product;
    Layout layout;
  } products[] = {{"Zorv", "g", Layout::Zorv},
                  {"Tarnovex", "b", Layout::Tarnovex},
                  {"Halverston", "d", Layout::Halverston},
                  {"Quirn", "c", Layout::Quirn}};
  const struct {
    const char* name;
    Path path;
  } paths[] = {{"SendCalClick", Path::SendCalClick}, {"AltS", Path::AltS},
               {"DatalinkMenu", Path::DatalinkMenu}, {"FileSave", Path::FileSave},
               {"Export", Path::Export},             {"CloseBoxSend", Path::CloseBoxSend}};
  static std::vector<std::string> names;
  std::vector<ManyRow> rows;
  names.reserve(24);
  for (const auto& p : products) {
    for (const auto& w : paths) {
      names.push_back(std::string(p.name) + w.name);
      rows.push_back({names.back().c_str(), p.product, p.layout, w.path});
    }
  }
  return rows;
}

INSTANTIATE_TEST_SUITE_P(ProductsAndPaths, ManyRowsLeftE2E, ::testing::ValuesIn(ManyRows()),
                         [](const ::testing::TestParamInfo<ManyRow>& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace zorv::test
