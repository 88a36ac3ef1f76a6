// The gate of TabbedNotebook1: joystick types that have the page, the two passwords, their
// entries kept for the window's life.
#include <gtest/gtest.h>

#include <QTabBar>
#include <QTest>

#include "tests/support/FakePageHost.h"
#include "ui/pages/PageGate.h"
#include "ui/widgets/GatedTabWidget.h"

namespace zorv {
namespace {

constexpr int kGlobal = 1, kCustom = 6, kFloats = 7, kRemote = 8;

class PageGateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* captions[] = {"Joysticks",  "Global", "Hoist (A2)", "Plow (A4)",   "Wing (B)",
                              "Blade (C)", "Custom", "Float Modes", "Remote/Slave"};
    for (const char* caption : captions) notebook.addTab(new QWidget, caption);
    notebook.setCurrentIndex(kGlobal);
    notebook.SetGate(gate.AsGate());
    notebook.show();
  }
  // A click on the tab, as the user does it.
  bool Click(int page) {
    QTabBar* bar = notebook.tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(page).center());
    return notebook.currentIndex() == page;
  }
  void Leave() { notebook.setCurrentIndex(kGlobal); }
  using Call = test::ScriptedPrompts::Call;
  const std::vector<test::ScriptedPrompts::Shown>& shown() { return host.scriptedPrompts.shown; }

  test::FakePageHost host;
  PageGate gate{host};
  GatedTabWidget notebook;
};

TEST_F(PageGateTest, JoystickTypesThatHaveTheCustomAndRemotePages) {
  struct Case {
    std::uint8_t type;
    bool customAsks;
    bool remoteOpens;
  };
  const Case cases[] = {{1, false, false}, {2, true, true},   {3, true, true},
                        {19, true, false}, {21, false, false}, {28, false, false}};
  for (const Case& c : cases) {
    host.image[33] = c.type;
    host.scriptedPrompts.shown.clear();
    if (c.customAsks) host.scriptedPrompts.ExpectQuery(std::nullopt);  // Cancel
    EXPECT_FALSE(Click(kCustom)) << int(c.type);
    EXPECT_EQ(shown().size(), c.customAsks ? 1U : 0U) << int(c.type);
    EXPECT_EQ(Click(kRemote), c.remoteOpens) << int(c.type);
    EXPECT_EQ(shown().size(), c.customAsks ? 1U : 0U) << int(c.type) << ": no prompt for Remote/Slave";
    Leave();
  }
}

TEST_F(PageGateTest, PasswordPromptsAndTheirEntries) {
  struct Case {
    int page;
    std::uint8_t type;
    const char* caption;
    const char* wrong;
    const char* right;
  };
  const Case cases[] = {{kCustom, 2, "Custom ZORV Settings", "Lodestar", "lodestar"},
                        {kFloats, 1, "ZORV Float Settings", "PRALT", "pralt"}};
  for (const Case& c : cases) {
    host.image[33] = c.type;
    host.scriptedPrompts.shown.clear();
    // A wrong letter case is refused and offered again.
    host.scriptedPrompts.ExpectQuery(QString(c.wrong));
    EXPECT_FALSE(Click(c.page)) << c.caption;
    ASSERT_EQ(shown().size(), 1U);
    EXPECT_EQ(shown()[0].call, Call::QueryText);
    EXPECT_EQ(shown()[0].title, c.caption);
    EXPECT_EQ(shown()[0].text, "Password");
    EXPECT_EQ(shown()[0].initial, "") << "empty when the window opens";

    // Cancel keeps the wrong entry.
    host.scriptedPrompts.ExpectQuery(std::nullopt);
    EXPECT_FALSE(Click(c.page));
    ASSERT_EQ(shown().size(), 2U);
    EXPECT_EQ(shown()[1].initial, c.wrong);

    host.scriptedPrompts.ExpectQuery(QString(c.right));
    EXPECT_TRUE(Click(c.page)) << c.caption;
    EXPECT_EQ(shown()[2].initial, c.wrong);

    // Opens without a prompt from now on.
    for (int again = 0; again < 3; ++again) {
      Leave();
      EXPECT_TRUE(Click(c.page)) << c.caption;
    }
    EXPECT_EQ(shown().size(), 3U);
    Leave();
  }
}

TEST_F(PageGateTest, EachPasswordOpensOnlyItsOwnPage) {
  host.image[33] = 3;
  host.scriptedPrompts.ExpectQuery(QString("pralt"));
  EXPECT_FALSE(Click(kCustom));
  host.scriptedPrompts.ExpectQuery(QString("lodestar"));
  EXPECT_FALSE(Click(kFloats));
}

TEST_F(PageGateTest, OtherPagesOpenFreely) {
  host.image[33] = 7;  // not a joystick type at all
  for (int page : {0, 2, 3, 4, 5, 1}) EXPECT_TRUE(Click(page)) << page;
  EXPECT_TRUE(shown().empty());
}

TEST_F(PageGateTest, AnOverlongEntryIsCutToWhatTheBoxTakes) {
  host.scriptedPrompts.ExpectQuery(QString(300, 'p'));
  EXPECT_FALSE(Click(kFloats));
  host.scriptedPrompts.ExpectQuery(std::nullopt);
  EXPECT_FALSE(Click(kFloats));
  EXPECT_EQ(shown()[1].initial, QString(255, 'p'));
}

}  // namespace
}  // namespace zorv
