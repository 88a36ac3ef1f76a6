// The Custom and Remote/Slave tabs together with the Joysticks tab, as in the window: a change
// on one tab shows on the others through the refresh.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QTest>
#include <QWidget>
#include <utility>
#include <vector>

#include "tests/ui/TabFixture.h"
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

// The Zorv ID on either tab, stepped (IDSpin2 takes arrows only) or typed, is byte 119 and shows
// on the other tab; the box typed in keeps what was typed.
TEST_F(CrossTabTest, ZorvIdOnEitherTabShowsOnTheOther) {
  auto* id2 = FindOn<SpinEdit>(remoteSheet, "IDSpin2");
  auto* id = FindOn<SpinEdit>(joysticksSheet, "IDSpin");
  struct Case {
    SpinEdit* box;
    SpinEdit* other;
    int ups;            // presses of Up, or
    const char* typed;  // text typed over the number
    int stored;
  };
  const Case cases[] = {{id2, id, 1, nullptr, 1},  {id2, id, 4, nullptr, 5},
                        {id, id2, 2, nullptr, 7},  {id, id2, 0, "42", 42},
                        {id, id2, 0, "300", 255},  {id, id2, 0, "0", 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    for (int i = 0; i < c.ups; ++i) QTest::keyClick(c.box, Qt::Key_Up);
    if (c.typed != nullptr) {
      c.box->selectAll();
      QTest::keyClicks(c.box, c.typed);
      EXPECT_EQ(c.box->text(), c.typed);
    }
    EXPECT_EQ(host.image[119], c.stored);
    EXPECT_EQ(c.other->text(), QString::number(c.stored));
  }
  // The byte the refresh shows is on both.
  host.image[119] = 99;
  host.RefreshControls(1);
  EXPECT_EQ(id->text(), "99");
  EXPECT_EQ(id2->text(), "99");
}

// Showing an image stores nothing into it: a control whose handler writes a byte (the custom
// mode boxes, the two-stick safety boxes, the blank always-live label) shows it quietly, also
// when what it shows changes from the image shown before.
TEST_F(CrossTabTest, ShowingAnImageKeepsItsBytes) {
  using Bytes = std::vector<std::pair<std::size_t, int>>;
  struct Case {
    const char* name;
    Bytes before;  // the image shown first
    Bytes shown;   // then this one, whose bytes must stay
  };
  const Case cases[] = {
      {"custom box unticked", {{33, 2}, {35, 8}}, {{33, 2}, {35, 3}}},
      {"custom box ticked", {{33, 2}, {35, 3}}, {{33, 2}, {35, 8}}},
      {"two-stick box beside a plow", {{33, 21}, {36, 0}}, {{33, 21}, {36, 2}}},
      {"two-stick second box", {{33, 22}, {37, 0}}, {{33, 22}, {37, 3}}},
      {"always live off", {{33, 2}, {137, 1}, {185, 'X'}, {186, 0}},
       {{33, 2}, {137, 0}, {184, 3}, {185, 'S'}, {186, 'A'}, {187, 'L'}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (auto [offset, value] : c.before) host.image[offset] = static_cast<std::uint8_t>(value);
    host.RefreshControls(1);
    for (auto [offset, value] : c.shown) host.image[offset] = static_cast<std::uint8_t>(value);
    const SettingsImage shown = host.image;
    host.RefreshControls(1);
    EXPECT_EQ(host.image.bytes, shown.bytes);
  }
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
