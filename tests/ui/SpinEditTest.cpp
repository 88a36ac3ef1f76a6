// The spin edit keeps typed numbers as text until it loses the focus, like the controller's tools
// did; its value, what the handlers store, is already held to the range.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "ui/widgets/SpinEdit.h"

namespace zorv {
namespace {

struct SpinCase {
  const char* name;
  int min, max;
  const char* typed;
  int valueWhileFocused;
  int valueAfterExit;
};

class SpinEditTyping : public ::testing::TestWithParam<SpinCase> {};

TEST_P(SpinEditTyping, KeepsTheTypedTextAndHoldsTheValueToTheRange) {
  const SpinCase c = GetParam();
  QWidget window;
  auto* spin = new SpinEdit(&window);
  auto* other = new QLineEdit(&window);
  spin->setRange(c.min, c.max);
  spin->setValue(c.min);
  window.show();
  QApplication::setActiveWindow(&window);
  spin->setFocus();
  QSignalSpy changes(spin, &SpinEdit::valueChanged);

  spin->findChild<QLineEdit*>()->selectAll();
  QTest::keyClick(spin->findChild<QLineEdit*>(), Qt::Key_Delete);
  QTest::keyClicks(spin->findChild<QLineEdit*>(), c.typed);
  EXPECT_EQ(spin->value(), c.valueWhileFocused) << c.name;
  EXPECT_EQ(spin->findChild<QLineEdit*>()->text(), c.typed) << c.name;
  if (c.valueWhileFocused != c.min) {
    ASSERT_FALSE(changes.isEmpty()) << c.name;
    EXPECT_EQ(changes.last().at(0).toInt(), c.valueWhileFocused) << c.name;
  }

  other->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(spin->value(), c.valueAfterExit) << c.name;
  if (c.valueAfterExit != c.valueWhileFocused) {
    EXPECT_EQ(changes.last().at(0).toInt(), c.valueAfterExit) << c.name;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SpinEditTyping,
    ::testing::Values(SpinCase{"above range", 1, 20, "30", 20, 20},
                      SpinCase{"below range", 10, 100, "5", 10, 10},
                      SpinCase{"inside range", 1, 20, "7", 7, 7},
                      SpinCase{"empty counts as minimum", 1, 20, "", 1, 1},
                      SpinCase{"negative", 0, 255, "-4", 0, 0}));

TEST(SpinEdit, SetValueHoldsToTheRangeUnlessTheRangeIsOneValue) {
  SpinEdit spin;
  spin.setRange(101, 200);
  spin.setValue(250);
  EXPECT_EQ(spin.value(), 200);
  spin.setValue(7);
  EXPECT_EQ(spin.value(), 101);
  spin.setRange(255, 255);
  spin.setValue(3);
  EXPECT_EQ(spin.value(), 3);
}

TEST(SpinEdit, ValueChangedOnlyWhenTheValueChanges) {
  SpinEdit spin;
  spin.setRange(0, 255);
  QSignalSpy changes(&spin, &SpinEdit::valueChanged);
  spin.setValue(12);
  spin.setValue(12);
  spin.setValue(13);
  ASSERT_EQ(changes.size(), 2);
  EXPECT_EQ(changes.at(0).at(0).toInt(), 12);
  EXPECT_EQ(changes.at(1).at(0).toInt(), 13);
}

TEST(SpinEdit, ArrowsStepInsideTheRange) {
  SpinEdit spin;
  spin.setRange(1, 3);
  spin.setValue(2);
  spin.stepBy(1);
  EXPECT_EQ(spin.value(), 3);
  spin.stepBy(1);
  EXPECT_EQ(spin.value(), 3);
  spin.stepBy(-5);
  EXPECT_EQ(spin.value(), 1);
}

}  // namespace
}  // namespace zorv
