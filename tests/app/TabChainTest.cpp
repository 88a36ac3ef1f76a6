// Keyboard use of the main window, driven by real key presses: Tab visits every control of every
// page exactly once, in reading order, and comes back; the menus and the Send Cal and Get Cal
// buttons answer their Alt keys on every page, and every menu item is reached from its menu.
#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QFocusFrame>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "image/SettingsImage.h"
#include "image/ZorvLayout.h"
#include "tests/app/FormFixture.h"

namespace zorv::test {
namespace {

using Command = std::pair<std::uint8_t, std::uint8_t>;

// Where the product pages keep their own tabs ("" for a page without tabs).
struct ProductTabs {
  int page;
  std::uint8_t code;  // the product code that shows the page
  const char* notebook;
  int count;
};
constexpr ProductTabs kProductTabs[] = {{0, product::kZorvPages, "TabbedNotebook1", 9},
                                        {1, product::kTarnovex, "PageControl1", 3},
                                        {2, product::kQuirn, "", 0},
                                        {3, product::kHalverston, "TabbedNotebook2", 3}};

struct PageCase {
  const char* name;
  int product;            // page of ProductNotebook
  int tab;                // tab of the product page's notebook; -1 for none
  std::uint8_t joystick;  // image byte 33: which joystick view and which locked pages apply
  bool log = false;       // the byte log shown below the strip
};

std::ostream& operator<<(std::ostream& out, const PageCase& c) {
  return out << c.name;
}

using namespace joystick;
const PageCase kPages[] = {
    {"Joysticks_FourButton", 0, 0, kFourButtonHG},
    {"Joysticks_SixButton", 0, 0, kSixButtonHG},
    {"Joysticks_EightButton", 0, 0, kEightButtonHG},
    {"Joysticks_Slave", 0, 0, kSlaveMode},
    {"Joysticks_TwoHfxPlowHoist", 0, 0, kTwoHfxPlowHoist},
    {"Joysticks_TwoHfxPlowHoistWing", 0, 0, kTwoHfxPlowHoistWing},
    {"Joysticks_ThreeHfxPlowWingHoist", 0, 0, kThreeHfxPlowWingHoist},
    {"Joysticks_ThreeHfxWingPlowHoist", 0, 0, kThreeHfxWingPlowHoist},
    {"Joysticks_TwoHfxPlowHook", 0, 0, kTwoHfxPlowHook},
    {"Joysticks_ThreeHfxCustom", 0, 0, kThreeHfxCustom},
    {"Joysticks_Sevrik", 0, 0, kSevrik},
    {"Joysticks_FourHfx", 0, 0, kFourHfx},
    {"Joysticks_LogShown", 0, 0, kFourButtonHG, true},
    {"Global", 0, 1, kFourButtonHG},
    {"Hoist", 0, 2, kFourButtonHG},
    {"Plow", 0, 3, kFourButtonHG},
    {"Wing", 0, 4, kFourButtonHG},
    {"Blade", 0, 5, kFourButtonHG},
    {"Custom_SixButton", 0, 6, kSixButtonHG},
    {"Custom_EightButton", 0, 6, kEightButtonHG},
    {"Custom_Slave", 0, 6, kSlaveMode},
    {"FloatModes", 0, 7, kFourButtonHG},
    {"RemoteSlave_SixButton", 0, 8, kSixButtonHG},
    {"RemoteSlave_EightButton", 0, 8, kEightButtonHG},
    {"Tarnovex_Plow", 1, 0, kFourButtonHG},
    {"Tarnovex_HoistHook", 1, 1, kFourButtonHG},
    {"Tarnovex_Global", 1, 2, kFourButtonHG},
    {"Quirn", 2, -1, kFourButtonHG},
    {"Halverston_Main", 3, 0, kFourButtonHG},
    {"Halverston_ArmBoom", 3, 1, kFourButtonHG},
    {"Halverston_GripDump", 3, 2, kFourButtonHG},
};

std::string Describe(const QWidget* w) {
  if (!w) return "(no focus)";
  QString name = w->objectName().isEmpty() ? w->metaObject()->className() : w->objectName();
  if (const auto* button = qobject_cast<const QAbstractButton*>(w))
    name += " \"" + button->text() + "\"";
  for (const QWidget* p = w->parentWidget(); p; p = p->parentWidget()) {
    if (!p->objectName().isEmpty() && !p->objectName().startsWith("qt_")) {
      return (name + " in " + p->objectName()).toStdString();
    }
  }
  return name.toStdString();
}

// What Qt's Tab key stops at.
bool TabStop(const QWidget* w) {
  return w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus &&
         w->focusProxy() == nullptr;
}

// Auto-exclusive radio buttons of one parent are one Tab stop; the arrow keys move among them.
const QWidget* StopOf(const QWidget* w) {
  const auto* radio = qobject_cast<const QRadioButton*>(w);
  return radio && radio->autoExclusive() ? w->parentWidget() : w;
}

// Controls a user works with; each must be a Tab stop itself or through its focus proxy.
bool InputControl(const QWidget* w) {
  if (!w->isVisible() || !w->isEnabled()) return false;
  // Parts of other widgets: tab bar and menu bar scroll buttons, scroll area bars.
  for (const QWidget* p = w->parentWidget(); p; p = p->parentWidget()) {
    if (qobject_cast<const QTabBar*>(p) || qobject_cast<const QMenuBar*>(p) ||
        qobject_cast<const QAbstractScrollArea*>(p) || qobject_cast<const QAbstractSpinBox*>(p) ||
        qobject_cast<const QComboBox*>(p)) {
      return false;
    }
  }
  return qobject_cast<const QAbstractSlider*>(w) || qobject_cast<const QAbstractButton*>(w) ||
         qobject_cast<const QComboBox*>(w) || qobject_cast<const QLineEdit*>(w) ||
         qobject_cast<const QAbstractSpinBox*>(w);
}

const QWidget* FocusTarget(const QWidget* w) {
  while (w->focusProxy()) w = w->focusProxy();
  return w;
}

// The walk, one line a stop, for failure messages.
std::string OrderText(const std::vector<QWidget*>& cycle) {
  std::string order;
  for (std::size_t i = 0; i < cycle.size(); ++i) {
    order += std::to_string(i) + ": " + Describe(cycle[i]) + "\n";
  }
  return order;
}

// Every Tab stop of `window` is visited exactly once (one stop per radio group), and Tab stops
// nowhere else.
void ExpectEachStopOnce(const QWidget* window, const std::vector<QWidget*>& cycle) {
  std::set<const QWidget*> expected;
  for (const QWidget* w : window->findChildren<QWidget*>()) {
    if (TabStop(w) && w->window() == window) expected.insert(w);
  }
  std::map<const QWidget*, int> visits;
  for (const QWidget* w : cycle) {
    EXPECT_TRUE(expected.count(w)) << "Tab stopped on " << Describe(w);
    ++visits[StopOf(w)];
  }
  for (const QWidget* w : expected) {
    EXPECT_EQ(visits[StopOf(w)], 1) << Describe(w) << " visited " << visits[StopOf(w)] << " times";
  }
}

// The stops of `run` (all inside `root`) keep each group box's controls together and never run
// back up or to the left.
void ExpectReadingOrder(const QWidget* root, const std::vector<QWidget*>& run) {
  for (const QGroupBox* group : root->findChildren<QGroupBox*>()) {
    std::vector<std::size_t> inGroup;
    for (std::size_t i = 0; i < run.size(); ++i) {
      if (group->isAncestorOf(run[i])) inGroup.push_back(i);
    }
    if (inGroup.empty()) continue;
    EXPECT_EQ(inGroup.back() - inGroup.front() + 1, inGroup.size())
        << "group " << Describe(group) << " \"" << group->title().toStdString() << "\" is split";
  }
  for (std::size_t k = 1; k < run.size(); ++k) {
    const QWidget* a = run[k - 1];
    const QWidget* b = run[k];
    const QRect ra(a->mapTo(root, QPoint(0, 0)), a->size());
    const QRect rb(b->mapTo(root, QPoint(0, 0)), b->size());
    const bool up = rb.bottom() < ra.top() && rb.left() < ra.right();
    const bool sameRowLeft =
        rb.top() <= ra.bottom() && rb.bottom() >= ra.top() && rb.right() < ra.left();
    EXPECT_FALSE(up || sameRowLeft)
        << "Tab goes back from " << Describe(a) << " to " << Describe(b);
  }
}

class KeyboardFixture : public FormFixture {
 protected:
  void ShowForm() {
    MakeForm();
    form->show();
    QApplication::setActiveWindow(form.get());
    QApplication::processEvents();
    ASSERT_TRUE(form->isActiveWindow());
  }

