// The Halverston page: sensors or timers, the timer bars, the spin edits, the frequency, and
// the trims with the Zorv live test.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <array>
#include <utility>
#include <vector>

#include "image/Encodings.h"
#include "tests/ui/products/ProductPageFixture.h"
#include "ui/pages/halverston/HalverstonPage.h"
#include "ui/widgets/SpinEdit.h"

namespace zorv {
namespace {

using Commands = std::vector<std::pair<std::uint8_t, std::uint8_t>>;

struct HalverstonFixture : test::ProductPageFixture<HalverstonPage> {
  HalverstonFixture() : ProductPageFixture(productpage::kHalverston, product::kHalverston) {
    for (std::size_t b = 17; b <= 24; ++b) host.image[b] = 0;
    host.image[20] = 1;
    host.image[21] = 1;
  }
  bool ArmTimersEnabled(bool all) {
    int enabled = 0;
    for (const char* name : {"ScrollBar20", "ScrollBar21", "ScrollBar22"}) {
      enabled += Find<QScrollBar>(name)->isEnabled() ? 1 : 0;
    }
    return all ? enabled == 3 : enabled > 0;
  }
};

TEST(HalverstonPage, ProxSensorsByteChoosesTheRadioButtonAndArmTimers) {
  struct Case {
    std::uint8_t stored;
    std::uint8_t repaired;
    bool prox;
  };
  for (const Case c : {Case{7, 1, true}, Case{1, 1, true}, Case{255, 1, true}, Case{0, 0, false}}) {
    HalverstonFixture f;
    f.host.image[18] = c.stored;
    f.host.RefreshControls(1);
    EXPECT_EQ(f.host.image[18], c.repaired) << int(c.stored);
    EXPECT_EQ(f.Find<QRadioButton>("RadioButton1")->isChecked(), c.prox);
    EXPECT_EQ(f.Find<QRadioButton>("RadioButton2")->isChecked(), !c.prox);
    if (c.prox) {
      EXPECT_FALSE(f.ArmTimersEnabled(false)) << int(c.stored);
    } else {
      EXPECT_TRUE(f.ArmTimersEnabled(true));
    }
    EXPECT_EQ(f.host.productPagesShown.back(), productpage::kHalverston);
  }
}

TEST(HalverstonPage, RadioButtonsStoreTheChoiceAndSwitchTheArmTimers) {
  HalverstonFixture f;
  f.host.RefreshControls(1);
  auto* prox = f.Find<QRadioButton>("RadioButton1");
  auto* timers = f.Find<QRadioButton>("RadioButton2");
  EXPECT_EQ(prox->text(), "Use Prox Sensors ");
  EXPECT_EQ(timers->text(), "Use Timers ");
  prox->click();
  EXPECT_EQ(f.host.image[18], 1);
  EXPECT_FALSE(f.ArmTimersEnabled(false));
  timers->click();
  EXPECT_EQ(f.host.image[18], 0);
  EXPECT_TRUE(f.ArmTimersEnabled(true));
}

// Each timer bar: what a stored byte shows, and what moving the bar stores.
struct TimerCase {
  const char* bar;
  const char* label;
  std::size_t byte;
};

class HalverstonTimers : public ::testing::TestWithParam<TimerCase> {};

TEST_P(HalverstonTimers, ShowAndStore) {
  const TimerCase& c = GetParam();
  struct Shown {
    std::uint8_t stored;
    int position;
    const char* text;
  };
  for (const Shown s : {Shown{255, 250, "15 s"}, Shown{17, 17, "1.02 s"}, Shown{0, 0, "0 s"}}) {
    HalverstonFixture f;
    f.host.image[c.byte] = s.stored;
    f.host.RefreshControls(1);
    auto* bar = f.Find<QScrollBar>(c.bar);
    EXPECT_EQ(bar->value(), s.position) << c.bar;
    EXPECT_EQ(f.Find<QLabel>(c.label)->text(), s.text) << c.bar;
    EXPECT_EQ(f.host.image[c.byte], s.stored) << "the byte keeps its value";
  }
  HalverstonFixture f;
  f.host.RefreshControls(1);
  const int refreshes = f.host.refreshCount;
  f.Find<QScrollBar>(c.bar)->setValue(25);
  EXPECT_EQ(f.host.image[c.byte], 25);
  EXPECT_EQ(f.Find<QLabel>(c.label)->text(), "1.5 s");
  EXPECT_EQ(f.host.refreshCount, refreshes) << "timer bars do not refresh";
}

INSTANTIATE_TEST_SUITE_P(Bars, HalverstonTimers,
                         ::testing::Values(TimerCase{"ScrollBar18", "Label240", 17},
                                           TimerCase{"ScrollBar19", "Label241", 19},
                                           TimerCase{"ScrollBar20", "Label245", 22},
                                           TimerCase{"ScrollBar22", "Label243", 23},
                                           TimerCase{"ScrollBar21", "Label244", 24}));

TEST(HalverstonPage, SpinEditsShowAndStoreTheirBytes) {
  struct Case {
    const char* spin;
    std::size_t byte;
    std::uint8_t stored;
    int shown;
  };
  for (const Case c : {Case{"SpinEdit2", 20, 30, 30}, Case{"SpinEdit2", 20, 80, 50},
                       Case{"SpinEdit1", 21, 100, 100}, Case{"SpinEdit1", 21, 0, 1}}) {
    HalverstonFixture f;
    f.host.image[c.byte] = c.stored;
    f.host.RefreshControls(1);
    auto* spin = f.Find<SpinEdit>(c.spin);
    EXPECT_EQ(spin->value(), c.shown) << c.spin << " " << int(c.stored);
    EXPECT_EQ(f.host.image[c.byte], c.stored) << "the refresh repairs nothing here";

    auto* edit = spin->findChild<QLineEdit*>();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, "42");
    EXPECT_EQ(f.host.image[c.byte], 42) << c.spin;
  }
}

TEST(HalverstonPage, FrequencyOnTheStandardCurve) {
  HalverstonFixture f;
  f.host.image[0] = 49;
  f.host.RefreshControls(1);
  auto* bar = f.Find<QScrollBar>("ScrollBar17");
  EXPECT_EQ(bar->value(), 115);
  EXPECT_EQ(f.Find<QLabel>("Label230")->text(), "115 Hertz");
  EXPECT_EQ(f.host.image[0], 49);
  bar->setValue(150);
  EXPECT_EQ(f.host.image[0], 34);
  EXPECT_EQ(f.Find<QLabel>("Label230")->text(), "150 Hertz");
  f.host.image[0] = 0;
  f.host.RefreshControls(1);
  EXPECT_EQ(bar->value(), 450) << "483 Hertz held to the bar's end";
}

// Every trim pair: the bars and labels it shows, its live test, and what each bar stores.
using test::TrimPairCase;

class HalverstonPairs : public ::testing::TestWithParam<TrimPairCase> {};

TEST_P(HalverstonPairs, ShowsTestsAndStores) {
  const TrimPairCase& c = GetParam();
  HalverstonFixture f;
  f.host.fakeClock.Set(7000);
  for (std::size_t b = 1; b <= 16; ++b) f.host.image[b] = static_cast<std::uint8_t>(11 * b);
  const std::uint8_t min = f.host.image[c.minByte];
  const std::uint8_t max = f.host.image[c.minByte + 1];
  f.host.RefreshControls(1);
  test::ExpectPairShown(f, c);

  auto* minButton = f.Find<QPushButton>(c.minButton);
  auto* maxButton = f.Find<QPushButton>(c.maxButton);
  QTest::mousePress(minButton, Qt::LeftButton);
  EXPECT_EQ(f.host.testTimeStamp, 7000u);
  QTest::mouseRelease(minButton, Qt::LeftButton);
  EXPECT_EQ(f.host.testTimeStamp, 0u);
  QTest::mousePress(maxButton, Qt::LeftButton);
  QTest::mouseRelease(maxButton, Qt::LeftButton);
  EXPECT_EQ(f.host.commands, (Commands{{c.command, min}, {0, 0}, {c.command, max}, {0, 0}}));

  test::ExpectBarsDragEachOther(f, c);
}

INSTANTIATE_TEST_SUITE_P(Pairs, HalverstonPairs,
                         ::testing::Values(TrimPairCase{"ScrollBar15", "ScrollBar16", "Label226",
                                                        "Label228", "Button31", "Button32", 1, 1},
                                           TrimPairCase{"ScrollBar13", "ScrollBar14", "Label221",
                                                        "Label223", "Button29", "Button30", 3, 2},
                                           TrimPairCase{"ScrollBar11", "ScrollBar12", "Label216",
                                                        "Label218", "Button27", "Button28", 5, 3},
                                           TrimPairCase{"ScrollBar9", "ScrollBar10", "Label211",
                                                        "Label213", "Button25", "Button26", 7, 4},
                                           TrimPairCase{"ScrollBar7", "ScrollBar8", "Label206",
                                                        "Label208", "Button23", "Button24", 9, 5},
                                           TrimPairCase{"ScrollBar5", "ScrollBar6", "Label201",
                                                        "Label203", "Button21", "Button22", 11, 6},
                                           TrimPairCase{"ScrollBar3", "ScrollBar4", "Label196",
                                                        "Label198", "Button19", "Button20", 13, 7},
                                           TrimPairCase{"ScrollBar1", "ScrollBar2", "Label191",
                                                        "Label193", "Button1", "Button2", 15, 8}));

}  // namespace
}  // namespace zorv
