// The product pages in the main window: attached to ProductNotebook, shown by the refresh and
// the "View" menu, and the Tarnovex live test ended by the window's timer.
#include <gtest/gtest.h>

#include <QAction>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTest>
#include <memory>
#include <utility>
#include <vector>

#include "app/ZorvForm.h"
#include "tests/support/FakeClock.h"
#include "tests/support/ScriptedPrompts.h"

namespace zorv {
namespace {

using Commands = std::vector<std::pair<std::uint8_t, std::uint8_t>>;

// A link that is connected and idle and records the mailbox.
class RecordingLink final : public LinkControl {
 public:
  explicit RecordingLink(Commands& commands) : commands_(commands) {}
  bool Submit(LinkJob job) override {
    if (const auto* live = std::get_if<LiveOutputJob>(&job)) {
      commands_.emplace_back(live->output, live->value);
    } else if (std::holds_alternative<LiveOutputOffJob>(job)) {
      commands_.emplace_back(0, 0);
    }
    return true;
  }
  LinkState State() const override { return LinkState::ConnectedIdle; }
  int PortNumber() const override { return 1; }

 private:
  Commands& commands_;
};

struct WindowFixture {
  WindowFixture() {
    form.ResetButtonClick();  // no link yet: starts one
    commands.clear();
  }
  QStackedWidget* Notebook() { return form.findChild<QStackedWidget*>("ProductNotebook"); }

  test::ScriptedPrompts prompts;
  test::FakeClock clock{100000};
  Commands commands;
  TZorvForm form{prompts, clock, [this](int) { return std::make_unique<RecordingLink>(commands); }};
};

TEST(ProductWindow, RefreshShowsEachProductPageWithItsControls) {
  struct Case {
    std::uint8_t code;
    int page;
    const char* control;
  };
  for (const Case c : {Case{product::kTarnovex, productpage::kTarnovex, "PageControl1"},
                       Case{product::kQuirn, productpage::kQuirn, "Edit21"},
                       Case{product::kHalverston, productpage::kHalverston, "TabbedNotebook2"}}) {
    WindowFixture f;
    f.form.SetProductCode(c.code);
    f.form.RefreshControls(1);
    ASSERT_NE(f.Notebook(), nullptr);
    EXPECT_EQ(f.Notebook()->currentIndex(), c.page);
    EXPECT_NE(f.Notebook()->widget(c.page)->findChild<QWidget*>(c.control), nullptr) << c.control;
  }
}

TEST(ProductWindow, ViewMenuShowsTheTarnovexAndHalverstonPages) {
  WindowFixture f;
  auto* tarnovex = f.form.findChild<QAction*>("TarnovexMenu1");
  auto* halverston = f.form.findChild<QAction*>("HalverstonMenu1");
  ASSERT_NE(tarnovex, nullptr);
  ASSERT_NE(halverston, nullptr);
  tarnovex->trigger();
  EXPECT_EQ(f.Notebook()->currentWidget()->findChild<QTabWidget*>("PageControl1")->count(), 3);
  halverston->trigger();
  EXPECT_EQ(f.Notebook()->currentWidget()->findChild<QTabWidget*>("TabbedNotebook2")->count(), 3);
}

TEST(ProductWindow, TarnovexTestEndsWithTheTimerAfterItsOwnRelease) {
  WindowFixture f;
  f.form.Image()[33] = kTarnovexMarker;
  f.form.Image()[9] = 77;
  f.form.RefreshControls(1);
  auto* testMin = f.Notebook()->widget(productpage::kTarnovex)->findChild<QPushButton*>("Button3");
  ASSERT_NE(testMin, nullptr);

  QTest::mousePress(testMin, Qt::LeftButton);
  f.clock.Advance(400);
  f.form.Timer2Timer();  // a test held for less than 2.5 s goes on
  EXPECT_EQ(f.commands, (Commands{{3, 77}}));
  QTest::mouseRelease(testMin, Qt::LeftButton);
  EXPECT_EQ(f.form.TestTimeStamp(), 1u);
  EXPECT_EQ(f.commands, (Commands{{3, 77}, {3, 0}}));
  f.clock.Advance(500);
  f.form.Timer2Timer();
  EXPECT_EQ(f.commands, (Commands{{3, 77}, {3, 0}, {0, 0}}));
  EXPECT_EQ(f.form.TestTimeStamp(), 0u);
  f.form.Timer2Timer();
  EXPECT_EQ(f.commands.size(), 3u) << "the timer ends a test once";
}

TEST(ProductWindow, HalverstonTestHeldTooLongEndsAfterTwoAndAHalfSeconds) {
  WindowFixture f;
  f.form.SetProductCode(product::kHalverston);
  f.form.Image()[1] = 66;
  f.form.RefreshControls(1);
  auto* gripClose =
      f.Notebook()->widget(productpage::kHalverston)->findChild<QPushButton*>("Button31");
  ASSERT_NE(gripClose, nullptr);
  QTest::mousePress(gripClose, Qt::LeftButton);
  for (int tick = 0; tick < 5; ++tick) {
    f.clock.Advance(500);
    f.form.Timer2Timer();
  }
  EXPECT_EQ(f.commands, (Commands{{1, 66}})) << "2500 ms is not yet more than 2500 ms";
  f.clock.Advance(500);
  f.form.Timer2Timer();
  EXPECT_EQ(f.commands, (Commands{{1, 66}, {0, 0}}));
  QTest::mouseRelease(gripClose, Qt::LeftButton);
  EXPECT_EQ(f.commands, (Commands{{1, 66}, {0, 0}, {0, 0}}));
}

}  // namespace
}  // namespace zorv
