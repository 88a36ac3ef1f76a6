// The four trim tabs: bars to trim bytes, minimum and maximum dragging each other, value labels,
// live-test buttons and their link commands, captions, and the layout of each sheet.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <string>

#include "image/Encodings.h"
#include "tests/ui/trims/ZorvSheets.h"
#include "ui/pages/trims/ZorvTrimTabs.h"

namespace zorv {
namespace {

struct Function {
  int n;
  const char* caption;
  const char* stem;    // HoistUp, WingToeUp, ...
  const char* maxBar;  // the letter case of the maximum bars varies
};

const Function kFunctions[] = {
    {1, "Hoist Up ", "HoistUp", "HoistUpMaxScrollbar"},
    {2, "Hoist Down", "HoistDown", "HoistDownMaxScrollBar"},
    {3, "Plow Up", "PlowUp", "PlowUpMaxScrollbar"},
    {4, "Plow Down", "PlowDown", "PlowDownMaxScrollBar"},
    {5, "Plow Left", "PlowLeft", "PlowLeftMaxScrollbar"},
    {6, "Plow Right", "PlowRight", "PlowRightMaxScrollBar"},
    {7, "Toe Up", "WingToeUp", "WingToeUpMaxScrollbar"},
    {8, "Toe Down", "WingToeDown", "WingToeDownMaxScrollBar"},
    {9, "Heel Up", "WingHeelUp", "WingHeelUpMaxScrollbar"},
    {10, "Heel Down", "WingHeelDown", "WingHeelDownMaxScrollBar"},
    {11, "Slide In", "WingSlideIn", "WingSlideInMaxScrollbar"},
    {12, "Slide Out", "WingSlideOut", "WingSlideOutMaxScrollBar"},
    {13, "Blade Up", "BladeUp", "BladeUpMaxScrollbar"},
    {14, "Blade Down", "BladeDown", "BladeDownMaxScrollBar"},
    {15, "Blade Left", "BladeLeft", "BladeLeftMaxScrollbar"},
    {16, "Blade Right", "BladeRight", "BladeRightMaxScrollBar"},
};

std::string Name(const Function& f, const char* tail) { return std::string(f.stem) + tail; }

class TrimTabs : public ::testing::Test {
 protected:
  void SetUp() override {
    sheets.Add<HoistTrimTab>();
    sheets.Add<PlowTrimTab>();
    sheets.Add<WingTrimTab>();
    sheets.Add<BladeTrimTab>();
    sheets.Start();
  }
  QScrollBar* MinBar(const Function& f) {
    return sheets.Find<QScrollBar>(Name(f, "MinScrollBar").c_str());
  }
  QScrollBar* MaxBar(const Function& f) { return sheets.Find<QScrollBar>(f.maxBar); }
  QString MinLabel(const Function& f) {
    return sheets.Find<QLabel>(Name(f, "MinValueLabel").c_str())->text();
  }
  QString MaxLabel(const Function& f) {
    return sheets.Find<QLabel>(Name(f, "MaxValueLabel").c_str())->text();
  }
  std::uint8_t Byte(std::size_t offset) { return sheets.host.image[offset]; }
  static std::size_t MinByte(const Function& f) { return static_cast<std::size_t>(2 * f.n - 1); }
  static std::size_t MaxByte(const Function& f) { return static_cast<std::size_t>(2 * f.n); }

