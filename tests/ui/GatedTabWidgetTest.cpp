// Pages behind the gate open only when the gate allows them, whichever way the user asks.
#include <gtest/gtest.h>

#include <QTabBar>
#include <QTest>
#include <vector>

#include "ui/widgets/GatedTabWidget.h"

namespace zorv {
namespace {

TEST(GatedTabWidget, ClickKeyAndShortcutAllGoThroughTheGate) {
  GatedTabWidget tabs;
  for (const char* name : {"Joysticks", "Global", "Custom"}) tabs.addTab(new QWidget, name);
  std::vector<int> asked;
  bool allow = false;
  tabs.SetGate([&](int index) {
    asked.push_back(index);
    return allow;
  });
  tabs.resize(400, 300);
  tabs.show();

  QTabBar* bar = tabs.tabBar();
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(2).center());
  EXPECT_EQ(tabs.currentIndex(), 0);
  QTest::keyClick(&tabs, Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(tabs.currentIndex(), 0);
  ASSERT_EQ(asked, (std::vector<int>{2, 1}));

  allow = true;
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(2).center());
  EXPECT_EQ(tabs.currentIndex(), 2);
  QTest::keyClick(bar, Qt::Key_Left);
  EXPECT_EQ(tabs.currentIndex(), 1);
  EXPECT_EQ(asked.size(), 4u);
}

}  // namespace
}  // namespace zorv
