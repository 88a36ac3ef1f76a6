// The "Global" tab: frequency, valve type presets, global trims and "Set All Trims", option
// boxes and delays, their refresh repairs, and the layout of the sheet.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "image/Encodings.h"
#include "tests/ui/trims/ZorvSheets.h"
#include "ui/pages/global/GlobalTab.h"
#include "ui/widgets/SpinEdit.h"

namespace zorv {
namespace {

const QString kReminder = "You must press \"Set All Trims\" to change all PWM channels";
const QString kConfirm = "This will change ALL the trims!  Are you sure?";

class GlobalTabTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sheets.Add<GlobalTab>();
    sheets.Start();
    freq = sheets.Find<QScrollBar>("FreqScrollbar");
    valves = sheets.Find<QComboBox>("ValveComboBox");
    globalMin = sheets.Find<QScrollBar>("GlobalMinScrollBar");
    globalMax = sheets.Find<QScrollBar>("GlobalMaxScrollbar");
  }
  void Choose(int item) {
    valves->setCurrentIndex(item);
    emit valves->activated(item);
  }
  SettingsImage& image() { return sheets.host.image; }

  test::ZorvSheets sheets;
  QScrollBar* freq = nullptr;
  QComboBox* valves = nullptr;
  QScrollBar* globalMin = nullptr;
  QScrollBar* globalMax = nullptr;
};

TEST_F(GlobalTabTest, StartShowsTheDefaultFrequencyAndOther) {
  EXPECT_EQ(freq->value(), 115);
  EXPECT_EQ(sheets.Find<QLabel>("HertzLabel")->text(), "115 Hertz");
  EXPECT_EQ(image()[0], 49);
  EXPECT_EQ(valves->currentIndex(), 0);
  EXPECT_EQ(valves->count(), 7);
  EXPECT_EQ(valves->itemText(0), "Other");
  EXPECT_EQ(valves->itemText(6), "");
  EXPECT_EQ(valves->itemText(2), "HydraForce" + QString(24, ' ') + "TYPICAL END" + QString(8, ' ') +
                                     "RQ-7314 or RQ-7317");
  EXPECT_EQ(freq->minimum(), 25);
  EXPECT_EQ(freq->maximum(), 450);
  EXPECT_EQ(freq->singleStep(), 5);
  EXPECT_EQ(freq->pageStep(), 10);
}

struct PresetCase {
  int item;
  const char* name;  // start of the item text
  int code;          // byte 0 afterwards; -1: unchanged
  int barShown;      // bar after the refresh; -1: unchanged
  int min, max;      // global pair afterwards; -1: unchanged
};

class ValvePresets : public GlobalTabTest, public ::testing::WithParamInterface<PresetCase> {};

TEST_P(ValvePresets, LoadFrequencyAndGlobalPairKeepTheItemAndRemind) {
  const PresetCase c = GetParam();
  // Start from a state the preset must change: 300 Hz by hand and a global pair of 10/20.
  freq->setValue(300);
  globalMin->setValue(256 - 10);
  globalMax->setValue(256 - 20);
  const SettingsImage before = image();
  const GlobalTrimPair trimsBefore = sheets.host.trims;
  sheets.host.scriptedPrompts.ExpectMessage();

  Choose(c.item);

  if (*c.name == '\0') {
    EXPECT_TRUE(valves->itemText(c.item).isEmpty());
  } else {
    EXPECT_TRUE(valves->itemText(c.item).startsWith(c.name));
  }
  EXPECT_EQ(valves->currentIndex(), c.item) << "the selection stays";
  ASSERT_EQ(sheets.host.scriptedPrompts.MessageTexts().size(), 1U);
  EXPECT_EQ(sheets.host.scriptedPrompts.MessageTexts()[0], kReminder);
  EXPECT_EQ(image()[0], c.code < 0 ? before[0] : c.code);
  // Without a preset the refresh still shows the hand-set byte rounded down (300 -> 295).
  EXPECT_EQ(freq->value(), c.barShown < 0 ? FreqBarPosition(before[0]) : c.barShown);
  EXPECT_EQ(sheets.Find<QLabel>("HertzLabel")->text(),
            QString::number(freq->value()) + " Hertz");
  EXPECT_EQ(sheets.host.trims.min, c.min < 0 ? trimsBefore.min : c.min);
  EXPECT_EQ(sheets.host.trims.max, c.max < 0 ? trimsBefore.max : c.max);
  for (std::size_t b = 1; b <= 32; ++b) EXPECT_EQ(image()[b], before[b]) << "no trim changes, byte " << b;
  EXPECT_EQ(sheets.Find<QLabel>("GlobalMinValueLabel")->text(),
            QString::fromStdString(TrimVoltsText(sheets.host.trims.min)));
}

