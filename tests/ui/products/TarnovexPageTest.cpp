// The Tarnovex page: layout selection, system mode, safety and option boxes, captions, trims
// and the live test with its own release.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <array>
#include <utility>
#include <vector>

#include "image/Encodings.h"
#include "tests/ui/products/ProductPageFixture.h"
#include "ui/pages/tarnovex/TarnovexPage.h"

namespace zorv {
namespace {

using Commands = std::vector<std::pair<std::uint8_t, std::uint8_t>>;

struct TarnovexFixture : test::ProductPageFixture<TarnovexPage> {
  TarnovexFixture() : ProductPageFixture(productpage::kTarnovex, 0) {
    host.image[kTarnovexMarkerOffset] = kTarnovexMarker;
    // The fresh image holds Zorv trims here; a Tarnovex image starts with every option off.
    for (std::size_t b = 17; b <= 24; ++b) host.image[b] = 0;
    host.image[29] = 0;
  }
  std::array<bool, 3> SafetiesEnabled() {
    return {Find<QCheckBox>("joy1saftey")->isEnabled(), Find<QCheckBox>("joy2saftey")->isEnabled(),
            Find<QCheckBox>("joy3safety")->isEnabled()};
  }
  QString Caption(const char* group) { return Find<QGroupBox>(group)->title(); }
};

TEST(TarnovexPage, ProductCodeSetsTheMarkerThatKeepsThePage) {
  TarnovexFixture f;
  f.host.image[kTarnovexMarkerOffset] = 1;
  f.host.productCode = product::kTarnovex;
  f.host.RefreshControls(1);
  EXPECT_EQ(f.host.image[kTarnovexMarkerOffset], kTarnovexMarker);
  EXPECT_EQ(f.host.productCode, 0);
  f.host.RefreshControls(1);
  EXPECT_EQ(f.host.productPagesShown,
            (std::vector<int>{productpage::kTarnovex, productpage::kTarnovex}));
}

// System mode as stored and attitude control: which safety boxes are usable, the group
// captions, and the mode stored afterwards.
struct ModeCase {
  std::uint8_t previousMode;  // shown by an earlier refresh
  std::uint8_t mode;
  std::uint8_t attitude;
  std::array<bool, 3> enabled;
  std::array<const char*, 6> captions;  // GroupBox16, 17, 19, 18, 22, 12
  std::uint8_t storedMode;
  int shownIndex;
};

constexpr std::array<const char*, 6> kDefaultCaptions = {
    "Plow Left", "Plow Right", "Hoist Left", "Hoist Right", "RT Wing In", "RT Wing Out"};
constexpr std::array<const char*, 6> kBladeCaptions = {"Plow Left",   "Plow Right", "Blade Left",
                                                       "Blade Right", "Blade Down", "Blade Up"};

class TarnovexModes : public ::testing::TestWithParam<ModeCase> {};

TEST_P(TarnovexModes, SafetiesCaptionsAndStoredMode) {
  const ModeCase& c = GetParam();
  TarnovexFixture f;
  f.host.image[19] = c.previousMode;
  f.host.RefreshControls(1);
  f.host.image[19] = c.mode;
  f.host.image[23] = c.attitude;
  f.host.RefreshControls(1);

  EXPECT_EQ(f.SafetiesEnabled(), c.enabled);
  const std::array<const char*, 6> groups = {"GroupBox16", "GroupBox17", "GroupBox19",
                                             "GroupBox18", "GroupBox22", "GroupBox12"};
  for (std::size_t i = 0; i < groups.size(); ++i) {
    EXPECT_EQ(f.Caption(groups[i]), c.captions[i]) << groups[i];
  }
  EXPECT_EQ(f.host.image[19], c.storedMode);
  EXPECT_EQ(f.Find<QComboBox>("joysetting")->currentIndex(), c.shownIndex);
  EXPECT_EQ(f.Find<QCheckBox>("attitudecontrol")->isChecked(), c.attitude == 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TarnovexModes,
    ::testing::Values(
        // Attitude control: the boxes follow the old mode 0, the captions the new mode 4.
        ModeCase{
            9,
            0,
            1,
            {false, false, false},
            {"LT Wing Out", "LT Wing In", "Blade Left", "Blade Right", "Blade Down", "Blade Up"},
            4,
            0},
        ModeCase{0, 12, 0, {false, false, false}, kDefaultCaptions, 12, -1},
        ModeCase{9, 12, 0, {true, true, true}, kDefaultCaptions, 12, -1},
        ModeCase{0, 1, 0, {true, true, false}, kDefaultCaptions, 1, 1},
        ModeCase{0, 5, 0, {false, true, false}, kDefaultCaptions, 5, 5},
        ModeCase{
            0,
            6,
            0,
            {true, false, false},
            {"Plow Left", "Plow Right", "LT Wing Out", "LT Wing In", "RT Wing In", "RT Wing Out"},
            6,
            6},
        ModeCase{0,
                 8,
                 0,
                 {true, false, false},
                 {"Plow Left", "Plow Right", "JIB Out", "JIB In", "RT Wing In", "RT Wing Out"},
                 8,
                 8},
        ModeCase{0, 9, 0, {true, true, true}, kBladeCaptions, 9, 9},
        ModeCase{9,
                 7,
                 0,
                 {false, false, false},
                 {"Plow Left", "Plow Right", "LT Wing Out", "LT Wing In", "Blade Down", "Blade Up"},
                 7,
                 7},
        ModeCase{
            0,
            2,
            3,
            {true, false, false},
            {"LT Wing Out", "LT Wing In", "Hoist Left", "Hoist Right", "RT Wing In", "RT Wing Out"},
            2,
            2}));

TEST(TarnovexPage, AttitudeControlModeShowsAtTheNextRefresh) {
  TarnovexFixture f;
  f.host.image[19] = 1;
  f.host.image[23] = 1;
  f.host.RefreshControls(1);
  EXPECT_EQ(f.Find<QComboBox>("joysetting")->currentIndex(), 1);
  f.host.RefreshControls(1);
  EXPECT_EQ(f.Find<QComboBox>("joysetting")->currentIndex(), 4);
  EXPECT_EQ(f.SafetiesEnabled(), (std::array<bool, 3>{false, false, false}));
}

TEST(TarnovexPage, ChoosingASystemModeStoresItAndEnablesItsSafeties) {
  struct Choice {
    const char* item;
    std::array<bool, 3> enabled;
  };
  const std::array<Choice, 4> choices = {{{"Plow Only", {false, true, false}},
                                          {"3 stick", {true, true, true}},
                                          {"Hoist Only", {true, false, false}},
                                          {"Single (Hoist / Plow)", {false, false, false}}}};
  TarnovexFixture f;
  f.host.RefreshControls(1);
  auto* combo = f.Find<QComboBox>("joysetting");
  for (const Choice& c : choices) {
    const int index = combo->findText(c.item);
    ASSERT_GE(index, 0) << c.item;
    combo->setCurrentIndex(index);
    emit combo->activated(index);
    EXPECT_EQ(f.host.image[19], index) << c.item;
    EXPECT_EQ(f.SafetiesEnabled(), c.enabled) << c.item;
  }
}

// Every on/off byte of the page: 1 ticks its box, anything else unticks it and becomes 0;
// clicking the box stores 1 and 0 again.
TEST(TarnovexPage, FlagBoxesShowRepairAndStore) {
  struct Flag {
    const char* box;
    std::size_t byte;
  };
  const std::array<Flag, 8> flags = {{{"joy1saftey", 17},
                                      {"joy2saftey", 18},
                                      {"joy3safety", 29},
                                      {"plowfloat", 20},
                                      {"hoistlimit", 21},
                                      {"cartridge", 22},
                                      {"attitudecontrol", 23},
                                      {"togglevplow", 24}}};
  for (const Flag& flag : flags) {
    for (std::uint8_t stored : {std::uint8_t{2}, std::uint8_t{1}, std::uint8_t{255}}) {
      TarnovexFixture f;
      f.host.image[19] = 9;  // every safety box usable
      f.host.image[flag.byte] = stored;
      f.host.RefreshControls(1);
      auto* box = f.Find<QCheckBox>(flag.box);
      EXPECT_EQ(box->isChecked(), stored == 1) << flag.box << " " << int(stored);
      EXPECT_EQ(f.host.image[flag.byte], stored == 1 ? 1 : 0) << flag.box << " " << int(stored);

      const int refreshes = f.host.refreshCount;
      box->click();
      EXPECT_EQ(f.host.image[flag.byte], stored == 1 ? 0 : 1) << flag.box;
      EXPECT_EQ(f.host.refreshCount, refreshes + 1) << flag.box;
    }
  }
}

TEST(TarnovexPage, FrequencyShowsTheTarnovexCurveRoundedDown) {
  // Code, bar position, label.
  struct Freq {
    std::uint8_t code;
    int position;
  };
  const std::array<Freq, 6> cases = {
      {{81, 65}, {31, 110}, {6, 215}, {0, 325}, {255, 325}, {200, 45}}};
  for (const Freq& c : cases) {
    TarnovexFixture f;
    f.host.image[0] = c.code;
    f.host.RefreshControls(1);
    EXPECT_EQ(f.Find<QScrollBar>("freqbar")->value(), c.position) << int(c.code);
    EXPECT_EQ(f.Find<QLabel>("Hertzlabel2")->text(), QString("%1 Hertz").arg(c.position));
    EXPECT_EQ(f.host.image[0], c.code) << "the refresh keeps the stored code";
  }
}

// Every trim pair of both trim sheets: the bars and labels it shows, what its bars store,
// and the live test of its two buttons.
using test::TrimPairCase;

class TarnovexPairs : public ::testing::TestWithParam<TrimPairCase> {};

TEST_P(TarnovexPairs, ShowsStoresAndTests) {
  const TrimPairCase& c = GetParam();
  TarnovexFixture f;
  f.host.fakeClock.Set(50000);
  for (std::size_t b = 1; b <= 16; ++b) f.host.image[b] = static_cast<std::uint8_t>(10 * b);
  for (std::size_t b = 25; b <= 28; ++b) f.host.image[b] = static_cast<std::uint8_t>(5 * b);
  const std::uint8_t min = f.host.image[c.minByte];
  const std::uint8_t max = f.host.image[c.minByte + 1];
  f.host.RefreshControls(1);

  test::ExpectPairShown(f, c);

  auto* minButton = f.Find<QPushButton>(c.minButton);
  auto* maxButton = f.Find<QPushButton>(c.maxButton);
  EXPECT_EQ(minButton->text(), "Test Min");
  EXPECT_EQ(maxButton->text(), "Test Max");
  QTest::mousePress(minButton, Qt::LeftButton);
  EXPECT_EQ(f.host.testTimeStamp, 50000u);
  QTest::mouseRelease(minButton, Qt::LeftButton);
  EXPECT_EQ(f.host.testTimeStamp, 1u);
  QTest::mousePress(maxButton, Qt::RightButton);
  QTest::mouseRelease(maxButton, Qt::RightButton);
  EXPECT_EQ(f.host.commands,
            (Commands{{c.command, min}, {c.command, 0}, {c.command, max}, {c.command, 0}}));

  test::ExpectBarsDragEachOther(f, c);
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, TarnovexPairs,
    ::testing::Values(TrimPairCase{"hoistupminbar", "hoistupmaxbar", "hoistupmin2", "hoistupmax2",
                                   "Button17", "Button18", 1, 7},
                      TrimPairCase{"hoistdownminbar", "hoistdownmaxbar", "hoistdownmin2",
                                   "hoistdownmax2", "Button15", "Button16", 3, 8},
                      TrimPairCase{"hoistleftminbar", "hoistleftmaxbar", "hoistleftmin2",
                                   "hoistleftmax2", "Button13", "Button14", 5, 1},
                      TrimPairCase{"hoistrightminbar", "hoistrightmaxbar", "hoistrightmin2",
                                   "hoistrightmax2", "Button11", "Button12", 7, 2},
                      TrimPairCase{"plowupminbar", "plowupmaxbar", "plowupmin2", "plowupmax2",
                                   "Button3", "Button4", 9, 3},
                      TrimPairCase{"plowdownminbar", "plowdownmaxbar", "plowdownmin2",
                                   "plowdownmax2", "Button5", "Button6", 11, 4},
                      TrimPairCase{"plowleftminbar", "plowleftmaxbar", "plowleftmin2",
                                   "plowleftmax2", "Button7", "Button8", 13, 5},
                      TrimPairCase{"plowrightminbar", "plowrightmaxbar", "plowrightmin2",
                                   "plowrightmax2", "Button9", "Button10", 15, 6},
                      TrimPairCase{"rtwinginmin", "rtwinginmax", "Label183", "Label185",
                                   "rtwingminin", "rtwingmaxin", 25, 9},
                      TrimPairCase{"rtwingoutmin", "rtwingoutmax", "Label187", "Label189",
                                   "rtwingminout", "rtwingmaxout", 27, 10}));

TEST(TarnovexPage, OutOfRangeTrimShowsAtTheBarEndAndKeepsItsByte) {
  TarnovexFixture f;
  f.host.image[9] = 1;
  f.host.image[10] = 255;
  f.host.RefreshControls(1);
  EXPECT_EQ(f.Find<QScrollBar>("plowupminbar")->value(), 254);
  EXPECT_EQ(f.Find<QScrollBar>("plowupmaxbar")->value(), 2);
  EXPECT_EQ(f.host.image[9], 1);
  EXPECT_EQ(f.host.image[10], 255);
  EXPECT_EQ(f.Find<QLabel>("plowupmax2")->text(), "12.8v");
}

}  // namespace
}  // namespace zorv