  // Shows a page as a connected controller of that product does; the tab gate is not asked.
  QWidget* ShowPage(const PageCase& page) {
    const ProductTabs& tabs = kProductTabs[page.product];
    form->Image()[zorvfield::JoystickType] = page.joystick;
    form->SetProductCode(tabs.code);
    form->RefreshControls(1);
    if (page.log) Action("LogWindow1")->trigger();
    EXPECT_EQ(Products()->currentIndex(), page.product);
    QWidget* sheet = Products()->currentWidget();
    if (page.tab >= 0) {
      auto* notebook = Find<QTabWidget>(tabs.notebook);
      notebook->setCurrentIndex(page.tab);
      sheet = notebook->currentWidget();
    }
    QApplication::processEvents();
    return sheet;
  }

  // Presses Tab from `start` until the focus is back there; the widgets focused on the way.
  // `closed` tells whether it came back; a widget that keeps the focus ends the walk.
  static std::vector<QWidget*> TabCycle(QWidget* start, std::size_t limit, bool& closed) {
    start->setFocus(Qt::TabFocusReason);
    std::vector<QWidget*> cycle{QApplication::focusWidget()};
    closed = false;
    while (cycle.size() <= limit) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      QWidget* now = QApplication::focusWidget();
      closed = now == cycle.front();
      if (closed || now == nullptr || now == cycle.back()) break;
      cycle.push_back(now);
    }
    return cycle;
  }

