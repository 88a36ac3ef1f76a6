// The Quirn page: numbers typed into the boxes and stored when the box is left, the plow
// weight written to both start weights, and the "Use Math Setup" rules.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QTest>
#include <map>
#include <vector>

#include "tests/ui/products/ProductPageFixture.h"
#include "ui/pages/quirn/QuirnPage.h"

namespace zorv {
namespace {

struct QuirnFixture : test::ProductPageFixture<QuirnPage> {
  QuirnFixture() : ProductPageFixture(productpage::kQuirn, product::kQuirn) {}
  QLineEdit* Box(int n) { return Find<QLineEdit>(QStringLiteral("Edit%1").arg(n)); }
  // Select the box's text, type over it and leave the box.
  void Type(int n, const char* text) {
    QLineEdit* box = Box(n);
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    if (*text == '\0') QTest::keyClick(box, Qt::Key_Delete);  // emptied: a real edit too
    QTest::keyClicks(box, text);
    emit box->editingFinished();  // the box loses the focus
  }
};

struct EntryCase {
  int box;
  const char* text;
  bool mathSetup;
  std::map<std::size_t, std::uint8_t> bytes;  // empty: the image stays as it was
  const char* shown;                          // what the box shows afterwards
};

class QuirnEntries : public ::testing::TestWithParam<EntryCase> {};

TEST_P(QuirnEntries, StoreOnLeavingTheBox) {
  const EntryCase& c = GetParam();
  QuirnFixture f;
  for (std::size_t b = 0; b < 40; ++b) f.host.image[b] = static_cast<std::uint8_t>(b + 100);
  f.host.image[119] = 9;
  f.host.image[138] = c.mathSetup ? 1 : 0;
  f.host.RefreshControls(1);
  SettingsImage expected = f.host.image;
  for (const auto& [offset, value] : c.bytes) expected[offset] = value;
  const int refreshes = f.host.refreshCount;

  f.Type(c.box, c.text);
  EXPECT_EQ(f.host.image, expected) << "Edit" << c.box << " \"" << c.text << "\"";
  EXPECT_GE(f.host.refreshCount, refreshes + 1);
  EXPECT_EQ(f.Box(c.box)->text(), c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, QuirnEntries,
    ::testing::Values(
        EntryCase{1, "300", false, {{0, 44}}, "44"}, EntryCase{5, "-1", false, {{7, 255}}, "255"},
        EntryCase{9, "256", false, {{14, 0}}, "0"}, EntryCase{13, "+7", false, {{21, 7}}, "7"},
        EntryCase{3, "1000", false, {{3, 3}, {4, 232}}, "1000"},
        EntryCase{3, "70000", false, {{3, 17}, {4, 112}}, "4464"},
        EntryCase{16, "-1", false, {{26, 255}, {27, 255}}, "65535"},
        EntryCase{17, "300", false, {{28, 1}, {29, 44}}, "300"},
        EntryCase{6, "abc", false, {}, "27757"},          // bytes 8, 9 = 108, 109
        EntryCase{2, "", false, {}, "25958"},             // bytes 1, 2 = 101, 102
        EntryCase{7, "99999999999", false, {}, "28271"},  // beyond 32 bits; bytes 10, 11
        EntryCase{7, "12x", false, {}, "28271"}, EntryCase{18, "75", true, {{32, 75}}, "75"},
        EntryCase{19, "258", true, {{119, 2}}, "2"},
        EntryCase{21, "500", true, {{1, 1}, {2, 244}, {15, 1}, {16, 244}}, "500"}));

TEST(QuirnPage, PlowWeightShowsInBothStartWeights) {
  QuirnFixture f;
  f.host.image[138] = 1;
  f.host.RefreshControls(1);
  f.Type(21, "500");
  EXPECT_EQ(f.Box(2)->text(), "500");
  EXPECT_EQ(f.Box(10)->text(), "500");
  EXPECT_EQ(f.Box(21)->text(), "500");
}

TEST(QuirnPage, EnterShownUntilTheFirstRefresh) {
  QuirnFixture f;
  for (int n : {18, 19, 20, 21}) EXPECT_EQ(f.Box(n)->text(), "Enter") << n;
  f.host.image[32] = 30;
  f.host.image[119] = 12;
  f.host.RefreshControls(1);
  EXPECT_EQ(f.Box(18)->text(), "30");
  EXPECT_EQ(f.Box(19)->text(), "12");
  EXPECT_EQ(f.Box(20)->text(), "Enter");
  EXPECT_EQ(f.Box(21)->text(), "Enter");
}

TEST(QuirnPage, MathSetupRules) {
  struct Case {
    std::uint8_t stored;
    bool on;
  };
  for (const Case c : {Case{1, true}, Case{0, false}, Case{2, false}, Case{255, false}}) {
    QuirnFixture f;
    f.host.image[1] = 1;
    f.host.image[2] = 44;
    f.host.image[15] = 0;
    f.host.image[16] = 7;
    f.host.image[138] = c.stored;
    f.host.RefreshControls(1);
    EXPECT_EQ(f.host.image[138], c.on ? 1 : 0) << int(c.stored);
    EXPECT_EQ(f.Find<QCheckBox>("CheckBox1")->isChecked(), c.on);
    EXPECT_EQ(f.Box(2)->text(), "300");
    EXPECT_EQ(f.Box(10)->text(), c.on ? "300" : "7") << "Edit10 copies Edit2 with math setup";
    EXPECT_EQ(f.Box(21)->text(), c.on ? "300" : "Enter");
    EXPECT_EQ(f.Box(2)->isReadOnly(), c.on);
    EXPECT_EQ(f.Box(10)->isReadOnly(), c.on);
    for (int n : {18, 19, 20, 21}) EXPECT_EQ(f.Box(n)->isReadOnly(), !c.on) << n;
    EXPECT_EQ(f.host.image[15], 0) << "the copy shows, it does not store";
    EXPECT_EQ(f.host.image[16], 7);
  }
}

TEST(QuirnPage, CheckBoxStoresTheFlagAndUnlocksThePlowWeight) {
  QuirnFixture f;
  f.host.RefreshControls(1);
  auto* box = f.Find<QCheckBox>("CheckBox1");
  EXPECT_EQ(box->text(), "Use Math Setup");
  box->click();
  EXPECT_EQ(f.host.image[138], 1);
  EXPECT_FALSE(f.Box(21)->isReadOnly());
  box->click();
  EXPECT_EQ(f.host.image[138], 0);
  EXPECT_TRUE(f.Box(21)->isReadOnly());
}

// After math setup is turned off the plow weight box still shows the old weight; leaving it
// must not overwrite a weight typed since.
TEST(QuirnPage, ReadOnlyBoxStoresNothing) {
  QuirnFixture f;
  f.host.image[1] = 1;
  f.host.image[2] = 44;
  f.host.image[138] = 1;
  f.host.RefreshControls(1);
  f.Find<QCheckBox>("CheckBox1")->click();
  f.Type(2, "400");
  ASSERT_EQ(f.host.image[1], 1);
  ASSERT_EQ(f.host.image[2], 144);
  const SettingsImage image = f.host.image;
  ASSERT_EQ(f.Box(21)->text(), "300");
  emit f.Box(21)->editingFinished();
  EXPECT_EQ(f.host.image, image);
  f.Type(21, "900");
  EXPECT_EQ(f.host.image, image);
}

TEST(QuirnPage, PistonRodDiameterStoresNothing) {
  QuirnFixture f;
  f.host.image[138] = 1;
  f.host.RefreshControls(1);
  const SettingsImage image = f.host.image;
  f.Type(20, "77");
  EXPECT_EQ(f.host.image, image);
  EXPECT_EQ(f.Box(20)->text(), "77");
}

}  // namespace
}  // namespace zorv
