// The Custom and Remote/Slave tabs together with the Joysticks tab, as in the window: a change
// on one tab shows on the others through the refresh.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QTest>
#include <QWidget>

#include "tests/ui/custom/TabFixture.h"
#include "ui/pages/custom/CaptionedGroup.h"
#include "ui/pages/custom/CustomTab.h"
#include "ui/pages/joysticks/JoysticksTab.h"
#include "ui/pages/remote/RemoteTab.h"
#include "ui/widgets/SpinEdit.h"

namespace zorv::test {
namespace {

// The Remote/Slave tab of the base, with the Joysticks and Custom tabs beside it.
class CrossTabTest : public TabTest<RemoteTab> {
 protected:
  CrossTabTest() {
    for (QWidget* s : {&joysticksSheet, &customSheet}) s->resize(570, 360);
    host.refresher().AddZorvTarget(&joysticks);
    host.refresher().AddZorvTarget(&custom);
    host.RefreshControls(1);
  }

  template <typename T>
  static T* FindOn(QWidget& on, const QString& name) {
    T* w = on.findChild<T*>(name);
    EXPECT_NE(w, nullptr) << name.toStdString();
    return w;
  }

  QWidget& remoteSheet = sheet;
  QWidget joysticksSheet, customSheet;
  JoysticksTab joysticks{host, &joysticksSheet};
  CustomTab custom{host, &customSheet};
};

TEST_F(CrossTabTest, ZorvIdOnTheRemoteTabShowsOnTheJoysticksHeader) {
  auto* id2 = FindOn<SpinEdit>(remoteSheet, "IDSpin2");
  auto* id = FindOn<SpinEdit>(joysticksSheet, "IDSpin");
  for (int presses : {1, 4, 2}) {
    for (int i = 0; i < presses; ++i) QTest::keyClick(id2, Qt::Key_Up);
    EXPECT_EQ(id->value(), host.image[119]);
    EXPECT_EQ(id2->value(), host.image[119]);
  }
  EXPECT_EQ(host.image[119], 7);
}

TEST_F(CrossTabTest, CustomBoxAndSixButtonDropDownShowTheSameMode) {
  Choose(FindOn<QComboBox>(joysticksSheet, "JoystickCombo"), 1);  // "6 Button HG"
  ASSERT_EQ(host.image[33], 2);
  auto* red = FindOn<QComboBox>(joysticksSheet, "SixButton1DropDown");
  auto* box = FindOn<QCheckBox>(customSheet, "RedButtonCustom");

  box->click();
  EXPECT_EQ(host.image[35], 8);
  EXPECT_EQ(red->currentText(), "Custom");
  box->click();
  EXPECT_EQ(host.image[35], 0);
  EXPECT_EQ(red->currentText(), "Inactive");

  Choose(red, 5);  // "Custom" chosen on the Joysticks tab ticks the box
  EXPECT_TRUE(box->isChecked());
  Choose(red, 1);
  EXPECT_FALSE(box->isChecked());
}

TEST_F(CrossTabTest, ButtonModeChosenOnTheJoysticksTabDrivesTheRemoteGroup) {
  Choose(FindOn<QComboBox>(joysticksSheet, "JoystickCombo"), 2);  // "8 Button HG"
  const struct {
    const char* dropdown;
    const char* group;
    std::size_t selector;
    QColor colour;
  } buttons[] = {{"EightButton1DropDown", "Red", 149, QColor(255, 0, 0)},
                 {"EightButton6DropDown", "Purple", 159, QColor(128, 0, 128)}};
  for (const auto& b : buttons) {
    SCOPED_TRACE(b.group);
    auto* mode = FindOn<QComboBox>(joysticksSheet, b.dropdown);
    const QString g = b.group;
    auto* caption = FindOn<QGroupBox>(remoteSheet, g + "RemoteGroup");
    auto* label = FindOn<QLabel>(remoteSheet, g + "SlaveTypeLabel");

    Choose(mode, 6);  // "Remote Button"
    EXPECT_EQ(CaptionColour(caption), b.colour);
    EXPECT_EQ(label->text(), "Switch No.:");
    EXPECT_EQ(host.image[b.selector], 11) << "255 held to switch 12";
    Choose(mode, 7);  // "Slave Hydraulics"
    EXPECT_EQ(label->text(), "Slave Mode:");
    EXPECT_EQ(host.image[b.selector], 4);
    Choose(mode, 1);  // "Hoist (port A)"
    EXPECT_EQ(CaptionColour(caption), QColor(128, 128, 128));
    EXPECT_EQ(label->text(), "");
    EXPECT_EQ(host.image[b.selector], 255);
    EXPECT_EQ(host.image[b.selector + 1], 255);
  }
}

}  // namespace
}  // namespace zorv::test