  // The popup that Alt+key opened from the menu bar, or null.
  QMenu* MenuOpenedBy(Qt::Key key) {
    QTest::keyClick(form.get(), key, Qt::AltModifier);
    QApplication::processEvents();
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
  }
  static void ClosePopup() {
    while (QWidget* popup = QApplication::activePopupWidget()) popup->close();
  }
};

class TabChain : public KeyboardFixture, public ::testing::WithParamInterface<PageCase> {};

TEST_P(TabChain, TabVisitsEveryControlOnceInReadingOrderAndComesBack) {
  ASSERT_NO_FATAL_FAILURE(ShowForm());
  QWidget* sheet = ShowPage(GetParam());
  ASSERT_NE(sheet, nullptr);

  std::size_t stops = 0;
  for (const QWidget* w : form->findChildren<QWidget*>()) stops += TabStop(w) ? 1 : 0;
  for (const QWidget* w : sheet->findChildren<QWidget*>()) {
    if (InputControl(w)) {
      EXPECT_TRUE(TabStop(FocusTarget(w))) << Describe(w) << " cannot be reached with Tab";
    }
  }

  QWidget* upload = Find<QWidget>("UploadButton");
  bool closed = false;
  const std::vector<QWidget*> cycle = TabCycle(upload, 3 * stops + 10, closed);
  SCOPED_TRACE("Tab order:\n" + OrderText(cycle));
  ASSERT_TRUE(closed) << "Tab did not come back to Send Cal; it stopped at "
                      << Describe(cycle.back());
  ExpectEachStopOnce(form.get(), cycle);

  // A focused bar is framed: the style itself marks no focus on a scroll bar.
  for (QWidget* w : cycle) {
    if (!qobject_cast<QScrollBar*>(w)) continue;
    w->setFocus(Qt::TabFocusReason);
    const auto frames = form->findChildren<QFocusFrame*>();
    EXPECT_TRUE(
        std::any_of(frames.begin(), frames.end(),
                    [w](const QFocusFrame* f) { return f->widget() == w && f->isVisible(); }))
        << Describe(w) << " shows no focus";
  }

  // The page's controls come as one run, right after the tab bar that chose the page.
  std::vector<std::size_t> onPage;
  for (std::size_t i = 0; i < cycle.size(); ++i) {
    if (sheet->isAncestorOf(cycle[i])) onPage.push_back(i);
  }
  ASSERT_FALSE(onPage.empty());
  EXPECT_EQ(onPage.back() - onPage.front() + 1, onPage.size()) << "the page's controls are split";
  if (GetParam().tab >= 0) {
    const auto* notebook = Find<QTabWidget>(kProductTabs[GetParam().product].notebook);
    ASSERT_GT(onPage.front(), 0u);
    EXPECT_EQ(cycle[onPage.front() - 1], notebook->tabBar())
        << "before the page: " << Describe(cycle[onPage.front() - 1]);
  }
  // After the page the strip, in the order it is shown: the link buttons, then the byte log.
  std::vector<QWidget*> strip = {upload, Find<QWidget>("DownloadButton"),
                                 Find<QWidget>("ResetButton")};
  if (GetParam().log) strip.push_back(Find<QWidget>("Memo1"));
  for (std::size_t k = 0; k < strip.size(); ++k) {
    EXPECT_EQ(cycle[k % cycle.size()], strip[k])
        << "strip stop " << k << ": " << Describe(strip[k]);
  }

  std::vector<QWidget*> run;
  for (std::size_t i : onPage) run.push_back(cycle[i]);
  ExpectReadingOrder(sheet, run);
}

TEST_P(TabChain, AltKeysReachTheMenusAndTheLinkButtonsOnEveryPage) {
  ASSERT_NO_FATAL_FAILURE(ShowForm());
  ShowPage(GetParam());
  const struct {
    Qt::Key key;
    const char* menu;
  } menus[] = {
      {Qt::Key_F, "File1"}, {Qt::Key_V, "View1"}, {Qt::Key_D, "Datalink1"}, {Qt::Key_H, "Help1"}};
  for (const auto& m : menus) {
    QMenu* opened = MenuOpenedBy(m.key);
    EXPECT_EQ(opened, Find<QMenu>(m.menu)) << m.menu;
    ClosePopup();
  }
  // A mnemonic clicks its button after a short animation; a clash would only move the focus.
  const struct {
    Qt::Key key;
    const char* button;
    Command command;
  } buttons[] = {{Qt::Key_S, "UploadButton", {254, 0}}, {Qt::Key_G, "DownloadButton", {253, 0}}};
  for (const auto& b : buttons) {
    links.commands.clear();
    QSignalSpy clicked(Find<QAbstractButton>(b.button), &QAbstractButton::clicked);
    QTest::keyClick(form.get(), b.key, Qt::AltModifier);
    EXPECT_TRUE(clicked.count() == 1 || clicked.wait(2000)) << b.button;
    EXPECT_EQ(links.commands, std::vector<Command>{b.command}) << b.button;
  }
}

INSTANTIATE_TEST_SUITE_P(Pages, TabChain, ::testing::ValuesIn(kPages),
                         [](const auto& row) { return std::string(row.param.name); });

using PageTable = KeyboardFixture;

TEST_F(PageTable, CoversEveryTabOfEveryProductPage) {
  MakeForm();
  for (const ProductTabs& tabs : kProductTabs) {
    std::set<int> listed;
    for (const PageCase& page : kPages) {
      if (page.product == tabs.page) listed.insert(page.tab);
    }
    if (tabs.count == 0) {
      EXPECT_EQ(listed, std::set<int>{-1});
      continue;
    }
    EXPECT_EQ(Find<QTabWidget>(tabs.notebook)->count(), tabs.count) << tabs.notebook;
    EXPECT_EQ(listed.size(), static_cast<std::size_t>(tabs.count)) << tabs.notebook;
  }
}

// A secondary window opened from the main window, walked while it is up.
struct WindowCase {
  const char* name;
  std::uint8_t joystick;
  int tab;  // tab of TabbedNotebook1 that opens it
  std::function<void(TZorvForm&)> open;
};

std::ostream& operator<<(std::ostream& out, const WindowCase& c) {
  return out << c.name;
}

class SecondaryWindows : public KeyboardFixture,
                         public ::testing::WithParamInterface<WindowCase> {};

const WindowCase kWindows[] = {
    // The window shows the groups that custom axes use: all twelve here.
    {"SwitchGroups", kSixButtonHG, 6,
     [](TZorvForm& f) {
       const std::size_t axes[] = {zorvfield::NoButtonAxes, zorvfield::RedButtonAxes,
                                   zorvfield::GreenButtonAxes, zorvfield::BlueButtonAxes};
       std::uint8_t group = 9;  // axis value of switch group 1
       for (std::size_t first : axes) {
         for (std::size_t a = 0; a < 3; ++a) f.Image()[first + a] = group++;
       }
       f.findChild<QAbstractButton*>("axisswitches")->click();
     }},
    {"CustomHelp", kSixButtonHG, 6,
     [](TZorvForm& f) { f.findChild<QAbstractButton*>("CustomHelpButton")->click(); }},
    {"PortNumber", kFourButtonHG, 0,
     [](TZorvForm& f) { f.findChild<QAction*>("PortNumber1")->trigger(); }},
    {"About", kFourButtonHG, 0, [](TZorvForm& f) { f.findChild<QAction*>("About1")->trigger(); }},
#ifndef _WIN32  // the Windows build has no register dialog, only a box saying so
    {"HistoryRegister", kFourButtonHG, 0,
     [](TZorvForm& f) { f.findChild<QAction*>("HistoryRegister1")->trigger(); }},
#endif
};

TEST_P(SecondaryWindows, TabVisitsEveryControlOnceInReadingOrder) {
  ASSERT_NO_FATAL_FAILURE(ShowForm());
  ShowPage({GetParam().name, 0, GetParam().tab, GetParam().joystick});
  bool walked = false;
  prompts.ExpectModal([&walked](QDialog& dialog) {
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    QApplication::processEvents();

    std::vector<QWidget*> stops;
    for (QWidget* w = dialog.nextInFocusChain(); w != &dialog; w = w->nextInFocusChain()) {
      if (TabStop(w) && w->window() == &dialog) stops.push_back(w);
    }
    if (!stops.empty()) {
      bool closed = false;
      const std::vector<QWidget*> cycle = TabCycle(stops.front(), 3 * stops.size() + 10, closed);
      SCOPED_TRACE("Tab order:\n" + OrderText(cycle));
      EXPECT_TRUE(closed) << "Tab did not come back; it stopped at " << Describe(cycle.back());
      ExpectEachStopOnce(&dialog, cycle);
      ExpectReadingOrder(&dialog, cycle);
      walked = true;
    }
    dialog.hide();
    return QDialog::Rejected;
  });
  GetParam().open(*form);
  EXPECT_TRUE(walked) << "the window has no Tab stop";
}

INSTANTIATE_TEST_SUITE_P(Windows, SecondaryWindows, ::testing::ValuesIn(kWindows),
                         [](const auto& row) { return std::string(row.param.name); });

// One menu item reached from the keyboard: its menu by Alt+letter, then keys inside the menu.
struct MenuItemCase {
  const char* name;
  Qt::Key menuKey;
  const char* action;
  const char* caption;
  std::vector<Qt::Key> keys;  // pressed in the open menu
  std::function<void(ScriptedPrompts&)> script;
  std::function<void(TZorvForm&, const LinkRecord&)> check;
};

std::ostream& operator<<(std::ostream& out, const MenuItemCase& c) {
  return out << c.name;
}

class MenuItems : public KeyboardFixture, public ::testing::WithParamInterface<MenuItemCase> {};

auto ExpectCommand(Command command) {
  return [command](TZorvForm&, const LinkRecord& links) {
    EXPECT_EQ(links.commands, std::vector<Command>{command});
  };
}
auto ExpectProductPage(int page) {
  return [page](TZorvForm& form, const LinkRecord&) {
    EXPECT_EQ(form.findChild<QStackedWidget*>("ProductNotebook")->currentIndex(), page);
  };
}
auto Nothing() {
  return [](ScriptedPrompts&) {};
}

const MenuItemCase kMenuItems[] = {
    {"Open",
     Qt::Key_F,
     "Open1",
     "&Open",
     {Qt::Key_O},
     [](ScriptedPrompts& p) { p.ExpectOpenFile(QString()); },
     nullptr},
    {"Save",
     Qt::Key_F,
     "Save1",
     "&Save",
     {Qt::Key_S},
     [](ScriptedPrompts& p) { p.ExpectSaveFile(QString()); },
     nullptr},
    {"Print",
     Qt::Key_F,
     "Print1",
     "&Print",
     {Qt::Key_P},
     [](ScriptedPrompts& p) { p.ExpectPrinterSetup(false); },
     nullptr},
    {"Exit",
     Qt::Key_F,
     "Exit1",
     "&Exit",
     {Qt::Key_E},
     Nothing(),
     [](TZorvForm& form, const LinkRecord& links) {
       EXPECT_FALSE(form.isVisible());
       EXPECT_EQ(links.live, 0);
     }},
    {"LogWindow",
     Qt::Key_V,
     "LogWindow1",
     "&Log Window",
     {Qt::Key_L},
     Nothing(),
     [](TZorvForm& form, const LinkRecord&) {
       EXPECT_TRUE(form.findChild<QAction*>("LogWindow1")->isChecked());
     }},
    // The product page items have no underlined letter: the arrow keys reach them.
    {"TarnovexMenu",
     Qt::Key_V,
     "TarnovexMenu1",
     "Tarnovex Menu",
     {Qt::Key_Down, Qt::Key_Down, Qt::Key_Return},
     Nothing(),
     ExpectProductPage(1)},
    {"HalverstonMenu",
     Qt::Key_V,
     "HalverstonMenu1",
     "Halverston Menu",
     {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Return},
     Nothing(),
     ExpectProductPage(3)},
    {"PortNumber",
     Qt::Key_D,
     "PortNumber1",
     "&Port Number",
     {Qt::Key_P},
     [](ScriptedPrompts& p) { p.ExpectModal([](QDialog&) { return QDialog::Rejected; }); },
     [](TZorvForm&, const LinkRecord& links) { EXPECT_EQ(links.startedOn.size(), 2u); }},
    {"SendCalibration",
     Qt::Key_D,
     "SendCal",
     "&Send Calibration",
     {Qt::Key_S},
     Nothing(),
     ExpectCommand({254, 0})},
    {"GetCalibration",
     Qt::Key_D,
     "GetCalibration1",
     "&Get Calibration",
     {Qt::Key_G},
     Nothing(),
     ExpectCommand({253, 0})},
    {"UpgradeFirmware",
     Qt::Key_D,
     "UpgradeFirmware1",
     "&Upgrade Firmware",
     {Qt::Key_U},
     Nothing(),
     ExpectCommand({251, 0})},
    {"About",
     Qt::Key_H,
     "About1",
     "&About",
     {Qt::Key_A},
     [](ScriptedPrompts& p) { p.ExpectModal([](QDialog&) { return QDialog::Accepted; }); },
     nullptr},
};

TEST_P(MenuItems, ReachedFromTheKeyboard) {
  const MenuItemCase& item = GetParam();
  ASSERT_NO_FATAL_FAILURE(ShowForm());
  // Start away from the page an item shows.
  Products()->setCurrentIndex(0);
  QAction* action = Action(item.action);
  ASSERT_NE(action, nullptr);
  EXPECT_EQ(action->text(), item.caption);
  QSignalSpy triggered(action, &QAction::triggered);

  QMenu* menu = MenuOpenedBy(item.menuKey);
  ASSERT_NE(menu, nullptr) << "Alt key opened no menu";
  ASSERT_TRUE(menu->actions().contains(action));
  item.script(prompts);
  for (Qt::Key key : item.keys) QTest::keyClick(menu, key);
  QApplication::processEvents();

  EXPECT_EQ(triggered.count(), 1);
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "the menu stayed open";
  if (item.check) item.check(*form, links);
  ClosePopup();
}

INSTANTIATE_TEST_SUITE_P(Menus, MenuItems, ::testing::ValuesIn(kMenuItems),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace zorv::test
