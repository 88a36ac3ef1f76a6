// A port that cannot be opened, end to end: the real window and link thread on a port alias whose
// device is missing or held by another open. The status keeps the system's text; the tooltip
// explains it, and goes away once the port opens.
#include <gtest/gtest.h>

#include <QLabel>
#include <memory>

#include "app/LinkNotice.h"
#include "app/ProductionLink.h"
#include "app/ZorvForm.h"
#include "host/HostSettings.h"
#include "link/Clock.h"
#include "link/PortNames.h"
#include "link/QtSerialDevice.h"
#include "tests/e2e/LinkHarness.h"
#include "tests/host/PrivateSettings.h"
#include "tests/support/ScriptedPrompts.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

namespace zorv {
namespace {

using test::WaitUntil;

constexpr int kPort = 250;

class PortFailE2E : public ::testing::Test {
 protected:
  void StartForm() {
    WriteSetting(kApplicationName, kComPortSetting, QString::number(kPort));
    prompts.ExpectModal([](QDialog&) { return QDialog::Accepted; });  // about window
    form = std::make_unique<TZorvForm>(prompts, clock,
                                       [this](int n) { return StartProductionLink(n); });
    form->FormCreate();
    status = form->findChild<QLabel*>("ConnectedPanel");
    ASSERT_NE(status, nullptr);
  }
  bool WaitForStatus(const std::function<bool(const QString&)>& wanted) {
    return WaitUntil([&] { return wanted(status->text()); }, 10000);
  }

  test::PrivateSettings settings;
  test::ScriptedPrompts prompts;
  SteadyClock clock;
  std::unique_ptr<TZorvForm> form;
  QLabel* status = nullptr;
};

TEST_F(PortFailE2E, MissingDeviceKeepsTheSystemTextAndExplainsIt) {
  SetPortAlias(kPort, "/dev/zorv-no-such-device");
  StartForm();
  ASSERT_TRUE(WaitForStatus([](const QString& text) { return text.startsWith("COM Port Fail: "); }))
      << status->text().toStdString();
  EXPECT_EQ(status->text(), "COM Port Fail: No such port or directory");
  const QString tip = status->toolTip();
  EXPECT_TRUE(tip.startsWith(status->text() + "\n\n")) << tip.toStdString();
  EXPECT_TRUE(tip.contains("unplugged")) << tip.toStdString();
  EXPECT_TRUE(tip.contains("COMn=path")) << tip.toStdString();
  form.reset();
}

TEST_F(PortFailE2E, BusyPortIsExplainedAndTheTipGoesOnceResetOpensIt) {
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(master, 0);
  ASSERT_EQ(grantpt(master), 0);
  ASSERT_EQ(unlockpt(master), 0);
  SetPortAlias(kPort, ptsname(master));
  auto holder = std::make_unique<QtSerialDevice>();  // "another program"
  ASSERT_EQ(holder->Open(ptsname(master)), "");

  StartForm();
  ASSERT_TRUE(WaitForStatus([](const QString& text) { return text.startsWith("COM Port Fail: "); }))
      << status->text().toStdString();
  EXPECT_TRUE(status->toolTip().contains("another program holds the port"))
      << status->toolTip().toStdString();

  holder.reset();
  form->ResetButtonClick();
  ASSERT_TRUE(WaitForStatus([](const QString& text) {
    return text == "Waiting For Link On COM" + QString::number(kPort);
  })) << status->text().toStdString();
  EXPECT_EQ(status->toolTip(), "");
  form.reset();
  close(master);
}

}  // namespace
}  // namespace zorv
