// The "Remote/Slave" tab as the user and the refresh work it: the controller's ID, the remote
// pairs under each button mode, and the repairs the refresh stores.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

#include "tests/ui/SheetCheck.h"
#include "tests/ui/TabFixture.h"
#include "ui/pages/custom/CaptionedGroup.h"
#include "ui/pages/remote/RemoteTab.h"
#include "ui/widgets/SpinEdit.h"

namespace zorv::test {
namespace {

struct Colour {
  const char* name;
  std::size_t modeByte;
  std::size_t selector;
  std::size_t target;
  QColor caption;
};
const Colour kColours[] = {
    {"Red", 35, 149, 150, QColor(255, 0, 0)},     {"Green", 36, 151, 152, QColor(0, 128, 0)},
    {"Blue", 37, 153, 154, QColor(0, 128, 128)},  {"Yellow", 38, 155, 156, QColor(128, 128, 0)},
    {"Orange", 141, 157, 158, QColor(128, 0, 0)}, {"Purple", 145, 159, 160, QColor(128, 0, 128)}};
const QColor kGrey(128, 128, 128);
constexpr std::uint8_t kRemote = 9, kSlave = 10, kHoist = 1;

class RemoteTabTest : public TabTest<RemoteTab> {
 protected:
  // The mode drop-downs live on the Joysticks tab; their handler writes the byte and refreshes.
  void SetMode(const Colour& c, std::uint8_t mode) {
    host.image[c.modeByte] = mode;
    host.RefreshControls(0);
  }