  test::ZorvSheets sheets;
};

TEST_F(TrimTabs, StartShowsTheDefaultsAtTheBarEndsAndKeepsTheBytes) {
  for (const Function& f : kFunctions) {
    EXPECT_EQ(MinBar(f)->value(), 254) << f.stem << ": byte 1 is held at the bottom";
    EXPECT_EQ(MaxBar(f)->value(), 2) << f.stem;
    EXPECT_EQ(Byte(MinByte(f)), 1) << f.stem << ": the fired handler's write must not last";
    EXPECT_EQ(Byte(MaxByte(f)), 254) << f.stem;
    EXPECT_EQ(MinLabel(f), "0.1v") << f.stem;
    EXPECT_EQ(MaxLabel(f), "12.7v") << f.stem;
  }
}

TEST_F(TrimTabs, BarPositionsGiveTrimBytesAndLabels) {
  struct Move {
    int position;
    int trim;
    const char* volts;
  };
  const Move moves[] = {{128, 128, "6.4v"}, {2, 254, "12.7v"}, {254, 2, "0.1v"}};
  for (const Function& f : kFunctions) {
    for (const Move& m : moves) {
      MinBar(f)->setValue(m.position);
      EXPECT_EQ(Byte(MinByte(f)), m.trim) << f.stem << " min at " << m.position;
      EXPECT_EQ(MinLabel(f), m.volts) << f.stem << " min at " << m.position;
    }
    for (const Move& m : moves) {
      MaxBar(f)->setValue(m.position);
      EXPECT_EQ(Byte(MaxByte(f)), m.trim) << f.stem << " max at " << m.position;
      EXPECT_EQ(MaxLabel(f), m.volts) << f.stem << " max at " << m.position;
    }
  }
  // Nothing else moved: the other function bytes are each bar's own.
  EXPECT_EQ(Byte(0), 49);
  EXPECT_EQ(Byte(33), 1);
}

TEST_F(TrimTabs, MinimumAndMaximumDragEachOther) {
  for (const Function& f : kFunctions) {
    // Minimum moved above the maximum.
    MaxBar(f)->setValue(256 - 100);
    MinBar(f)->setValue(256 - 150);
    EXPECT_EQ(Byte(MinByte(f)), 150) << f.stem;
    EXPECT_EQ(Byte(MaxByte(f)), 150) << f.stem << ": maximum dragged up";
    EXPECT_EQ(MaxBar(f)->value(), 256 - 150) << f.stem;
    EXPECT_EQ(MaxLabel(f), "7.5v") << f.stem;
    // Maximum moved below the minimum.
    MaxBar(f)->setValue(256 - 60);
    EXPECT_EQ(Byte(MaxByte(f)), 60) << f.stem;
    EXPECT_EQ(Byte(MinByte(f)), 60) << f.stem << ": minimum dragged down";
    EXPECT_EQ(MinBar(f)->value(), 256 - 60) << f.stem;
    EXPECT_EQ(MinLabel(f), "3.0v") << f.stem;
    // A move that does not cross leaves the other byte alone.
    MinBar(f)->setValue(256 - 20);
    EXPECT_EQ(Byte(MinByte(f)), 20) << f.stem;
    EXPECT_EQ(Byte(MaxByte(f)), 60) << f.stem;
  }
}

TEST_F(TrimTabs, TestButtonsDriveTheOutputAtTheTrimWhileHeld) {
  struct Press {
    const char* button;
    std::size_t (*byte)(const Function&);
    Qt::MouseButton mouse;
  };
  const Press presses[] = {{"Button", &TrimTabs::MinByte, Qt::LeftButton},
                           {"MaxButton", &TrimTabs::MaxByte, Qt::RightButton}};
  for (const Function& f : kFunctions) {
    sheets.host.image[MinByte(f)] = static_cast<std::uint8_t>(40 + f.n);
    sheets.host.image[MaxByte(f)] = static_cast<std::uint8_t>(200 + f.n);
  }
  for (const Function& f : kFunctions) {
    for (const Press& p : presses) {
      auto* button = sheets.Find<QPushButton>(Name(f, p.button).c_str());
      sheets.host.commands.clear();
      sheets.host.fakeClock.Advance(777);
      const std::uint32_t now = sheets.host.fakeClock.Ticks();

      QTest::mousePress(button, p.mouse);
      ASSERT_EQ(sheets.host.commands.size(), 1U) << f.stem << p.button;
      EXPECT_EQ(sheets.host.commands[0].first, f.n) << f.stem << p.button;
      EXPECT_EQ(sheets.host.commands[0].second, Byte(p.byte(f))) << f.stem << p.button;
      EXPECT_EQ(sheets.host.testTimeStamp, now) << f.stem << p.button;

      QTest::mouseRelease(button, p.mouse);
      ASSERT_EQ(sheets.host.commands.size(), 2U) << f.stem << p.button;
      EXPECT_EQ(sheets.host.commands[1], (std::pair<std::uint8_t, std::uint8_t>{0, 0}));
      EXPECT_EQ(sheets.host.testTimeStamp, 0U) << f.stem << p.button;
    }
  }
}

TEST_F(TrimTabs, TestMaxOfPlowLeftSendsFunctionFiveWithByteTen) {
  MaxBar(kFunctions[4])->setValue(256 - 170);
  auto* button = sheets.Find<QPushButton>("PlowLeftMaxButton");
  QTest::mousePress(button, Qt::LeftButton);
  QTest::mouseRelease(button, Qt::LeftButton);
  using Pair = std::pair<std::uint8_t, std::uint8_t>;
  EXPECT_EQ(sheets.host.commands, (std::vector<Pair>{{5, 170}, {0, 0}}));
  EXPECT_EQ(sheets.host.testTimeStamp, 0U);
}

TEST_F(TrimTabs, PressAtTickZeroStillStartsTheTimeOut) {
  sheets.host.fakeClock.Set(0);
  QTest::mousePress(sheets.Find<QPushButton>("HoistUpButton"), Qt::LeftButton);
  EXPECT_NE(sheets.host.testTimeStamp, 0U) << "0 would mean no test, and no time-out";
  // The window's timer measures from the stamp as an unsigned difference.
  sheets.host.fakeClock.Set(2501);
  EXPECT_GT(sheets.host.fakeClock.Ticks() - sheets.host.testTimeStamp, 2500U);
  EXPECT_LE(sheets.host.fakeClock.Ticks() - sheets.host.testTimeStamp, 2502U);
  QTest::mouseRelease(sheets.Find<QPushButton>("HoistUpButton"), Qt::LeftButton);
}

TEST_F(TrimTabs, GroupCaptionsAndButtonTexts) {
  for (const Function& f : kFunctions) {
    auto* group = qobject_cast<QGroupBox*>(MinBar(f)->parentWidget());
    ASSERT_NE(group, nullptr) << f.stem;
    EXPECT_EQ(group->title(), f.caption);
    EXPECT_EQ(MaxBar(f)->parentWidget(), group) << f.stem;
    EXPECT_EQ(sheets.Find<QPushButton>(Name(f, "Button").c_str())->text(), "Test Min");
    EXPECT_EQ(sheets.Find<QPushButton>(Name(f, "MaxButton").c_str())->text(), "Test Max");
    EXPECT_EQ(MinBar(f)->minimum(), 2);
    EXPECT_EQ(MinBar(f)->maximum(), 254);
    EXPECT_EQ(MaxBar(f)->singleStep(), 2);
    EXPECT_EQ(MaxBar(f)->pageStep(), 20);
  }
}

TEST_F(TrimTabs, SheetsFitTheWindow) {
  const char* names[] = {"hoist", "plow", "wing", "blade"};
  for (std::size_t i = 0; i < sheets.sheets.size(); ++i) test::CheckSheet(*sheets.sheets[i], names[i]);
}

}  // namespace
}  // namespace zorv
