// The stick pages: "2 HFX", "3 HFX" and "4 HFX".
#include "JoysticksFixture.h"

namespace zorv {
namespace {

using test::JoysticksFixture;

bool Shown(QWidget* w) {
  return !w->isHidden();
}

TEST(TwoStick, ChosenInJoystickCombo) {
  JoysticksFixture f;
  f.ChooseJoystick(3);
  EXPECT_EQ(f.Page(), 3);
  EXPECT_EQ(f.Combo("TwoStickComboBox")->currentText(),
            "Stick 1: Plow (port A)               Stick 2:  Hoist (port A)");
  EXPECT_EQ(f.Combo("TwoHoistButtonDropDown")->currentText(), "Safety");
  EXPECT_TRUE(Shown(f.Combo("TwoHoistButtonDropDown")));
  EXPECT_FALSE(Shown(f.Box("TwoButton2Checkbox")));
  EXPECT_FALSE(f.Box("TwoButton1Checkbox")->isChecked());
}

TEST(TwoStick, Variants) {
  struct Case {
    int item;
    int type, red, green;
    const char* label140;
    const char* label142;
    const char* j1;
    const char* j2;
    const char* button1;
    bool button1Enabled;
    bool button1Ticked;
    bool hoistDropDown;
  };
  const Case cases[] = {
      {0, 21, 5, 0, "Plow or JS2", "Hoist or JS1", "Plow (port A)", "Hoist (port A)", "Safety",
       true, false, true},
      {1, 22, 0, 6, "Hoist or JS1", "Wing/Blade or JS3", "Plow/Hoist (port A)",
       "Wing or Blade (port C)", "Plow/Hoist", false, true, false},
      {2, 25, 0, 0, "Plow or JS2", "Wing/Blade or JS3", "Plow (port A)", "Hook (port C)", "Safety",
       true, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.item);
    JoysticksFixture f;
    f.ChooseJoystick(3);
    f.Choose(f.Combo("TwoStickComboBox"), c.item);
    EXPECT_EQ(f.host.image[33], c.type);
    EXPECT_EQ(f.host.image[35], c.red);
    EXPECT_EQ(f.host.image[36], c.green);
    EXPECT_EQ(f.Combo("TwoStickComboBox")->currentIndex(), c.item);
    EXPECT_EQ(f.Label("Label140")->text(), c.label140);
    EXPECT_EQ(f.Label("Label142")->text(), c.label142);
    EXPECT_EQ(f.Label("TwoJ1Label")->text(), c.j1);
    EXPECT_EQ(f.Label("TwoJ2Label")->text(), c.j2);
    QCheckBox* b1 = f.Box("TwoButton1Checkbox");
    EXPECT_EQ(b1->text(), c.button1);
    EXPECT_EQ(b1->isEnabled(), c.button1Enabled);
    EXPECT_EQ(b1->isChecked(), c.button1Ticked);
    EXPECT_EQ(Shown(f.Combo("TwoHoistButtonDropDown")), c.hoistDropDown);
    EXPECT_EQ(Shown(f.Box("TwoButton2Checkbox")), !c.hoistDropDown);
  }
}

TEST(TwoStick, ButtonsOfTheSticks) {
  JoysticksFixture f;
  f.ChooseJoystick(3);
  // Stick 2's button in type 21: no refresh.
  const std::pair<int, int> hoist[] = {{2, 7}, {0, 0}, {1, 5}};
  for (auto [item, code] : hoist) {
    const int refreshes = f.host.refreshCount;
    f.Choose(f.Combo("TwoHoistButtonDropDown"), item);
    EXPECT_EQ(f.host.image[35], code);
    EXPECT_EQ(f.host.refreshCount, refreshes);
  }
  f.Box("TwoButton1Checkbox")->click();
  EXPECT_EQ(f.host.image[36], 5);
  EXPECT_TRUE(f.Box("TwoButton1Checkbox")->isChecked());
  f.Box("TwoButton1Checkbox")->click();
  EXPECT_EQ(f.host.image[36], 0);
  // Stick 2's box in type 25.
  f.Choose(f.Combo("TwoStickComboBox"), 2);
  f.Box("TwoButton2Checkbox")->click();
  EXPECT_EQ(f.host.image[37], 5);
  EXPECT_TRUE(f.Box("TwoButton2Checkbox")->isChecked());
  f.Box("TwoButton2Checkbox")->click();
  EXPECT_EQ(f.host.image[37], 0);
  EXPECT_FALSE(f.Box("TwoButton2Checkbox")->isChecked());
}

TEST(ThreeStick, ChosenInJoystickCombo) {
  JoysticksFixture f;
  f.ChooseJoystick(4);
  EXPECT_EQ(f.Combo("triomodes")->currentIndex(), 0);
  EXPECT_EQ(f.Combo("ThreeHoistButtonDropDown")->currentText(), "Safety");
  EXPECT_EQ(f.Combo("plowoptions")->currentText(), "None");
  EXPECT_EQ(f.Combo("ThreeWingButtonDropDown")->currentText(), "Primary / Button Secondary");
  EXPECT_EQ(f.Label("WingBladeLabel")->text(), "Primary Wing (port B)/Secondary Blade (port C)");
  EXPECT_EQ(f.Label("Label13")->text(), "Hoist Button:");
  EXPECT_EQ(f.Label("Label14")->text(), "Hoist");
}

TEST(ThreeStick, Variants) {
  struct Case {
    int item;
    int type;
    const char* label12;
    const char* label9;
    const char* label10;
    const char* wingBlade;  // with byte 37 = 6
  };
  const Case cases[] = {
      {0, 23, "Plow",
       "Plow Button:", "Wing/Blade Button:", "Primary Wing (port B)/Secondary Blade (port C)"},
      {1, 24, "Wing",
       "Wing Button:", "Plow/Blade Button:", "Primary Plow (port A)/Secondary Blade (port C)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.item);
    JoysticksFixture f;
    f.ChooseJoystick(4);
    f.Choose(f.Combo("triomodes"), c.item);
    EXPECT_EQ(f.host.image[33], c.type);
    EXPECT_EQ(f.Label("Label12")->text(), c.label12);
    EXPECT_EQ(f.Label("Label9")->text(), c.label9);
    EXPECT_EQ(f.Label("Label10")->text(), c.label10);
    EXPECT_EQ(f.Label("WingBladeLabel")->text(), c.wingBlade);
    for (const char* n : {"Label9", "Label10", "Label12", "Label13", "Label14", "WingBladeLabel"}) {
      EXPECT_TRUE(Shown(f.Label(n))) << n;
    }
    for (const char* n : {"joystick1", "joystick2a", "joystick2b", "joystick3"}) {
      EXPECT_FALSE(Shown(f.Combo(n))) << n;
    }
    EXPECT_FALSE(Shown(f.Label("Label119")));
    EXPECT_FALSE(Shown(f.Label("Label120")));
  }
}

TEST(ThreeStick, MiddleButton) {
  struct Case {
    int item;
    int code;
    const char* caption;  // type 23
  };
  const Case cases[] = {{3, 11, "Primary Wing (port B)/Secondary Blade (port C)"},
                        {1, 5, "Primary Wing (port B)"},
                        {0, 0, "Primary Wing (port B)"},
                        {2, 6, "Primary Wing (port B)/Secondary Blade (port C)"}};
  JoysticksFixture f;
  f.ChooseJoystick(4);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.item);
    f.Choose(f.Combo("ThreeWingButtonDropDown"), c.item);
    EXPECT_EQ(f.host.image[37], c.code);
    EXPECT_EQ(f.Label("WingBladeLabel")->text(), c.caption);
    EXPECT_EQ(f.Combo("ThreeWingButtonDropDown")->currentIndex(), c.item);
  }
  EXPECT_EQ(f.Combo("ThreeWingButtonDropDown")->itemText(3), "Toggle Primary/Secondary");
}

// The left and right buttons store without a refresh.
TEST(ThreeStick, LeftAndRightButtons) {
  struct Case {
    const char* dropDown;
    int item;
    std::size_t byte;
    int code;
  };
  const Case cases[] = {{"plowoptions", 2, 36, 12},
                        {"plowoptions", 1, 36, 5},
                        {"plowoptions", 0, 36, 0},
                        {"ThreeHoistButtonDropDown", 2, 35, 7},
                        {"ThreeHoistButtonDropDown", 0, 35, 0},
                        {"ThreeHoistButtonDropDown", 1, 35, 5}};
  JoysticksFixture f;
  f.ChooseJoystick(4);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.dropDown << " " << c.item);
    const int refreshes = f.host.refreshCount;
    f.Choose(f.Combo(c.dropDown), c.item);
    EXPECT_EQ(f.host.image[c.byte], c.code);
    EXPECT_EQ(f.host.refreshCount, refreshes);
  }
  // The next refresh shows them; codes not in a list show the first item.
  f.Load({{36, 12}, {35, 9}});
  EXPECT_EQ(f.Combo("plowoptions")->currentIndex(), 2);
  EXPECT_EQ(f.Combo("ThreeHoistButtonDropDown")->currentIndex(), 0);
}