INSTANTIATE_TEST_SUITE_P(
    Items, ValvePresets,
    ::testing::Values(PresetCase{0, "Other", -1, -1, -1, -1},
                      PresetCase{1, "MP18", HzToFreqCode(180), 180, 70, 120},
                      PresetCase{2, "HydraForce", 17, 220, 70, 150},
                      PresetCase{3, "Husco", HzToFreqCode(105), 105, 88, 180},
                      PresetCase{4, "Sauer-Danfoss", HzToFreqCode(105), 105, 50, 120},
                      PresetCase{5, "Walvoil", 17, 220, 70, 140},
                      PresetCase{6, "", -1, -1, -1, -1}));

struct FreqCase {
  int position;
  int code;
  int shownAfterRefresh;
};

class FrequencyByHand : public GlobalTabTest, public ::testing::WithParamInterface<FreqCase> {};

TEST_P(FrequencyByHand, StoredAtOnceShownRoundedDownAfterARefresh) {
  const FreqCase c = GetParam();
  sheets.host.scriptedPrompts.ExpectMessage();
  Choose(2);  // HydraForce
  const int refreshes = sheets.host.refreshCount;
  freq->setValue(c.position);
  EXPECT_EQ(image()[0], c.code);
  EXPECT_EQ(sheets.Find<QLabel>("HertzLabel")->text(), QString::number(c.position) + " Hertz");
  EXPECT_EQ(valves->currentIndex(), 0) << "a frequency of its own shows Other";
  EXPECT_EQ(sheets.host.refreshCount, refreshes) << "the bar calls no refresh";

  sheets.host.RefreshControls(0);
  EXPECT_EQ(freq->value(), c.shownAfterRefresh);
  EXPECT_EQ(sheets.Find<QLabel>("HertzLabel")->text(),
            QString::number(c.shownAfterRefresh) + " Hertz");
  EXPECT_EQ(image()[0], c.code) << "the byte keeps the value stored by hand";
  EXPECT_EQ(valves->currentIndex(), 0);
}

INSTANTIATE_TEST_SUITE_P(Positions, FrequencyByHand,
                         ::testing::Values(FreqCase{100, 64, 95}, FreqCase{120, 49, 115},
                                           FreqCase{150, 34, 150}, FreqCase{25, 255, 30},
                                           FreqCase{450, 1, 450}));

TEST_F(GlobalTabTest, GlobalBarsDragEachOtherAndShowOther) {
  sheets.host.scriptedPrompts.ExpectMessage();
  Choose(1);
  globalMax->setValue(256 - 100);
  EXPECT_EQ(sheets.host.trims.max, 100);
  EXPECT_EQ(valves->currentIndex(), 0);
  globalMin->setValue(256 - 130);
  EXPECT_EQ(sheets.host.trims.min, 130);
  EXPECT_EQ(sheets.host.trims.max, 130) << "maximum dragged up";
  EXPECT_EQ(globalMax->value(), 256 - 130);
  EXPECT_EQ(sheets.Find<QLabel>("GlobalMaxValueLabel")->text(), "6.5v");
  globalMax->setValue(256 - 40);
  EXPECT_EQ(sheets.host.trims.min, 40) << "minimum dragged down";
  EXPECT_EQ(sheets.host.trims.max, 40);
}

struct SetAllCase {
  const char* name;
  int valveItem;  // chosen before; -1: the bars are moved by hand to 70/150
  bool yes;
  std::uint8_t hoist[4];  // bytes 1..4 afterwards
  std::uint8_t min, max;  // bytes 5..32 afterwards, odd and even
};

class SetAllTrims : public GlobalTabTest, public ::testing::WithParamInterface<SetAllCase> {};

TEST_P(SetAllTrims, WritesEveryPairAfterTheConfirmation) {
  const SetAllCase c = GetParam();
  for (std::size_t b = 1; b <= 32; ++b) image()[b] = static_cast<std::uint8_t>(b + 3);
  if (c.valveItem >= 0) {
    sheets.host.scriptedPrompts.ExpectMessage();
    Choose(c.valveItem);
  } else {
    globalMax->setValue(256 - 150);
    globalMin->setValue(256 - 70);
  }
  const SettingsImage before = image();
  sheets.host.scriptedPrompts.ExpectConfirm(c.yes);

  sheets.Find<QPushButton>("GlobalButton")->click();

  ASSERT_FALSE(sheets.host.scriptedPrompts.shown.empty());
  EXPECT_EQ(sheets.host.scriptedPrompts.shown.back().text, kConfirm);
  if (!c.yes) {
    EXPECT_EQ(image(), before) << c.name << ": No leaves every byte";
    return;
  }
  for (std::size_t b = 1; b <= 4; ++b) EXPECT_EQ(image()[b], c.hoist[b - 1]) << c.name << " byte " << b;
  for (std::size_t b = 5; b <= 32; ++b) {
    EXPECT_EQ(image()[b], b % 2 == 1 ? c.min : c.max) << c.name << " byte " << b;
  }
  EXPECT_EQ(image()[0], before[0]);
  EXPECT_EQ(image()[33], before[33]);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SetAllTrims,
    ::testing::Values(SetAllCase{"Husco", 3, true, {124, 232, 124, 232}, 88, 180},
                      SetAllCase{"Other at 70/150", -1, true, {70, 150, 70, 150}, 70, 150},
                      SetAllCase{"MP18", 1, true, {70, 120, 70, 120}, 70, 120},
                      SetAllCase{"No", 3, false, {}, 0, 0}));

