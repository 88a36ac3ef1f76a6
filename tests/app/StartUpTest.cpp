#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QScrollBar>
#include <QTabBar>
#include <algorithm>

#include "image/DefaultImage.h"
#include "ui/widgets/GatedTabWidget.h"
#include "tests/app/FormFixture.h"
#include "ui/widgets/MessageLine.h"

namespace zorv::test {
namespace {

using StartUp = FormFixture;

TEST_F(StartUp, AboutWindowComesFirstBeforeAnyLink) {
  form = std::make_unique<TZorvForm>(prompts, clock, FakeLinkFactory(links), ports);
  std::size_t linksDuringAbout = 99;
  QString caption, version;
  prompts.ExpectModal([&](QDialog& about) {
    linksDuringAbout = links.startedOn.size();
    caption = about.windowTitle();
    version = about.findChild<QLabel*>("Version")->text();
    return QDialog::Accepted;
  });
  form->FormCreate();
  ASSERT_FALSE(prompts.shown.empty());
  EXPECT_EQ(prompts.shown.front().call, ScriptedPrompts::Call::Modal);
  EXPECT_EQ(linksDuringAbout, 0u);
  EXPECT_EQ(caption, "ZorvTrim");
  EXPECT_EQ(version, "version 1.43");
  EXPECT_EQ(links.startedOn.size(), 1u);
}

struct PortSetting {
  const char* stored;  // nullptr: first run
  int port;
  const char* storedAfter;
};

class StartUpPort : public FormFixture, public ::testing::WithParamInterface<PortSetting> {};

TEST_P(StartUpPort, LinkStartsOnTheRememberedPort) {
  if (GetParam().stored != nullptr) PrivateSettings::Store("COM Port", GetParam().stored);
  MakeForm();
  EXPECT_EQ(links.startedOn, std::vector<int>{GetParam().port});
  EXPECT_EQ(form->PortNumber(), GetParam().port);
  EXPECT_EQ(PrivateSettings::Stored("COM Port").toString(), GetParam().storedAfter);
}

INSTANTIATE_TEST_SUITE_P(Settings, StartUpPort,
                         ::testing::Values(PortSetting{nullptr, 1, "1"}, PortSetting{"7", 7, "7"},
                                           PortSetting{"200", 200, "200"},
                                           PortSetting{"abc", 1, "abc"}));

TEST_F(StartUp, ShowsTheDefaultImageOnTheZorvPageWithProductCodeZero) {
  MakeForm(false);
  form->Image()[33] = 20;  // would select the Tarnovex page if it survived
  form->Image()[0] = 0;
  form->Trims() = {9, 99};
  form->SetProductCode('d');
  Products()->setCurrentIndex(3);
  Find<QTabWidget>("TabbedNotebook1")->setCurrentIndex(4);
  prompts.ExpectModal([](QDialog&) { return QDialog::Accepted; });
  form->FormCreate();

  SettingsImage defaults;
  GlobalTrimPair defaultTrims;
  LoadDefaultImage(defaults, defaultTrims);
  // Frequency, trims, joystick type, modes and labels are the defaults; later bytes may carry
  // the refresh's repairs.
  for (std::size_t i = 0; i <= 110; ++i) EXPECT_EQ(form->Image()[i], defaults[i]) << "byte " << i;
  EXPECT_EQ(form->ProductCode(), 0);
  // What the pages show of it, where they exist.
  if (auto* type = form->findChild<QComboBox*>("JoystickCombo")) {
    EXPECT_EQ(type->currentText(), "4 Button HG");
  }
  if (auto* frequency = form->findChild<QScrollBar*>("FreqScrollbar")) {
    EXPECT_EQ(frequency->value(), 115);
  }
  EXPECT_EQ(Products()->currentIndex(), 0);
  EXPECT_EQ(Find<QTabWidget>("TabbedNotebook1")->currentIndex(), 0);
}

TEST_F(StartUp, WindowFrame) {
  MakeForm();
  EXPECT_EQ(form->windowTitle(), "Zorv Configuration Tool[*]");  // [*]: the modified marker
  // 578 by 446, and the message line under the strip.
  EXPECT_EQ(form->centralWidget()->size(), QSize(578, 446 + MessageLine::kHeight));
  EXPECT_EQ(form->minimumSize(), form->maximumSize());
  EXPECT_EQ(Strip()->height(), 55);
  EXPECT_TRUE(Strip()->MemoPanel()->isHidden());
  auto* tabs = Find<QTabWidget>("TabbedNotebook1");
  const QStringList expected = {"Joysticks", "Global",   "Hoist (A2)",  "Plow (A4)",   "Wing (B)",
                                "Blade (C)", "Custom", "Float Modes", "Remote/Slave"};
  ASSERT_EQ(tabs->count(), expected.size());
  form->show();
  QApplication::processEvents();
  int right = 0;
  for (int i = 0; i < tabs->count(); ++i) {
    EXPECT_EQ(tabs->tabText(i), expected[i]);
    right = std::max(right, tabs->tabBar()->tabRect(i).right());
    // Each caption fits its tab.
    EXPECT_GE(tabs->tabBar()->tabRect(i).width(),
              tabs->tabBar()->fontMetrics().horizontalAdvance(expected[i]));
  }
  EXPECT_LT(right, tabs->width()) << "the last tab is cut off";
}

TEST_F(StartUp, TabGateDecidesPageChanges) {
  MakeForm();
  auto* tabs = form->findChild<GatedTabWidget*>("TabbedNotebook1");
  ASSERT_NE(tabs, nullptr);
  EXPECT_TRUE(tabs->RequestPage(2));  // no gate: every page
  form->SetTabGate([](int index) { return index != 5; });
  EXPECT_FALSE(tabs->RequestPage(5));
  EXPECT_EQ(tabs->currentIndex(), 2);
}

}  // namespace
}  // namespace zorv::test
