// Choosing the joystick type: the type byte, the slot resets, the stick defaults, SafeStick, and
// how the refresh shows and repairs a stored type.
#include "JoysticksFixture.h"
#include "ui/pages/global/GlobalTab.h"

namespace zorv {
namespace {

using test::JoysticksFixture;

constexpr std::size_t kSlotBytes[] = {34, 35, 36, 37, 38, 141, 145};

std::vector<int> SlotModes(const SettingsImage& image) {
  std::vector<int> modes;
  for (std::size_t b : kSlotBytes) modes.push_back(image[b]);
  return modes;
}

TEST(JoystickCombo, ItemsAndPages) {
  JoysticksFixture f;
  QComboBox* combo = f.Combo("JoystickCombo");
  const char* items[] = {"4 Button HG", "6 Button HG", "8 Button HG", "2 HFX",
                         "3 HFX",       "Slave Mode",  "Sevrik",      "4 HFX"};
  const char* pages[] = {"FourButton", "SixButton", "EightButton", "TwoStick",
                         "ThreeStick", "SlaveMode", "Sevrik",      "4 HFX"};
  ASSERT_EQ(combo->count(), 8);
  ASSERT_EQ(f.tab.JoystickNotebook->count(), 8);
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(combo->itemText(i), items[i]);
    EXPECT_EQ(f.tab.JoystickNotebook->widget(i)->objectName(), pages[i]);
  }
}

// Each item writes its type, shows its page, and the stick items set their buttons.
TEST(JoystickCombo, TypeAndStickDefaults) {
  struct Case {
    int item;
    int type;
    std::vector<int> modes;  // bytes 34, 35, 36, 37, 38, 141, 145 afterwards
  };
  const Case cases[] = {
      {0, 1, {0, 1, 2, 3, 4, 0, 0}},  {1, 2, {0, 1, 2, 3, 4, 0, 0}},
      {2, 3, {0, 1, 2, 3, 4, 0, 0}},  {3, 21, {0, 5, 0, 0, 4, 0, 0}},
      {4, 23, {0, 5, 0, 6, 4, 0, 0}}, {5, 19, {0, 1, 2, 3, 4, 0, 0}},
      {6, 27, {0, 1, 2, 3, 4, 0, 0}}, {7, 28, {0, 1, 2, 3, 4, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.item);
    JoysticksFixture f;
    f.ChooseJoystick(c.item);
    EXPECT_EQ(f.host.image[33], c.type);
    EXPECT_EQ(f.Page(), c.item);
    if (c.item == 7) {
      // The four-stick page keeps only a 5 as a safety; the other bytes become 0.
      EXPECT_EQ(SlotModes(f.host.image), (std::vector<int>{0, 0, 0, 0, 0, 0, 0}));
    } else {
      EXPECT_EQ(SlotModes(f.host.image), c.modes);
    }
  }
}

// Leaving a stick page for a button joystick resets the slots only from "2 HFX" and "3 HFX".
TEST(JoystickCombo, SlotResetOnLeavingStickPages) {
  const std::vector<int> defaults = {0, 1, 2, 3, 4, 0, 0};
  for (int from : {3, 4, 6, 7}) {
    for (int to : {0, 1, 2, 5}) {
      SCOPED_TRACE(testing::Message() << from << " -> " << to);
      JoysticksFixture f;
      f.ChooseJoystick(from);
      // Safety bytes the four-stick page keeps, and other slots as a file might hold them.
      f.Load({{34, 2}, {35, 5}, {36, 5}, {37, 0}, {38, 5}, {141, 3}, {145, 4}});
      const std::vector<int> before = SlotModes(f.host.image);
      f.ChooseJoystick(to);
      if (from == 3 || from == 4) {
        EXPECT_EQ(SlotModes(f.host.image), defaults);
      } else {
        EXPECT_EQ(SlotModes(f.host.image), before);
      }
    }
  }
}

// "4 Button HG" has no "Custom": coming from a page that offers it, custom slots get defaults.
TEST(JoystickCombo, CustomReplacedForFourButton) {
  struct Case {
    int from;
    const char* dropDown;
    std::size_t modeByte;
    int expected;  // mode byte after "4 Button HG"
  };
  const Case cases[] = {
      {1, "SixButton1DropDown", 35, 1},    {2, "EightButton2DropDown", 36, 2},
      {2, "EightButton6DropDown", 145, 0}, {1, "SixButton0DropDown", 34, 0},
      {5, "SlaveButton4DropDown", 38, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dropDown);
    JoysticksFixture f;
    f.ChooseJoystick(c.from);
    f.Choose(f.Combo(c.dropDown), 5);  // "Custom"
    ASSERT_EQ(f.host.image[c.modeByte], 8);
    const SettingsImage before = f.host.image;
    f.ChooseJoystick(0);
    EXPECT_EQ(f.host.image[c.modeByte], c.expected);
    EXPECT_EQ(f.host.image[33], 1);
    for (std::size_t b = 39; b <= 110; ++b)
      EXPECT_EQ(f.host.image[b], before[b]) << "label byte " << b;
  }
  // From "4 Button HG" itself nothing is replaced.
  JoysticksFixture f;
  f.Load({{35, 8}});
  f.ChooseJoystick(0);
  EXPECT_EQ(f.host.image[35], 8);
}

TEST(JoystickCombo, SafeStickOnlyForButtonJoysticks) {
  for (int item = 0; item < 8; ++item) {
    SCOPED_TRACE(item);
    JoysticksFixture f;
    f.Load({{183, 1}});
    f.ChooseJoystick(item);
    const bool button = item <= 2 || item == 5;
    EXPECT_EQ(f.host.image[183], button ? 0 : 1);
  }
}

// With the Global tab in the window, its "Enable SafeStick" box follows: ticked by a button
// joystick, left alone by the others.
TEST(JoystickCombo, EnableSafeStickOnTheGlobalTab) {
  for (int item = 0; item < 8; ++item) {
    SCOPED_TRACE(item);
    test::FakePageHost host;
    QWidget joysticksSheet, globalSheet;
    JoysticksTab joysticks(host, &joysticksSheet);
    GlobalTab global(host, &globalSheet);
    host.refresher().AddZorvTarget(&joysticks);
    host.refresher().AddZorvTarget(&global);
    host.image[183] = 1;
    host.RefreshControls(1);
    auto* safestick = globalSheet.findChild<QCheckBox*>("safestickbox");
    ASSERT_NE(safestick, nullptr);
    ASSERT_FALSE(safestick->isChecked());
    JoysticksFixture::Choose(joysticks.JoystickCombo, item);
    const bool button = item <= 2 || item == 5;
    EXPECT_EQ(safestick->isChecked(), button);
    EXPECT_EQ(host.image[183], button ? 0 : 1);
  }
}

// The refresh shows a stored type as its item and repairs types it does not know.
TEST(JoystickCombo, RefreshShowsAndRepairsType) {
  struct Case {
    int stored;
    int item;
    int after;
  };
  const Case cases[] = {{1, 0, 1},   {2, 1, 2},   {3, 2, 3},   {21, 3, 21}, {22, 3, 22},
                        {25, 3, 25}, {23, 4, 23}, {24, 4, 24}, {26, 4, 26}, {19, 5, 19},
                        {27, 6, 27}, {28, 7, 28}, {7, 0, 1},   {4, 0, 1},   {0, 0, 1},
                        {18, 0, 1},  {29, 0, 1},  {255, 0, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    JoysticksFixture f;
    f.Load({{33, c.stored}});
    EXPECT_EQ(f.Combo("JoystickCombo")->currentIndex(), c.item);
    EXPECT_EQ(f.Page(), c.item);
    EXPECT_EQ(f.host.image[33], c.after);
  }
}

TEST(IDSpin, TypingStoresTheControllerId) {
  struct Case {
    const char* typed;
    int stored;
    const char* shown;
  };
  // A number past the range is stored held to it and shows as typed until the box is left.
  const Case cases[] = {{"42", 42, "42"}, {"255", 255, "255"}, {"0", 0, "0"}, {"300", 255, "300"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    JoysticksFixture f;
    f.Load({{119, 7}});
    auto* spin = f.Find<QAbstractSpinBox>("IDSpin");
    ASSERT_EQ(spin->text(), "7");
    spin->setFocus();
    spin->selectAll();
    const int refreshes = f.host.refreshCount;
    QTest::keyClicks(spin, c.typed);
    EXPECT_EQ(f.host.image[119], c.stored);
    EXPECT_EQ(spin->text(), c.shown);
    EXPECT_GT(f.host.refreshCount, refreshes);
  }
}

}  // namespace
}  // namespace zorv
