// The Tarnovex "Global" sheet: Set All Trims, the valve types, the frequency bar and the
// global trim bars.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <array>

#include "image/Encodings.h"
#include "tests/ui/products/ProductPageFixture.h"
#include "ui/pages/tarnovex/TarnovexPage.h"

namespace zorv {
namespace {

constexpr const char* kConfirmText = "This will change ALL the trims!  Are you sure?";

struct GlobalFixture : test::ProductPageFixture<TarnovexPage> {
  GlobalFixture() : ProductPageFixture(productpage::kTarnovex, product::kTarnovex) {
    for (std::size_t b = 17; b <= 24; ++b) host.image[b] = 0;
    host.image[29] = 0;
    for (std::size_t b = 1; b <= 28; ++b) {
      if (b < 17 || b > 24) host.image[b] = static_cast<std::uint8_t>(3 * b);
    }
    host.RefreshControls(1);
  }
  void Choose(const char* valveType) {
    auto* combo = Find<QComboBox>("Valvetypes");
    const int index = combo->findText(valveType);
    ASSERT_GE(index, 0) << valveType;
    combo->setCurrentIndex(index);
    emit combo->activated(index);
  }
};

struct SetAllCase {
  const char* valveType;  // nullptr: none chosen
  bool yes;
  GlobalTrimPair pair;                // global pair before the click, when no valve type sets it
  std::array<std::uint8_t, 4> hoist;  // bytes 1 to 4 afterwards
  GlobalTrimPair rest;                // every further pair up to byte 16
};

class TarnovexSetAllTrims : public ::testing::TestWithParam<SetAllCase> {};

TEST_P(TarnovexSetAllTrims, ChangesBytesOneToSixteenOnly) {
  const SetAllCase& c = GetParam();
  GlobalFixture f;
  f.host.trims = c.pair;
  if (c.valveType != nullptr) f.Choose(c.valveType);
  const SettingsImage before = f.host.image;
  f.host.scriptedPrompts.ExpectConfirm(c.yes);
  f.Find<QPushButton>("setglobal2")->click();

  ASSERT_EQ(f.host.scriptedPrompts.shown.size(), 1u);
  EXPECT_EQ(f.host.scriptedPrompts.shown[0].text, kConfirmText);
  for (std::size_t b = 0; b < kImageSize; ++b) {
    std::uint8_t expected = before[b];
    if (c.yes && b >= 1 && b <= 4) expected = c.hoist[b - 1];
    if (c.yes && b >= 5 && b <= 16) expected = b % 2 == 1 ? c.rest.min : c.rest.max;
    EXPECT_EQ(f.host.image[b], expected) << "byte " << b;
  }
  EXPECT_EQ(f.Find<QLabel>("plowupmin2")->text().toStdString(), TrimVoltsText(f.host.image[9]));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TarnovexSetAllTrims,
    ::testing::Values(SetAllCase{nullptr, true, {70, 150}, {70, 150, 70, 150}, {70, 150}},
                      SetAllCase{"Husco", true, {1, 254}, {124, 232, 124, 232}, {88, 180}},
                      SetAllCase{"MP18", true, {1, 254}, {70, 120, 70, 120}, {70, 120}},
                      SetAllCase{"Sauer Danfoss", true, {1, 254}, {50, 128, 50, 128}, {50, 128}},
                      SetAllCase{"Husco", false, {1, 254}, {}, {}},
                      SetAllCase{nullptr, false, {70, 150}, {}, {}}));

TEST(TarnovexValveTypes, PresetMovesTheFrequencyAndGlobalPairAndStaysChosen) {
  struct Preset {
    const char* item;
    int hertz;
    GlobalTrimPair pair;
  };
  const std::array<Preset, 4> presets = {{{"MP18", 150, {70, 120}},
                                          {"HydraForce", 220, {70, 150}},
                                          {"Husco", 100, {88, 180}},
                                          {"Sauer Danfoss", 100, {50, 128}}}};
  for (const Preset& p : presets) {
    GlobalFixture f;
    f.host.image[0] = 81;  // 65 Hertz
    f.host.RefreshControls(1);
    const SettingsImage trimsBefore = f.host.image;
    f.Choose(p.item);
    EXPECT_EQ(f.host.image[0], HzToFreqCodeTarnovex(p.hertz)) << p.item;
    const int shown = FreqBarPositionTarnovex(HzToFreqCodeTarnovex(p.hertz));
    EXPECT_EQ(f.Find<QScrollBar>("freqbar")->value(), shown) << p.item;
    EXPECT_EQ(f.Find<QLabel>("Hertzlabel2")->text(), QString("%1 Hertz").arg(shown));
    EXPECT_EQ(f.host.trims, p.pair) << p.item;
    EXPECT_EQ(f.Find<QLabel>("gminvalue")->text().toStdString(), TrimVoltsText(p.pair.min));
    EXPECT_EQ(f.Find<QLabel>("gmaxvalue")->text().toStdString(), TrimVoltsText(p.pair.max));
    EXPECT_EQ(f.Find<QComboBox>("Valvetypes")->currentText(), p.item);
    for (std::size_t b = 1; b < kImageSize; ++b) {
      EXPECT_EQ(f.host.image[b], trimsBefore[b]) << p.item << " byte " << b;
    }
    EXPECT_TRUE(f.host.scriptedPrompts.shown.empty()) << "no reminder on this page";
  }
}

TEST(TarnovexValveTypes, StartsAsASingleBlank) {
  test::FakePageHost host;
  QWidget widget;
  TarnovexPage page(host, &widget);
  auto* combo = widget.findChild<QComboBox*>("Valvetypes");
  ASSERT_NE(combo, nullptr);
  EXPECT_TRUE(combo->isEditable());
  EXPECT_EQ(combo->currentText(), " ");
  EXPECT_EQ(combo->currentIndex(), -1);
  const std::array<const char*, 5> items = {"Other", "MP18", "HydraForce", "Husco",
                                            "Sauer Danfoss"};
  ASSERT_EQ(combo->count(), 5);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(combo->itemText(i), items[static_cast<std::size_t>(i)]);
}

TEST(TarnovexValveTypes, TypedTextLoadsNothingEvenWhenItNamesAnItem) {
  GlobalFixture f;
  auto* combo = f.Find<QComboBox>("Valvetypes");
  const SettingsImage image = f.host.image;
  const GlobalTrimPair trims = f.host.trims;
  QTest::keyClick(combo->lineEdit(), Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(combo->lineEdit(), "Husco");
  QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
  emit combo->lineEdit()->editingFinished();  // the box loses the focus
  EXPECT_EQ(combo->currentText(), "Husco");
  EXPECT_NE(combo->currentIndex(), 3);
  EXPECT_EQ(combo->count(), 5) << "typed text is no new item";
  EXPECT_EQ(f.host.image, image);
  EXPECT_EQ(f.host.trims, trims);
}

TEST(TarnovexFrequency, BarMovedByHandStoresAtOnceAndShowsOther) {
  GlobalFixture f;
  f.Choose("HydraForce");
  auto* bar = f.Find<QScrollBar>("freqbar");
  bar->setValue(300);
  EXPECT_EQ(f.host.image[0], 1);
  EXPECT_EQ(f.Find<QLabel>("Hertzlabel2")->text(), "300 Hertz");
  EXPECT_EQ(f.Find<QComboBox>("Valvetypes")->currentIndex(), 0);
  // The next refresh shows the code's frequency rounded down; the code stays.
  f.host.RefreshControls(0);
  EXPECT_EQ(bar->value(), 295);
  EXPECT_EQ(f.Find<QLabel>("Hertzlabel2")->text(), "295 Hertz");
  EXPECT_EQ(f.host.image[0], 1);
}

TEST(TarnovexGlobalTrims, BarsDragEachOtherAndShowOther) {
  GlobalFixture f;
  f.Choose("Husco");
  auto* minBar = f.Find<QScrollBar>("globalmintrim2");
  auto* maxBar = f.Find<QScrollBar>("globalmaxtrim2");
  minBar->setValue(256 - 200);
  EXPECT_EQ(f.host.trims, (GlobalTrimPair{200, 200}));
  EXPECT_EQ(f.Find<QComboBox>("Valvetypes")->currentIndex(), 0);
  EXPECT_EQ(f.Find<QLabel>("gmaxvalue")->text(), "10.0v");
  maxBar->setValue(256 - 60);
  EXPECT_EQ(f.host.trims, (GlobalTrimPair{60, 60}));
  EXPECT_EQ(maxBar->value(), 196);
  EXPECT_EQ(minBar->value(), 196);
}

}  // namespace
}  // namespace zorv
