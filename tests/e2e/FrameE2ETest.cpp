// Start-up end to end: the real window and link thread, zorv-sim as a Zorv v1.1 controller with
// a settings memory of its own, reached through a port alias in a private settings folder.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QThread>
#include <fstream>
#include <functional>
#include <memory>

#include "app/LinkNotice.h"
#include "app/ProductionLink.h"
#include "app/ZorvForm.h"
#include "host/HostSettings.h"
#include "image/DefaultImage.h"
#include "image/Encodings.h"
#include "image/TextFields.h"
#include "link/Clock.h"
#include "link/PortNames.h"
#include "tests/e2e/LinkHarness.h"
#include "tests/host/PrivateSettings.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/SimProcess.h"
#include "tests/support/TempFolder.h"

namespace zorv {
namespace {

using test::WaitUntil;

TEST(FrameE2E, StartUpDownloadsAndShowsTheControllersSettings) {
  test::PrivateSettings settings;
  test::TempFolder files;

  // A controller memory the tool could not show by chance.
  SettingsImage memory;
  GlobalTrimPair unused;
  LoadDefaultImage(memory, unused);
  memory[0] = 30;   // frequency code
  memory[1] = 77;   // hoist up minimum trim
  memory[32] = 201; // blade right maximum trim
  WriteLabel(memory, 39, "PLOWMAN");
  const std::string switchFile = files.File("controller.joy");
  {
    std::ofstream out(switchFile, std::ios::binary);
    out.write(reinterpret_cast<const char*>(memory.bytes.data()), kImageSize);
  }

  zorvtest::SimProcess sim;
  const QString port = sim.Start({"--product", "g", "--fast", "--image", QString::fromStdString(switchFile)});
  ASSERT_FALSE(port.isEmpty()) << sim.Output().toStdString();
  SetPortAlias(200, port.toStdString());
  WriteSetting(kApplicationName, kComPortSetting, "200");

  test::ScriptedPrompts prompts;
  prompts.ExpectModal([](QDialog&) { return QDialog::Accepted; });  // about window
  prompts.ExpectMessage();                                         // "Download Successful!"
  SteadyClock clock;
  std::unique_ptr<TZorvForm> form;
  form = std::make_unique<TZorvForm>(prompts, clock,
                                     [&form](int n) { return StartProductionLink(n); });
  form->FormCreate();
  MessageHook hook([&form](const LinkEvent& event, std::uint64_t source) {
    form->OnLinkEvent(event, source);
  });
  form->show();

  auto* status = form->findChild<QLabel*>("ConnectedPanel");
  ASSERT_NE(status, nullptr);
  const bool downloaded = WaitUntil(
      [&] {
        return prompts.AllUsed() && status->text() == "ZORV v1.1 Connected and Listening";
      },
      20000);
  ASSERT_TRUE(downloaded) << "status: " << status->text().toStdString() << "\n"
                          << sim.Output().toStdString();
  EXPECT_EQ(form->Link()->PortNumber(), 200);
  EXPECT_EQ(prompts.MessageTexts(), std::vector<QString>{"Download Successful!"});

  EXPECT_EQ(form->Image()[0], 30);
  EXPECT_EQ(form->Image()[1], 77);
  EXPECT_EQ(form->Image()[32], 201);
  EXPECT_EQ(ReadLabel(form->Image(), 39), "PLOWMAN");
  // And the pages show them.
  auto* hoistLabel = form->findChild<QLabel*>("HoistUpMinValueLabel");
  auto* bladeBar = form->findChild<QScrollBar*>("BladeRightMaxScrollBar");
  auto* frequencyBar = form->findChild<QScrollBar*>("FreqScrollbar");
  auto* labelEdit = form->findChild<QLineEdit*>("SixButton1LabelEdit");
  ASSERT_TRUE(hoistLabel && bladeBar && frequencyBar && labelEdit);
  EXPECT_EQ(hoistLabel->text().toStdString(), TrimVoltsText(77));
  EXPECT_EQ(bladeBar->value(), TrimBarPosition(201));
  EXPECT_EQ(frequencyBar->value(), FreqBarPosition(30));
  EXPECT_EQ(labelEdit->text(), "PLOWMAN");
  form.reset();  // the link goes before the simulator
  sim.Stop();
}

}  // namespace
}  // namespace zorv
