// The "Float Modes" tab: float outputs and names, delay and option boxes, their refresh
// repairs, and the layout of the sheet.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "tests/ui/trims/ZorvSheets.h"
#include "ui/pages/floats/FloatsTab.h"
#include "ui/widgets/SpinEdit.h"

namespace zorv {
namespace {

struct FloatSlot {
  const char* output;
  std::size_t outputByte;
  const char* name;
  std::size_t nameByte;
  bool storesWhileTyping;
};

const FloatSlot kFloats[] = {{"PlowFloatSelect", 138, "float1", 163, false},
                             {"BladeFloatSelect", 140, "float2", 168, true},
                             {"WingFloatSelect", 139, "float3", 173, true},
                             {"ToeFloatSelect", 161, "float4", 178, true}};

class FloatsTabTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sheets.Add<FloatsTab>();
    sheets.Start();
    QApplication::setActiveWindow(sheets.sheets[0].get());
  }
  SettingsImage& image() { return sheets.host.image; }
  std::vector<int> Name(std::size_t offset) {
    return {image()[offset], image()[offset + 1], image()[offset + 2], image()[offset + 3],
            image()[offset + 4]};
  }
  test::ZorvSheets sheets;
};

TEST_F(FloatsTabTest, OutputChoiceStoresTheFunctionNumber) {
  struct Choice {
    int index;
    const char* text;
  };
  const Choice choices[] = {{16, "C3 - BLADE RIGHT"}, {1, "A6 - HOIST UP"}, {0, "None"},
                            {12, "B5 - WING SLIDE OUT"}};
  for (const FloatSlot& f : kFloats) {
    auto* box = sheets.Find<QComboBox>(f.output);
    ASSERT_EQ(box->count(), 17) << f.output;
    for (const Choice& c : choices) {
      EXPECT_EQ(box->itemText(c.index), c.text) << f.output;
      const int refreshes = sheets.host.refreshCount;
      box->setCurrentIndex(c.index);
      emit box->activated(c.index);
      EXPECT_EQ(image()[f.outputByte], c.index) << f.output << " " << c.text;
      EXPECT_EQ(sheets.host.refreshCount, refreshes) << "no refresh";
    }
  }
}

TEST_F(FloatsTabTest, NamesArePaddedWithZerosAndFloatOneStoresOnExit) {
  struct Typing {
    const char* typed;
    std::vector<int> bytes;
  };
  const Typing typings[] = {{"AB", {'A', 'B', 0, 0, 0}},
                            {"PLOW1", {'P', 'L', 'O', 'W', '1'}},
                            {"WINGS2", {'W', 'I', 'N', 'G', 'S'}},  // the box takes 5
                            {"", {0, 0, 0, 0, 0}}};
  auto* elsewhere = sheets.Find<SpinEdit>("floatdelay");
  for (const FloatSlot& f : kFloats) {
    auto* edit = sheets.Find<QLineEdit>(f.name);
    for (const Typing& t : typings) {
      for (std::size_t i = 0; i < 5; ++i) image()[f.nameByte + i] = 'x';
      edit->setFocus();
      edit->selectAll();
      QTest::keyClick(edit, Qt::Key_Backspace);
      QTest::keyClicks(edit, t.typed);
      if (f.storesWhileTyping) {
        EXPECT_EQ(Name(f.nameByte), t.bytes) << f.name << " '" << t.typed << "' while typing";
      } else {
        EXPECT_EQ(image()[f.nameByte + 4], 'x') << f.name << " stores only when left";
      }
      elsewhere->setFocus();
      QApplication::processEvents();
      EXPECT_EQ(Name(f.nameByte), t.bytes) << f.name << " '" << t.typed << "' after leaving";
    }
  }
}

TEST_F(FloatsTabTest, RefreshRepairsOutputsAndShowsNames) {
  struct Case {
    std::uint8_t stored;
    std::uint8_t after;
  };
  const Case cases[] = {{17, 0}, {40, 0}, {255, 0}, {16, 16}, {3, 3}};
  for (const Case& c : cases) {
    for (const FloatSlot& f : kFloats) image()[f.outputByte] = c.stored;
    image()[173] = ' ';
    image()[174] = 'W';
    image()[175] = 'G';
    image()[176] = ' ';
    image()[177] = 0;
    sheets.host.RefreshControls(0);
    for (const FloatSlot& f : kFloats) {
      EXPECT_EQ(image()[f.outputByte], c.after) << f.output << " " << int(c.stored);
      EXPECT_EQ(sheets.Find<QComboBox>(f.output)->currentIndex(), c.after) << f.output;
    }
    EXPECT_EQ(sheets.Find<QLineEdit>("float3")->text(), "WG") << "trimmed";
    EXPECT_EQ(image()[173], ' ') << "showing a name does not rewrite it";
  }
}

TEST_F(FloatsTabTest, DelayAndOptionRepairs) {
  struct Case {
    std::size_t byte;
    std::uint8_t stored;
    std::uint8_t after;
  };
  const Case cases[] = {{237, 0, 1},  {237, 11, 1}, {237, 10, 10}, {237, 5, 5},
                        {238, 2, 0},  {238, 1, 1},  {240, 9, 0},   {240, 1, 1}};
  for (const Case& c : cases) {
    image()[c.byte] = c.stored;
    sheets.host.RefreshControls(0);
    EXPECT_EQ(image()[c.byte], c.after) << c.byte << " " << int(c.stored);
  }
  EXPECT_EQ(sheets.Find<SpinEdit>("floatdelay")->value(), 5);
  EXPECT_TRUE(sheets.Find<QCheckBox>("doubleactingfloat")->isChecked());
  EXPECT_TRUE(sheets.Find<QCheckBox>("minfloat")->isChecked());
}

TEST_F(FloatsTabTest, OptionBoxesAndDelayStoreAndRefresh) {
  struct Box {
    const char* name;
    std::size_t byte;
    const char* caption;
  };
  const Box boxes[] = {
      {"doubleactingfloat", 238,
       "Make Float One a double acting float, which will replace the wing slide functions with a "
       "dump valve."},
      {"minfloat", 240, "Active pressure holding float.  "}};
  for (const Box& b : boxes) {
    auto* box = sheets.Find<QCheckBox>(b.name);
    EXPECT_EQ(box->text(), b.caption);
    const int refreshes = sheets.host.refreshCount;
    box->click();
    EXPECT_EQ(image()[b.byte], 1) << b.name;
    EXPECT_GT(sheets.host.refreshCount, refreshes) << b.name;
    box->click();
    EXPECT_EQ(image()[b.byte], 0) << b.name;
  }
  auto* delay = sheets.Find<SpinEdit>("floatdelay");
  EXPECT_EQ(delay->minimum(), 1);
  EXPECT_EQ(delay->maximum(), 10);
  delay->stepBy(2);
  EXPECT_EQ(image()[237], 3);
}

TEST_F(FloatsTabTest, SheetFitsTheWindow) { test::CheckSheet(*sheets.sheets[0], "floats"); }

}  // namespace
}  // namespace zorv
