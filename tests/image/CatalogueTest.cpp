// The settings catalogue: every byte of every layout accounted for, and Compare naming each
// difference with both texts.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "image/Catalogue.h"
#include "image/DefaultImage.h"
#include "image/QuirnLayout.h"
#include "image/TarnovexLayout.h"
#include "image/TextFields.h"
#include "image/ZorvLayout.h"

namespace zorv {
namespace {

constexpr Layout kLayouts[] = {Layout::Zorv, Layout::Tarnovex, Layout::Halverston, Layout::Quirn};

SettingsImage Defaults() {
  SettingsImage image;
  GlobalTrimPair trims;
  LoadDefaultImage(image, trims);
  return image;
}

TEST(Catalogue, EveryOffsetIsNamedOrListedUnnamedButNotBoth) {
  for (Layout layout : kLayouts) {
    std::vector<int> named(kImageSize, 0);
    for (const Setting& s : CatalogueOf(layout)) {
      for (const ByteRange& r : s.ranges) {
        ASSERT_LE(r.offset + r.length, kImageSize) << s.key;
        for (std::size_t o = r.offset; o < r.offset + r.length; ++o) ++named[o];
      }
    }
    std::set<std::size_t> unnamed(UnnamedOffsets(layout).begin(), UnnamedOffsets(layout).end());
    for (std::size_t o = 0; o < kImageSize; ++o) {
      EXPECT_TRUE(named[o] > 0 || unnamed.count(o) == 1) << LayoutName(layout) << " byte " << o;
      EXPECT_FALSE(named[o] > 0 && unnamed.count(o) == 1)
          << LayoutName(layout) << " byte " << o << " is named and listed unnamed";
    }
  }
}

TEST(Catalogue, KeysAreUniqueAndEveryRowNamesAControl) {
  for (Layout layout : kLayouts) {
    std::set<std::string> keys;
    for (const Setting& s : CatalogueOf(layout)) {
      EXPECT_TRUE(keys.insert(s.key).second) << s.key;
      EXPECT_EQ(s.key.rfind(LayoutName(layout) + ".", 0), 0U) << s.key;
      EXPECT_FALSE(s.controls.empty()) << s.key;
      EXPECT_FALSE(s.caption.empty()) << s.key;
    }
  }
}

struct CompareCase {
  const char* name;
  std::uint8_t product;
  void (*edit)(SettingsImage&);
  std::vector<std::string> lines;
};

TEST(Catalogue, CompareNamesEachDifferenceWithBothTexts) {
  const std::vector<CompareCase> cases = {
      {"on/off", 0, [](SettingsImage& i) { i[zorvfield::HoistLimitEnable] = 1; },
       {"Enable Hoist Limit: Off -> On"}},
      {"on/off by another byte", 0, [](SettingsImage& i) { i[zorvfield::HoistLimitEnable] = 2; },
       {"Enable Hoist Limit: Off (0) -> Off (2)"}},
      {"inverted on/off", 0, [](SettingsImage& i) { i[zorvfield::SafeStickOff] = 1; },
       {"Enable SafeStick: On -> Off"}},
      {"non-zero on", 0, [](SettingsImage& i) { i[zorvfield::ModeButtonsAreTrigger] = 5; },
       {"Mode Buttons Act As Trigger: Off -> On"}},
      {"number", 0, [](SettingsImage& i) { i[zorvfield::ControllerID] = 42; },
       {"Zorv ID: 0 -> 42"}},
      {"trim volts", 0, [](SettingsImage& i) { i[zorvfield::HoistUpMin] = 6; },
       {"Hoist Up minimum: 0.1v -> 0.3v"}},
      {"frequency, standard curve", 0, [](SettingsImage& i) { i[zorvfield::Frequency] = 25; },
       {"PWM Frequency: 115 Hertz -> 180 Hertz"}},
      {"frequency, Tarnovex curve", product::kTarnovex,
       [](SettingsImage& i) { i[tarnovexfield::Frequency] = 16; },
       {"Valve Frequency: 85 Hertz -> 150 Hertz"}},
      {"60 ms ticks", product::kHalverston, [](SettingsImage& i) { i[17] = 17; },
       {"Grip Close Time: 0.06 s -> 1.02 s"}},
      {"button mode", 0, [](SettingsImage& i) { i[zorvfield::RedButtonMode] = mode::kCustom; },
       {"Red mode: HOIST -> CUSTOM"}},
      {"joystick type", 0,
       [](SettingsImage& i) { i[zorvfield::JoystickType] = joystick::kSevrik; },
       {"Joystick type: 4 Button HG -> Sevrik"}},
      {"switch number", 0, [](SettingsImage& i) { i[zorvfield::SwitchGroupPlus(3)] = 4; },
       {"Switch Group 3 Switch Plus: switch 1 -> switch 5"}},
      {"slave mode", 0,
       [](SettingsImage& i) {
         i[zorvfield::GreenButtonMode] = mode::kSlave;
         i[zorvfield::GreenRemoteSelector] = 3;
       },
       {"Green mode: PLOW -> SLAVE", "Green Slave Mode: code 0 -> Blue"}},
      {"choice", 0, [](SettingsImage& i) { i[zorvfield::FloatTwoOutput] = 3; },
       {"Float Two output: None -> A2 - PLOW UP"}},
      {"label", 0, [](SettingsImage& i) { WriteLabel(i, zorvfield::RedButtonLabel, "lift"); },
       {"Red label: HOIST -> LIFT"}},
      {"label whose bytes past its text differ", 0,
       [](SettingsImage& i) { i[zorvfield::RedButtonLabel + 8] = 32; },
       {"Red label: HOIST (byte " + std::to_string(zorvfield::RedButtonLabel + 8) + " = 0) -> HOIST (byte " +
        std::to_string(zorvfield::RedButtonLabel + 8) + " = 32)"}},
      {"four sticks, named as the window shows them", 0,
       [](SettingsImage& i) {
         const int bytes[] = {4, 1, 2, 3, 5};  // 194..198
         for (int n = 0; n < 5; ++n) i[zorvfield::Stick4Function + static_cast<std::size_t>(n)] = static_cast<std::uint8_t>(bytes[n]);
       },
       {"JS1 function: None -> Hoist (HYD A)", "JS3 function: None -> Hook (HYD C)",
        "JS2 function: None -> Plow (HYD A)", "JS2 secondary function: None -> Wing (HYD B)",
        "JS4 function: None -> Blade (HYD C)"}},
      {"three sticks, custom type: the same bytes by their own names", 0,
       [](SettingsImage& i) { i[zorvfield::Stick1Function] = 1; },
       {"Hoist or JS1 function: None -> Hoist (HYD A)"}},
      {"float name", 0, [](SettingsImage& i) { WriteFloatName(i, zorvfield::FloatOneName, "PLOW"); },
       {"Float One Name:  -> PLOW"}},
      {"Quirn 16-bit field", product::kQuirn,
       [](SettingsImage& i) { WriteWord(i, quirnfield::ReduceStopPsi, 300); },
       {"Reduce Stop PSI: 65025 -> 300"}},
      {"Quirn plow weight in two places", product::kQuirn,
       [](SettingsImage& i) {
         i[quirnfield::UseMathSetup] = 1;
         WriteWord(i, quirnfield::ReduceStartWeight, 1000);
         WriteWord(i, quirnfield::IncreaseStartWeight, 1000);
       },
       {"Reduce Start Weight: 510 -> 1000", "Increase Start Weight: 510 -> 1000",
        "Plow Weight: 510 -> 1000", "Use Math Setup: Off -> On"}},
      {"Quirn plow weight whose two places disagree", product::kQuirn,
       [](SettingsImage& i) {
         i[quirnfield::UseMathSetup] = 1;
         WriteWord(i, quirnfield::IncreaseStartWeight, 600);
       },
       {"Increase Start Weight: 510 -> 600", "Plow Weight: 510 -> 510 / 600",
        "Use Math Setup: Off -> On"}},
      {"byte no setting covers", 0, [](SettingsImage& i) { i[250] = 7; }, {"byte 250: 0 -> 7"}},
      {"remote switch of a button that is no remote", 0,
       [](SettingsImage& i) { i[zorvfield::BlueRemoteSelector] = 3; }, {"byte 153: 0 -> 3"}},
      {"v1.0 controller: bytes past 120 are not exchanged", product::kZorv10,
       [](SettingsImage& i) {
         i[zorvfield::ControllerID] = 9;
         i[201] = 7;
         i[zorvfield::HoistLimitEnable] = 1;
       },
       {"Zorv ID: 0 -> 9"}},
  };
  for (const CompareCase& c : cases) {
    SettingsImage a = Defaults();
    if (std::string(c.name).rfind("four sticks", 0) == 0) a[zorvfield::JoystickType] = joystick::kFourHfx;
    if (std::string(c.name).rfind("three sticks", 0) == 0) a[zorvfield::JoystickType] = joystick::kThreeHfxCustom;
    SettingsImage b = a;
    c.edit(b);
    std::vector<std::string> lines;
    for (const Difference& d : Compare(a, b, c.product)) lines.push_back(d.Line());
    EXPECT_EQ(lines, c.lines) << c.name;
  }
}

TEST(Catalogue, DescribeFollowsTheLayoutSelection) {
  SettingsImage image = Defaults();
  EXPECT_NE(FindSetting(Layout::Zorv, "zorv.trim.hoist_up.min"), nullptr);
  EXPECT_EQ(Describe(image, 0).front().setting->key.rfind("zorv.", 0), 0U);
  image[kTarnovexMarkerOffset] = kTarnovexMarker;
  EXPECT_EQ(Describe(image, 0).front().setting->key.rfind("tarnovex.", 0), 0U);
  EXPECT_EQ(Describe(image, product::kQuirn).front().setting->key.rfind("quirn.", 0), 0U);
  EXPECT_EQ(Describe(image, product::kHalverston).front().setting->key.rfind("halverston.", 0), 0U);
  // A v1.0 controller exchanges 121 bytes: nothing beyond them is described.
  for (const Described& d : Describe(Defaults(), product::kZorv10)) {
    for (const ByteRange& r : d.setting->ranges) EXPECT_LE(r.offset + r.length, 121U) << d.setting->key;
  }
}

}  // namespace
}  // namespace zorv
