// The button pages: mode drop-downs, label edits, trigger and multi mode, always live.
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QPushButton>

#include "JoysticksFixture.h"

namespace zorv {
namespace {

using test::JoysticksFixture;
using test::Label9;

TEST(ButtonPages, ModeItems) {
  JoysticksFixture f;
  const QStringList basic = {"Inactive", "Hoist (port A)", "Plow (port A)", "Wing (port B)",
                             "Blade (port C)"};
  const QStringList noButton = basic + QStringList{"Custom"};
  const QStringList colour = noButton + QStringList{"Remote Button", "Slave Hydraulics"};
  auto items = [](QComboBox* c) {
    QStringList l;
    for (int i = 0; i < c->count(); ++i) l << c->itemText(i);
    return l;
  };
  for (const char* n : {"FourButton0DropDown", "FourButton1DropDown", "FourButton2DropDown",
                        "alwayslive", "alwayslive2"}) {
    EXPECT_EQ(items(f.Combo(n)), basic) << n;
  }
  for (const char* n : {"SixButton0DropDown", "EightButton0DropDown", "SlaveButton1DropDown",
                        "SlaveButton2DropDown", "SlaveButton3DropDown", "SlaveButton4DropDown"}) {
    EXPECT_EQ(items(f.Combo(n)), noButton) << n;
  }
  for (const char* n :
       {"SixButton1DropDown", "SixButton2DropDown", "SixButton3DropDown", "SixButton4DropDown",
        "EightButton1DropDown", "EightButton2DropDown", "EightButton3DropDown",
        "EightButton4DropDown", "EightButton5DropDown", "EightButton6DropDown"}) {
    EXPECT_EQ(items(f.Combo(n)), colour) << n;
  }
}

// Choosing a mode stores its code and the mode's name as the slot's label.
TEST(ButtonPages, ModeSelectionStoresCodeAndLabel) {
  struct Case {
    int joystick;
    const char* dropDown;
    int item;
    std::size_t modeByte;
    int code;
    std::size_t labelOffset;
    const char* label;
    const char* sixEdit;  // nullptr when the six-button grip has no such button
    const char* eightEdit;
  };
  const Case cases[] = {
      {2, "EightButton2DropDown", 7, 36, 10, 48, " SLAVE  ", "SixButton2LabelEdit",
       "EightButton2LabelEdit"},
      {1, "SixButton1DropDown", 6, 35, 9, 39, " REMOTE ", "SixButton1LabelEdit",
       "EightButton1LabelEdit"},
      {0, "FourButton2DropDown", 4, 36, 4, 48, " BLADE  ", "SixButton2LabelEdit",
       "EightButton2LabelEdit"},
      {0, "FourButton0DropDown", 1, 34, 1, 102, " HOIST  ", "SixButton0LabelEdit",
       "EightButton0LabelEdit"},
      {5, "SlaveButton4DropDown", 5, 38, 8, 66, " CUSTOM ", "SixButton4LabelEdit",
       "EightButton4LabelEdit"},
      {2, "EightButton6DropDown", 3, 145, 3, 84, "  WING  ", nullptr, "EightButton6LabelEdit"},
      {2, "EightButton5DropDown", 2, 141, 2, 75, "  PLOW  ", nullptr, "EightButton5LabelEdit"},
      {1, "SixButton3DropDown", 0, 37, 0, 57, "INACTIVE", "SixButton3LabelEdit",
       "EightButton3LabelEdit"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dropDown);
    JoysticksFixture f;
    f.ChooseJoystick(c.joystick);
    const int refreshes = f.host.refreshCount;
    f.Choose(f.Combo(c.dropDown), c.item);
    EXPECT_EQ(f.host.image[c.modeByte], c.code);
    EXPECT_EQ(f.LabelBytes(c.labelOffset), Label9(c.label));
    EXPECT_EQ(f.Combo(c.dropDown)->currentIndex(), c.item);
    const QString shown = QString(c.label).trimmed();
    if (c.sixEdit != nullptr) {
      EXPECT_EQ(f.Edit(c.sixEdit)->text(), shown);
    }
    EXPECT_EQ(f.Edit(c.eightEdit)->text(), shown);
    EXPECT_GT(f.host.refreshCount, refreshes);
  }
}

// Typing into a label edit stores the text upper case, centred, with the zero byte.
TEST(ButtonPages, LabelTyping) {
  struct Case {
    int joystick;
    const char* edit;
    const char* typed;
    std::size_t offset;
    const char* stored;
    const char* shown;
  };
  const Case cases[] = {
      {1, "SixButton4LabelEdit", "hook", 66, "  HOOK  ", "HOOK"},
      {2, "EightButton4LabelEdit", "hook", 66, "  HOOK  ", "HOOK"},
      {2, "EightButton5LabelEdit", "Salt", 75, "  SALT  ", "SALT"},
      {1, "SixButton0LabelEdit", "idle", 102, "  IDLE  ", "IDLE"},
      {1, "SixButton1LabelEdit", "snow plw", 39, "SNOW PLW", "SNOW PLW"},
      {1, "SixButton2LabelEdit", "toolongtext", 48, "TOOLONGT", "TOOLONGT"},
      {1, "SixButton3LabelEdit", "a", 57, "   A    ", "A"},
      {1, "alwayslivetext", "spread", 185, " SPREAD ", "SPREAD"},
      {2, "alwayslivetext2", "spread", 185, " SPREAD ", "SPREAD"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.edit);
    JoysticksFixture f;
    f.Load({{137, 1}});
    f.ChooseJoystick(c.joystick);
    QLineEdit* edit = f.Edit(c.edit);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(f.LabelBytes(c.offset), Label9("        ")) << "a cleared label is eight spaces";
    QTest::keyClicks(edit, c.typed);
    EXPECT_EQ(f.LabelBytes(c.offset), Label9(c.stored));
    EXPECT_EQ(edit->text(), c.shown);
  }
}

TEST(ButtonPages, LabelRefusesCharactersTheDisplayLacks) {
  JoysticksFixture f;
  f.ChooseJoystick(1);
  QLineEdit* edit = f.Edit("SixButton1LabelEdit");
  edit->setFocus();
  edit->selectAll();
  for (const QString& typed :
       {QString::fromUtf8("\xc3\xa9"), QString("t"), QString::fromUtf8("\xe2\x82\xac")}) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, typed);
    QApplication::sendEvent(edit, &press);
  }
  EXPECT_EQ(f.LabelBytes(39), Label9("   T    "));
}

