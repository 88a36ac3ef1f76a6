// The "Custom" tab as the user works it: custom boxes, axis drop-downs, the orange and purple
// groups, and what a refresh shows.
#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>

#include "tests/ui/custom/CustomTabFixture.h"
#include "tests/ui/SheetCheck.h"
#include "ui/pages/custom/CaptionedGroup.h"

namespace zorv::test {
namespace {

struct Slot {
  const char* prefix;
  std::size_t modeByte;
  std::size_t xByte;
};
const Slot kSlots[] = {{"NoButton", 34, 121},     {"RedButton", 35, 124},
                       {"GreenButton", 36, 127},  {"BlueButton", 37, 130},
                       {"YellowButton", 38, 133}, {"OrangeButton", 141, 142},
                       {"PurpleButton", 145, 146}};
const char* const kAxes[] = {"X", "Y", "Z"};

TEST_F(CustomTabTest, TickingStoresCustomAndUntickingStoresInactive) {
  SetJoystickType(3);  // every group usable
  for (const Slot& s : kSlots) {
    SCOPED_TRACE(s.prefix);
    host.image[s.modeByte] = 2;  // "PLOW": unticking must not bring it back
    host.RefreshControls(0);
    auto* box = Find<QCheckBox>(QString(s.prefix) + "Custom");
    ASSERT_FALSE(box->isChecked());
    const int refreshes = host.refreshCount;

    box->click();
    EXPECT_EQ(host.image[s.modeByte], 8);
    EXPECT_TRUE(box->isChecked());
    EXPECT_GT(host.refreshCount, refreshes) << "the tick refreshes the window";

    box->click();
    EXPECT_EQ(host.image[s.modeByte], 0);
    EXPECT_FALSE(box->isChecked());
  }
}

TEST_F(CustomTabTest, BoxShowsWhetherTheModeByteIsCustom) {
  const struct {
    std::uint8_t mode;
    bool ticked;
  } cases[] = {{8, true}, {0, false}, {9, false}, {10, false}, {255, false}, {8, true}};
  for (const Slot& s : kSlots) {
    for (const auto& c : cases) {
      host.image[s.modeByte] = c.mode;
      host.RefreshControls(0);
      EXPECT_EQ(Find<QCheckBox>(QString(s.prefix) + "Custom")->isChecked(), c.ticked)
          << s.prefix << " mode " << int(c.mode);
      EXPECT_EQ(host.image[s.modeByte], c.mode) << "the refresh keeps the mode byte";
    }
  }
}

TEST_F(CustomTabTest, AxisDropDownsListTheGroupsAndStoreTheItemNumber) {
  SetJoystickType(3);
  const struct {
    int index;
    const char* text;
  } items[] = {{0, "Inactive"},
               {1, "HOIST (up / down)"},
               {2, "PLOW (left / right)"},
               {3, "PLOW (up / down)"},
               {4, "WING HEEL (up / down)"},
               {5, "WING TOE (up / down)"},
               {6, "WING SLIDE (in / out)"},
               {7, "BLADE (left / right)"},
               {8, "BLADE (up / down)"},
               {9, "SWITCH GROUP 1"},
               {15, "SWITCH GROUP 7"},
               {20, "SWITCH GROUP 12"}};
  for (const Slot& s : kSlots) {
    for (std::size_t a = 0; a < 3; ++a) {
      auto* combo = Find<QComboBox>(QString(s.prefix) + kAxes[a] + "Axis");
      ASSERT_EQ(combo->count(), 21);
      for (const auto& item : items) {
        SCOPED_TRACE(combo->objectName().toStdString() + " " + item.text);
        EXPECT_EQ(combo->itemText(item.index), item.text);
        const SettingsImage before = host.image;
        const int refreshes = host.refreshCount;
        Choose(combo, item.index);
        SettingsImage expected = before;
        expected[s.xByte + a] = static_cast<std::uint8_t>(item.index);
        EXPECT_EQ(host.image, expected) << "only the axis byte changes";
        EXPECT_EQ(host.refreshCount, refreshes) << "an axis choice does not refresh";
      }
    }
  }
}

TEST_F(CustomTabTest, RefreshShowsAxisBytesAndKeepsUnknownOnes) {
  const struct {
    std::uint8_t value;
    int shown;
  } cases[] = {{0, 0}, {7, 7}, {20, 20}, {21, -1}, {200, -1}};
  for (const Slot& s : kSlots) {
    for (const auto& c : cases) {
      for (std::size_t a = 0; a < 3; ++a) host.image[s.xByte + a] = c.value;
      host.RefreshControls(0);
      for (std::size_t a = 0; a < 3; ++a) {
        EXPECT_EQ(Find<QComboBox>(QString(s.prefix) + kAxes[a] + "Axis")->currentIndex(), c.shown)
            << s.prefix << kAxes[a] << " byte " << int(c.value);
        EXPECT_EQ(host.image[s.xByte + a], c.value);
      }
    }
  }
}

TEST_F(CustomTabTest, OrangeAndPurpleApplyOnlyToTheEightButtonGrip) {
  const QColor grey(128, 128, 128);
  const struct {
    std::uint8_t type;
    bool usable;
  } cases[] = {{3, true}, {2, false}, {1, false}, {19, false}, {3, true}, {28, false}, {7, false}};
  const struct {
    const char* prefix;
    QColor colour;
  } groups[] = {{"OrangeButton", QColor(128, 0, 0)}, {"PurpleButton", QColor(128, 0, 128)}};
  for (const auto& c : cases) {
    SetJoystickType(c.type);
    for (const auto& g : groups) {
      SCOPED_TRACE(std::string(g.prefix) + " type " + std::to_string(c.type));
      const QString p = g.prefix;
      auto* group = Find<QGroupBox>(p + "CustomGroup");
      EXPECT_EQ(group->isEnabled(), c.usable);
      EXPECT_EQ(Find<QCheckBox>(p + "Custom")->isEnabled(), c.usable);
      for (const char* axis : kAxes)
        EXPECT_EQ(Find<QComboBox>(p + axis + "Axis")->isEnabled(), c.usable);
      EXPECT_EQ(CaptionColour(group), c.usable ? g.colour : grey);
    }
    // The other groups keep their own colours whatever the grip.
    EXPECT_EQ(CaptionColour(Find<QGroupBox>("RedButtonCustomGroup")), QColor(255, 0, 0));
    EXPECT_EQ(CaptionColour(Find<QGroupBox>("BlueButtonCustomGroup")), QColor(0, 0, 128));
    EXPECT_EQ(CaptionColour(Find<QGroupBox>("NoButtonCustomGroup")), QColor(0, 0, 0));
    EXPECT_TRUE(Find<QGroupBox>("YellowButtonCustomGroup")->isEnabled());
  }
}

TEST_F(CustomTabTest, CaptionsAndControlsAreReadableOnTheSheet) {
  const struct {
    const char* group;
    const char* caption;
  } captions[] = {{"NoButtonCustomGroup", "No Button Mode"},
                  {"RedButtonCustomGroup", "Red Button Mode"},
                  {"GreenButtonCustomGroup", "Green Button Mode"},
                  {"BlueButtonCustomGroup", "Blue Button Mode"},
                  {"YellowButtonCustomGroup", "Yellow Button Mode"},
                  {"OrangeButtonCustomGroup", "Orange Button Mode"},
                  {"PurpleButtonCustomGroup", "Purple Button Mode"}};
  for (const auto& c : captions) EXPECT_EQ(Find<QGroupBox>(c.group)->title(), c.caption);
  EXPECT_EQ(Find<QPushButton>("axisswitches")->text(), "Switch Group Setup");
  EXPECT_EQ(Find<QPushButton>("CustomHelpButton")->text(), "Custom Help");
  for (const Slot& s : kSlots) {
    EXPECT_EQ(Find<QCheckBox>(QString(s.prefix) + "Custom")->text(), "Activate Custom Mode");
  }

  // The longest item texts, and a few ticked boxes.
  for (std::size_t offset = 121; offset <= 135; ++offset) host.image[offset] = 6;
  host.image[124] = 20;
  host.image[133] = 4;
  host.image[35] = host.image[38] = host.image[141] = 8;
  for (std::uint8_t type : {std::uint8_t{3}, std::uint8_t{2}}) {
    SetJoystickType(type);
    sheet.show();
    ExpectReadable(sheet, QStringLiteral("/tmp/zorv-custom-tab-type%1.png").arg(type), {570, 360});
  }
}

}  // namespace
}  // namespace zorv::test