  struct Shown {
    QColor caption;
    bool targetEnabled;
    int targetMin, targetMax, target;
    QString typeLabel;
    bool dropdownShown, switchShown;
    int dropdownIndex, switchNumber;
  };
  Shown Show(const Colour& c) {
    const QString n = c.name;
    auto* target = Find<SpinEdit>(n + "TargetIDSpin");
    auto* dropdown = Find<QComboBox>(n + "RemoteModeDropdown");
    auto* remote = Find<SpinEdit>(n + "RemoteIDSpin");
    return {CaptionColour(Find<QGroupBox>(n + "RemoteGroup")),
            target->isEnabled(),
            target->minimum(),
            target->maximum(),
            target->value(),
            Find<QLabel>(n + "SlaveTypeLabel")->text(),
            !dropdown->isHidden(),
            !remote->isHidden(),
            dropdown->currentIndex(),
            remote->value()};
  }
};

TEST_F(RemoteTabTest, FreshImageThroughRemoteSlaveAndBackToHoist) {
  for (const Colour& c : kColours) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(host.image[c.selector], 255) << "the first refresh greys every unused pair";
    host.image[c.selector] = 0;  // what a fresh image holds
    host.image[c.target] = 1;

    SetMode(c, kRemote);
    Shown s = Show(c);
    EXPECT_EQ(s.caption, c.caption);
    EXPECT_TRUE(s.targetEnabled);
    EXPECT_EQ(s.typeLabel, "Switch No.:");
    EXPECT_TRUE(s.switchShown);
    EXPECT_FALSE(s.dropdownShown);
    EXPECT_EQ(s.switchNumber, 1);
    EXPECT_EQ(std::pair(s.targetMin, s.targetMax), std::pair(101, 200));
    EXPECT_EQ(s.target, 101);
    EXPECT_EQ(host.image[c.selector], 0);
    EXPECT_EQ(host.image[c.target], 1) << "a low target is only shown at the minimum";

    SetMode(c, kSlave);
    s = Show(c);
    EXPECT_EQ(s.caption, c.caption);
    EXPECT_EQ(s.typeLabel, "Slave Mode:");
    EXPECT_TRUE(s.dropdownShown);
    EXPECT_FALSE(s.switchShown);
    EXPECT_EQ(s.dropdownIndex, 0);
    EXPECT_EQ(Find<QComboBox>(QString(c.name) + "RemoteModeDropdown")->currentText(), "Red");
    EXPECT_EQ(std::pair(s.targetMin, s.targetMax), std::pair(10, 100));
    EXPECT_EQ(s.target, 10);
    EXPECT_EQ(host.image[c.selector], 1);
    EXPECT_EQ(host.image[c.target], 1);

    SetMode(c, kHoist);
    s = Show(c);
    EXPECT_EQ(s.caption, kGrey);
    EXPECT_FALSE(s.targetEnabled);
    EXPECT_EQ(s.typeLabel, "");
    EXPECT_FALSE(s.dropdownShown);
    EXPECT_FALSE(s.switchShown);
    EXPECT_EQ(std::pair(s.targetMin, s.targetMax), std::pair(255, 255));
    EXPECT_EQ(s.target, 255);
    EXPECT_EQ(s.dropdownIndex, -1);
    EXPECT_EQ(host.image[c.selector], 255);
    EXPECT_EQ(host.image[c.target], 255);
  }
}

TEST_F(RemoteTabTest, RefreshRepairsPairsForTheMode) {
  const struct {
    std::uint8_t mode, selector, target;
    std::uint8_t selectorAfter, targetAfter;
    int shownTarget, shownSwitch, shownDropdown;
  } cases[] = {
      {kRemote, 0, 250, 0, 200, 200, 1, -1},     // target 250 shows and stores 200
      {kRemote, 30, 150, 11, 150, 150, 12, -1},  // switch 31 becomes 12
      {kRemote, 11, 200, 11, 200, 200, 12, -1}, {kRemote, 4, 5, 4, 5, 101, 5, 3},
      {kSlave, 5, 150, 4, 100, 100, 5, 3},  // remote 5/150 as slave: yellow, 100
      {kSlave, 0, 55, 1, 55, 55, 2, 0},         {kSlave, 200, 9, 4, 9, 10, 5, 3},
      {kSlave, 2, 100, 2, 100, 100, 3, 1},      {0, 3, 120, 255, 255, 255, 12, -1},
      {8, 3, 120, 255, 255, 255, 12, -1},       {11, 0, 1, 255, 255, 255, 12, -1},
  };
  for (const Colour& c : kColours) {
    for (const auto& k : cases) {
      SCOPED_TRACE(std::string(c.name) + " mode " + std::to_string(k.mode) + " pair " +
                   std::to_string(k.selector) + "/" + std::to_string(k.target));
      host.image[c.modeByte] = k.mode;
      host.image[c.selector] = k.selector;
      host.image[c.target] = k.target;
      host.RefreshControls(0);
      EXPECT_EQ(host.image[c.selector], k.selectorAfter);
      EXPECT_EQ(host.image[c.target], k.targetAfter);
      const Shown s = Show(c);
      EXPECT_EQ(s.target, k.shownTarget);
      EXPECT_EQ(s.switchNumber, k.shownSwitch);
      EXPECT_EQ(s.dropdownIndex, k.shownDropdown);
    }
  }
}

TEST_F(RemoteTabTest, RedSwitch31BecomesSwitch12) {
  host.image[35] = kRemote;
  host.image[149] = 30;
  host.RefreshControls(0);
  EXPECT_EQ(host.image[149], 11);
  EXPECT_EQ(Find<SpinEdit>("RedRemoteIDSpin")->value(), 12);
}

TEST_F(RemoteTabTest, UserEditsWriteTheirByteWithoutRefresh) {
  for (const Colour& c : kColours) {
    SCOPED_TRACE(c.name);
    const QString n = c.name;
    SetMode(c, kSlave);
    const int refreshes = host.refreshCount;
    auto* dropdown = Find<QComboBox>(n + "RemoteModeDropdown");
    for (const auto& [index, stored] : {std::pair{2, 3}, std::pair{3, 4}, std::pair{0, 1}}) {
      Choose(dropdown, index);
      EXPECT_EQ(host.image[c.selector], stored) << dropdown->itemText(index).toStdString();
    }
    auto* target = Find<SpinEdit>(n + "TargetIDSpin");
    target->setValue(40);
    QTest::keyClick(target, Qt::Key_Up);
    EXPECT_EQ(host.image[c.target], 41);
    EXPECT_EQ(host.refreshCount, refreshes) << "pair edits do not refresh";

    SetMode(c, kRemote);
    auto* remote = Find<SpinEdit>(n + "RemoteIDSpin");
    remote->setValue(11);
    QTest::keyClick(remote, Qt::Key_Up);
    EXPECT_EQ(remote->value(), 12);
    EXPECT_EQ(host.image[c.selector], 11);
    QTest::keyClick(remote, Qt::Key_Up);
    EXPECT_EQ(host.image[c.selector], 11) << "the arrows stop at switch 12";
    for (int i = 0; i < 15; ++i) QTest::keyClick(remote, Qt::Key_Down);
    EXPECT_EQ(host.image[c.selector], 0) << "and at switch 1";
  }
}

TEST_F(RemoteTabTest, ZorvIdSpinWritesTheControllerIdAndRefreshes) {
  auto* spin = Find<SpinEdit>("IDSpin2");
  EXPECT_EQ(spin->minimum(), 0);
  EXPECT_EQ(spin->maximum(), 255);
  const struct {
    std::uint8_t start;
    Qt::Key key;
    int presses;
    std::uint8_t stored;
  } cases[] = {{0, Qt::Key_Up, 1, 1},
               {77, Qt::Key_Down, 3, 74},
               {254, Qt::Key_Up, 4, 255},
               {2, Qt::Key_Down, 5, 0}};
  for (const auto& c : cases) {
    host.image[119] = c.start;
    host.RefreshControls(0);
    ASSERT_EQ(spin->value(), c.start) << "the refresh shows byte 119";
    const int refreshes = host.refreshCount;
    for (int i = 0; i < c.presses; ++i) QTest::keyClick(spin, c.key);
    EXPECT_EQ(host.image[119], c.stored);
    EXPECT_EQ(spin->value(), c.stored);
    EXPECT_GT(host.refreshCount, refreshes) << "the ID change refreshes";
  }
}

TEST_F(RemoteTabTest, SpinEditsTakeArrowsOnly) {
  host.image[119] = 12;
  host.RefreshControls(0);
  for (const char* name : {"IDSpin2", "RedTargetIDSpin", "PurpleRemoteIDSpin"}) {
    auto* spin = Find<SpinEdit>(name);
    const int before = spin->value();
    QTest::keyClicks(spin, "9");
    EXPECT_EQ(spin->value(), before) << name << " took a typed digit";
  }
  EXPECT_EQ(host.image[119], 12);
}

TEST_F(RemoteTabTest, CaptionsAndLayoutAreReadable) {
  for (const Colour& c : kColours) {
    EXPECT_EQ(Find<QGroupBox>(QString(c.name) + "RemoteGroup")->title(),
              QString(c.name) + " Button Remote Settings");
    auto* dropdown = Find<QComboBox>(QString(c.name) + "RemoteModeDropdown");
    ASSERT_EQ(dropdown->count(), 4);
    EXPECT_EQ(dropdown->itemText(0), "Red");
    EXPECT_EQ(dropdown->itemText(3), "Yellow");
  }
  // Red and orange remote, green and purple slave, the rest unused.
  host.image[35] = host.image[141] = kRemote;
  host.image[36] = host.image[145] = kSlave;
  host.image[149] = 4;
  host.image[150] = 180;
  host.image[151] = 2;
  host.image[152] = 60;
  host.image[119] = 42;
  host.RefreshControls(0);
  sheet.show();
  ExpectReadable(sheet, "/tmp/zorv-remote-tab.png", {570, 360});
}

}  // namespace
}  // namespace zorv::test