// The refresh shows mode bytes through the drop-down mapping; codes without an item show nothing.
TEST(ButtonPages, RefreshShowsModeCodes) {
  struct Case {
    int code;
    int sixItem;   // SixButton1DropDown (8 items)
    int fourItem;  // FourButton1DropDown (5 items)
  };
  const Case cases[] = {{0, 0, 0},    {4, 4, 4},    {5, 2, 2},    {6, 3, 3},
                        {7, 4, 4},    {8, 5, -1},   {9, 6, -1},   {10, 7, -1},
                        {11, -1, -1}, {12, -1, -1}, {255, -1, -1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    JoysticksFixture f;
    f.Load({{33, 2}, {35, c.code}});
    EXPECT_EQ(f.Combo("SixButton1DropDown")->currentIndex(), c.sixItem);
    EXPECT_EQ(f.Combo("EightButton1DropDown")->currentIndex(), c.sixItem);
    EXPECT_EQ(f.Combo("FourButton1DropDown")->currentIndex(), c.fourItem);
    EXPECT_EQ(f.Combo("SlaveButton1DropDown")->currentIndex(), c.sixItem <= 5 ? c.sixItem : -1);
    EXPECT_EQ(f.host.image[35], c.code) << "the refresh leaves mode bytes as they are";
  }
}

TEST(ButtonPages, RefreshShowsLabels) {
  JoysticksFixture f;
  f.ChooseJoystick(2);
  EXPECT_EQ(f.Edit("SixButton1LabelEdit")->text(), "HOIST");
  EXPECT_EQ(f.Edit("EightButton4LabelEdit")->text(), "BLADE");
  EXPECT_EQ(f.Edit("EightButton6LabelEdit")->text(), "INACTIVE");
  f.Load({{57, ' '}, {58, 'S'}, {59, 'A'}, {60, 0}, {61, 'X'}});
  EXPECT_EQ(f.Edit("SixButton3LabelEdit")->text(), "SA") << "up to the zero byte, trimmed";
  EXPECT_EQ(f.Edit("EightButton3LabelEdit")->text(), "SA");
}

// Both always-live drop-downs and both label edits are off and blank.
void ExpectAlwaysLiveOffAndBlank(JoysticksFixture& f) {
  for (const char* a : {"alwayslive", "alwayslive2"}) {
    EXPECT_FALSE(f.Combo(a)->isEnabled()) << a;
    EXPECT_EQ(f.Combo(a)->currentIndex(), 0) << a;
  }
  for (const char* t : {"alwayslivetext", "alwayslivetext2"}) {
    EXPECT_FALSE(f.Edit(t)->isEnabled()) << t;
    EXPECT_EQ(f.Edit(t)->text(), " ") << t;
  }
}

// Unticking any of the three trigger boxes clears multi mode and always live.
TEST(ButtonPages, UntickingTriggerClearsAlwaysLive) {
  struct Case {
    int joystick;
    const char* trigger;
  };
  const Case cases[] = {{1, "ModeButtonsAreTriggerCheckbox"},
                        {2, "ModeButtonsAreTriggerCheckbox2"},
                        {0, "ModeButtonsAreTriggerCheckbox3"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.trigger);
    JoysticksFixture f;
    f.ChooseJoystick(c.joystick);
    f.Load(
        {{137, 1}, {162, 1}, {184, 3}, {185, 'S'}, {186, 'A'}, {187, 'L'}, {188, 'T'}, {189, 0}});
    ASSERT_TRUE(f.Box(c.trigger)->isChecked());
    ASSERT_EQ(f.Edit("alwayslivetext")->text(), "SALT");
    f.Box(c.trigger)->click();
    EXPECT_EQ(f.host.image[137], 0);
    EXPECT_EQ(f.host.image[162], 0);
    EXPECT_EQ(f.host.image[184], 0);
    EXPECT_EQ(f.LabelBytes(185), Label9("        "));
    for (const char* m : {"MultiModeCheckbox", "MultiModeCheckBox2", "MultiModeCheckbox3"}) {
      EXPECT_FALSE(f.Box(m)->isChecked()) << m;
      EXPECT_FALSE(f.Box(m)->isEnabled()) << m;
    }
    ExpectAlwaysLiveOffAndBlank(f);
  }
}

TEST(ButtonPages, TickingTriggerAndMultiMode) {
  JoysticksFixture f;
  f.ChooseJoystick(1);
  const int refreshes = f.host.refreshCount;
  f.Box("ModeButtonsAreTriggerCheckbox")->click();
  EXPECT_EQ(f.host.image[137], 1);
  EXPECT_TRUE(f.Box("MultiModeCheckbox")->isEnabled());
  EXPECT_TRUE(f.Box("MultiModeCheckBox2")->isEnabled());
  EXPECT_TRUE(f.Combo("alwayslive")->isEnabled());
  EXPECT_TRUE(f.Edit("alwayslivetext2")->isEnabled());
  f.Box("MultiModeCheckbox")->click();
  EXPECT_EQ(f.host.image[162], 1);
  f.Box("MultiModeCheckbox")->click();
  EXPECT_EQ(f.host.image[162], 0);
  EXPECT_EQ(f.host.refreshCount, refreshes) << "trigger and multi mode do not refresh";
  // The other pages catch up at the next refresh.
  EXPECT_FALSE(f.Box("ModeButtonsAreTriggerCheckbox3")->isChecked());
  f.host.RefreshControls(0);
  EXPECT_TRUE(f.Box("ModeButtonsAreTriggerCheckbox3")->isChecked());
}

// While byte 137 is 0 the always-live controls are off and blank; their bytes stay.
TEST(ButtonPages, AlwaysLiveDisabledWithoutTrigger) {
  JoysticksFixture f;
  f.ChooseJoystick(1);
  f.Load({{137, 0},
          {162, 1},
          {184, 3},
          {185, 'S'},
          {186, 'A'},
          {187, 'L'},
          {188, 'T'},
          {189, 0},
          {190, 'Q'},
          {193, 'Z'}});
  const SettingsImage stored = f.host.image;
  ExpectAlwaysLiveOffAndBlank(f);
  for (const char* m : {"MultiModeCheckbox", "MultiModeCheckBox2", "MultiModeCheckbox3"}) {
    EXPECT_TRUE(f.Box(m)->isChecked()) << m;
    EXPECT_FALSE(f.Box(m)->isEnabled()) << m;
  }
  for (std::size_t b = 162; b <= 193; ++b) EXPECT_EQ(f.host.image[b], stored[b]) << b;
  // With the trigger set, the same bytes show.
  f.Load({{137, 2}});
  EXPECT_EQ(f.Combo("alwayslive")->currentIndex(), 3);
  EXPECT_EQ(f.Combo("alwayslive2")->currentIndex(), 3);
  EXPECT_EQ(f.Edit("alwayslivetext")->text(), "SALT");
  EXPECT_TRUE(f.Edit("alwayslivetext2")->isEnabled());
  EXPECT_EQ(f.host.image[137], 2) << "any non-zero trigger byte stays";
}

// Every always-live item but "Inactive" shows the warning; the two drop-downs mirror each other.
TEST(ButtonPages, AlwaysLiveWarning) {
  for (const char* name : {"alwayslive", "alwayslive2"}) {
    for (int item = 0; item < 5; ++item) {
      SCOPED_TRACE(testing::Message() << name << " item " << item);
      JoysticksFixture f;
      f.Load({{137, 1}, {184, item == 0 ? 2 : 0}});
      const int refreshes = f.host.refreshCount;
      QStringList texts;
      QString okText;
      if (item != 0) {
        f.host.scriptedPrompts.ExpectModal([&](QDialog& dialog) {
          for (QLabel* l : dialog.findChildren<QLabel*>()) texts << l->text();
          if (auto* ok = dialog.findChild<QPushButton*>()) okText = ok->text();
          EXPECT_EQ(dialog.size(), QSize(237, 239));
          return QDialog::Rejected;  // the choice stands whatever the user does
        });
      }
      f.Choose(f.Combo(name), item);
      EXPECT_EQ(f.host.image[184], item);
      EXPECT_EQ(f.Combo("alwayslive")->currentIndex(), item);
      EXPECT_EQ(f.Combo("alwayslive2")->currentIndex(), item);
      EXPECT_EQ(f.host.refreshCount, refreshes);
      if (item == 0) {
        EXPECT_TRUE(f.host.scriptedPrompts.shown.empty());
        continue;
      }
      ASSERT_EQ(f.host.scriptedPrompts.shown.size(), 1u);
      EXPECT_EQ(f.host.scriptedPrompts.shown[0].title, "Always Live Mode Warning");
      EXPECT_TRUE(texts.contains("Always Live Mode"));
      EXPECT_TRUE(texts.contains(
          "Caution:  Activating this feature disables the safety trigger and makes the Zentiq "
          "joystick active in the mode you have chosen.  Any joystick motion will move the device "
          "selected."));
      EXPECT_TRUE(
          texts.contains("Dravik Controls recommends leaving the \"Always Live Mode\" "
                         "INACTIVE for maximum operator safety,"));
      EXPECT_EQ(okText, "OK");
    }
  }
}

}  // namespace
}  // namespace zorv