TEST(ThreeStick, CustomSticks) {
  JoysticksFixture f;
  f.ChooseJoystick(4);
  f.Load({{195, 1}, {196, 6}, {197, 4}, {198, 9}});
  f.Choose(f.Combo("triomodes"), 2);
  EXPECT_EQ(f.host.image[33], 26);
  for (const char* n : {"Label9", "Label10", "Label12", "Label13", "Label14", "WingBladeLabel"}) {
    EXPECT_FALSE(Shown(f.Label(n))) << n;
  }
  EXPECT_EQ(f.Label("Label119")->text(), "Primary:");
  EXPECT_EQ(f.Label("Label120")->text(), "Secondary:");
  EXPECT_TRUE(Shown(f.Label("Label119")));
  EXPECT_TRUE(Shown(f.Label("Label120")));
  EXPECT_EQ(f.Combo("joystick1")->currentIndex(), 1);
  EXPECT_EQ(f.Combo("joystick2a")->currentText(), "Wing Slide (HYD B)");
  EXPECT_EQ(f.Combo("joystick2b")->currentIndex(), 4);
  EXPECT_EQ(f.Combo("joystick3")->currentIndex(), -1) << "a code past the list shows nothing";

  struct Case {
    const char* dropDown;
    int item;
    std::size_t byte;
  };
  const Case cases[] = {
      {"joystick3", 5, 198}, {"joystick1", 2, 195}, {"joystick2a", 3, 196}, {"joystick2b", 0, 197}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dropDown);
    EXPECT_TRUE(Shown(f.Combo(c.dropDown)));
    const int refreshes = f.host.refreshCount;
    f.Choose(f.Combo(c.dropDown), c.item);
    EXPECT_EQ(f.host.image[c.byte], c.item);
    EXPECT_EQ(f.host.refreshCount, refreshes);
  }
  EXPECT_EQ(f.Combo("joystick3")->currentText(), "Hook (HYD C)");
  // Back to a fixed layout: the function bytes stay.
  f.Choose(f.Combo("triomodes"), 0);
  EXPECT_EQ(f.host.image[198], 5);
  EXPECT_FALSE(Shown(f.Combo("joystick3")));
}