TEST_F(GlobalTabTest, SafeStickIsStoredInverted) {
  auto* box = sheets.Find<QCheckBox>("safestickbox");
  EXPECT_EQ(box->text(), "Enable SafeStick");
  EXPECT_TRUE(box->isChecked()) << "byte 0 means on";
  box->click();
  EXPECT_EQ(image()[183], 1);
  box->click();
  EXPECT_EQ(image()[183], 0);

  for (std::uint8_t stored : {std::uint8_t{1}, std::uint8_t{0}, std::uint8_t{7}}) {
    image()[183] = stored;
    sheets.host.RefreshControls(0);
    EXPECT_EQ(box->isChecked(), stored != 1) << int(stored);
    EXPECT_EQ(image()[183], stored == 1 ? 1 : 0) << int(stored);
  }
}

TEST_F(GlobalTabTest, OptionBoxesStoreOneOrZeroAndRepairOtherValues) {
  struct Box {
    const char* name;
    const char* caption;
    std::size_t byte;
  };
  const Box boxes[] = {
      {"cartridgebox", "Enable Power/ Cartridge Valve (see note below)", 235},
      {"hoistlimitenable", "Enable Hoist Limit", 236},
      {"screen_to_BR", "Screen data to Brevicor", 239},
      {"bodylockenable", "Enable Body Lock", 243},
      {"hoistlimitkey", "Enable Key for Limit", 244},
  };
  for (const Box& b : boxes) {
    auto* box = sheets.Find<QCheckBox>(b.name);
    EXPECT_EQ(box->text(), b.caption);
    const int refreshes = sheets.host.refreshCount;
    box->click();
    EXPECT_EQ(image()[b.byte], 1) << b.name;
    box->click();
    EXPECT_EQ(image()[b.byte], 0) << b.name;
    EXPECT_EQ(sheets.host.refreshCount, refreshes) << b.name << " calls no refresh";
    for (std::uint8_t stored : {std::uint8_t{1}, std::uint8_t{2}, std::uint8_t{255}}) {
      image()[b.byte] = stored;
      sheets.host.RefreshControls(0);
      EXPECT_EQ(box->isChecked(), stored == 1) << b.name << " " << int(stored);
      EXPECT_EQ(image()[b.byte], stored == 1 ? 1 : 0) << b.name << " " << int(stored);
    }
  }
}

TEST_F(GlobalTabTest, StartupDelayKeepsATypedNumberUntilTheBoxIsLeft) {
  auto* spin = sheets.Find<SpinEdit>("startupdelay");
  auto* edit = spin->findChild<QLineEdit*>();
  auto* other = sheets.Find<QCheckBox>("safestickbox");
  QApplication::setActiveWindow(sheets.sheets[0].get());
  spin->setFocus();
  edit->selectAll();
  QTest::keyClicks(edit, "30");
  EXPECT_EQ(image()[242], 20) << "stored as the box will show it";
  EXPECT_EQ(edit->text(), "30") << "the refresh leaves the typed number";

  other->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(edit->text(), "20");
  EXPECT_EQ(image()[242], 20);

  spin->setFocus();
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Backspace);
  EXPECT_EQ(image()[242], 1) << "an empty box counts as its minimum";
}

TEST_F(GlobalTabTest, DelayRepairsOfTheRefresh) {
  struct Case {
    const char* spin;
    std::size_t byte;
    std::uint8_t stored;
    std::uint8_t after;
    int shown;
  };
  const Case cases[] = {
      {"bladeuptime", 241, 11, 0, 0},   {"bladeuptime", 241, 10, 10, 10},
      {"bladeuptime", 241, 255, 0, 0},  {"startupdelay", 242, 81, 1, 1},
      {"startupdelay", 242, 80, 80, 20}, {"startupdelay", 242, 0, 0, 1},
      {"startupdelay", 242, 7, 7, 7},
  };
  for (const Case& c : cases) {
    image()[c.byte] = c.stored;
    sheets.host.RefreshControls(0);
    EXPECT_EQ(image()[c.byte], c.after) << c.spin << " " << int(c.stored);
    EXPECT_EQ(sheets.Find<SpinEdit>(c.spin)->value(), c.shown) << c.spin << " " << int(c.stored);
  }
}

TEST_F(GlobalTabTest, BladeUpTimeStoresAndRefreshes) {
  auto* spin = sheets.Find<SpinEdit>("bladeuptime");
  const int refreshes = sheets.host.refreshCount;
  spin->stepBy(3);
  EXPECT_EQ(image()[241], 3);
  EXPECT_GT(sheets.host.refreshCount, refreshes);
}

TEST_F(GlobalTabTest, SheetFitsTheWindow) { test::CheckSheet(*sheets.sheets[0], "global"); }

}  // namespace
}  // namespace zorv