TEST(FourStick, FunctionsAndCaptions) {
  JoysticksFixture f;
  f.ChooseJoystick(7);
  EXPECT_EQ(f.host.image[33], 28);
  EXPECT_EQ(f.Combo("js1setting")->itemText(6), "Slide/Tilt (HYD B)");
  for (const char* n : {"js1checkbox", "js2checkbox", "js3checkbox", "js4checkbox"}) {
    EXPECT_EQ(f.Box(n)->text(), "Safety") << n;
  }
  EXPECT_FALSE(Shown(f.Box("js2checkbox")));
  struct Case {
    const char* dropDown;
    int item;
    std::size_t byte;
  };
  const Case cases[] = {{"js1setting", 1, 195},
                        {"js3setting", 2, 196},
                        {"js4setting", 6, 197},
                        {"js2setting", 5, 198},
                        {"js5setting", 4, 194}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dropDown);
    const int refreshes = f.host.refreshCount;
    f.Choose(f.Combo(c.dropDown), c.item);
    EXPECT_EQ(f.host.image[c.byte], c.item);
    EXPECT_GT(f.host.refreshCount, refreshes);
  }
  f.Load({{195, 3}, {194, 0}, {198, 7}});
  EXPECT_EQ(f.Combo("js1setting")->currentIndex(), 3);
  EXPECT_EQ(f.Combo("js5setting")->currentIndex(), 0);
  EXPECT_EQ(f.Combo("js2setting")->currentIndex(), -1);
}

TEST(FourStick, SafetyBoxes) {
  struct Case {
    const char* box;
    std::size_t byte;
  };
  const Case cases[] = {{"js1checkbox", 35}, {"js3checkbox", 37}, {"js4checkbox", 38}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.box);
    JoysticksFixture f;
    f.ChooseJoystick(7);
    f.Box(c.box)->click();
    EXPECT_EQ(f.host.image[c.byte], 5);
    EXPECT_TRUE(f.Box(c.box)->isChecked());
    f.Box(c.box)->click();
    EXPECT_EQ(f.host.image[c.byte], 0);
  }
  // A 1 left from a button joystick shows unticked and becomes 0; a 5 shows ticked.
  JoysticksFixture f;
  f.Load({{33, 28}, {35, 1}, {36, 5}, {37, 5}, {38, 12}});
  EXPECT_FALSE(f.Box("js1checkbox")->isChecked());
  EXPECT_TRUE(f.Box("js2checkbox")->isChecked());
  EXPECT_TRUE(f.Box("js3checkbox")->isChecked());
  EXPECT_FALSE(f.Box("js4checkbox")->isChecked());
  EXPECT_EQ(f.host.image[35], 0);
  EXPECT_EQ(f.host.image[36], 5);
  EXPECT_EQ(f.host.image[37], 5);
  EXPECT_EQ(f.host.image[38], 0);
}

}  // namespace
}  // namespace zorv
