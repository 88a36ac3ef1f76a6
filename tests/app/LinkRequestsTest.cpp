// The window's side of a link that cannot take a request, and of an adapter pulled out: the
// message line says why a request went nowhere; an unplugged adapter is watched for and gets a
// new link when it is back.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <functional>
#include <optional>
#include <string>

#include "host/HostSettings.h"
#include "link/PortNames.h"
#include "tests/app/FormFixture.h"
#include "ui/widgets/MessageLine.h"

namespace zorv::test {
namespace {

struct RefusalCase {
  const char* name;
  LinkState state;
  const char* control;  // a button of the strip or an action of the menu
  const char* shown;    // "" when the request is taken
  std::optional<LinkState> movesOnTo = std::nullopt;  // as the request is handed over
};

class Refusal : public FormFixture, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(Refusal, MessageLineSaysWhyAndTheRequestIsStillTheLinksToDrop) {
  MakeForm();
  const RefusalCase& c = GetParam();
  links.state = c.state;
  links.movesOnTo = c.movesOnTo;
  links.commands.clear();
  if (auto* button = form->findChild<QPushButton*>(c.control)) {
    button->click();
  } else {
    Action(c.control)->trigger();
  }
  auto* line = Find<MessageLine>("MessageLine");
  EXPECT_EQ(line->text().toStdString(), c.shown);
  // The window does not judge for the link: the request goes to it either way.
  EXPECT_EQ(links.commands.size(), 1u);
  if (*c.shown != 0) {
    EXPECT_EQ(line->CurrentTone(), MessageLine::Tone::Warning);
  }
}

INSTANTIATE_TEST_SUITE_P(
    States, Refusal,
    ::testing::Values(
        RefusalCase{"send_idle", LinkState::ConnectedIdle, "UploadButton", ""},
        RefusalCase{"get_idle", LinkState::ConnectedIdle, "GetCalibration1", ""},
        RefusalCase{"send_unplugged", LinkState::Unplugged, "SendCal",
                    "Not sent: the adapter is unplugged"},
        RefusalCase{"get_port_failed", LinkState::PortFailed, "DownloadButton",
                    "Not sent: not connected to a controller"},
        RefusalCase{"get_waiting", LinkState::WaitingForIdentification, "GetCalibration1",
                    "Not sent: not connected (waiting for the controller to answer)"},
        RefusalCase{"send_during_download", LinkState::Download, "UploadButton",
                    "Not sent: busy with a transfer"},
        RefusalCase{"get_during_upload", LinkState::Upload, "DownloadButton",
                    "Not sent: busy with a transfer"},
        RefusalCase{"upgrade_while_programming", LinkState::Programming, "UpgradeFirmware1",
                    "Not sent: the controller is in its boot loader"},
        RefusalCase{"send_while_held", LinkState::FirmwareHeld, "SendCal",
                    "Not sent: the controller is in its boot loader"},
        RefusalCase{"upgrade_while_held", LinkState::FirmwareHeld, "UpgradeFirmware1", ""},
        // Idle when the window looked, busy when the job arrived: the click is not lost silently.
        RefusalCase{"get_as_the_link_moves_on", LinkState::ConnectedIdle, "GetCalibration1",
                    "Not sent: busy with a transfer", LinkState::Upload},
        // Busy when the window looked, idle when the job arrived: taken, so nothing is said.
        RefusalCase{"get_as_the_link_comes_free", LinkState::Upload, "GetCalibration1", "",
                    LinkState::ConnectedIdle}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(FormFixture, RefusalMessageGoesAfterAFewSeconds) {
  MakeForm();
  links.state = LinkState::Download;
  auto* line = Find<MessageLine>("MessageLine");
  QElapsedTimer timer;
  timer.start();
  Strip()->UploadButton()->click();
  EXPECT_TRUE(line->Showing());
  while (line->Showing() && timer.elapsed() < MessageLine::kShownMs + 2000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    QThread::msleep(20);
  }
  EXPECT_FALSE(line->Showing());
  // The line's timer is a coarse one: it may fire up to 5 % early.
  EXPECT_GE(timer.elapsed(), MessageLine::kShownMs * 94 / 100);
}

bool RunUntil(const std::function<bool()>& done, int ms) {
  QElapsedTimer timer;
  timer.start();
  while (!done() && timer.elapsed() < ms) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(10);
  }
  return done();
}

// The unplugged link's alias points nowhere until the adapter is back: then, and only then,
// the window replaces the link on the same port, as Reset does.
TEST_F(FormFixture, UnpluggedAdapterGetsANewLinkWhenItsDeviceIsBack) {
  QTemporaryDir dir;
  const QString device = dir.filePath("ttyUSB-test");
  SetPortAlias(201, device.toStdString());
  WriteSetting(kApplicationName, kComPortSetting, "201");
  MakeForm();
  ASSERT_EQ(links.startedOn, std::vector<int>{201});
  links.state = LinkState::Unplugged;
  form->OnLinkEvent(UnpluggedEvent{}, links.currentSource);

  // Gone: nothing happens however long the window waits.
  EXPECT_FALSE(RunUntil([&] { return links.startedOn.size() > 1; }, 1500));
  QFile node(device);
  ASSERT_TRUE(node.open(QIODevice::WriteOnly));
  node.close();
  // Back: a new link on the same port, the old one stopped.
  EXPECT_TRUE(RunUntil([&] { return links.startedOn.size() > 1; }, 3000));
  EXPECT_EQ(links.startedOn, (std::vector<int>{201, 201}));
  EXPECT_EQ(links.live, 1);
  // Once only.
  EXPECT_FALSE(RunUntil([&] { return links.startedOn.size() > 2; }, 1200));
}

// A port whose device is missing (Reset while unplugged, or the adapter not plugged in yet)
// opens by itself once the device appears; one whose device is there (permission, busy) does
// not start a watch.
TEST_F(FormFixture, PortFailedOnAMissingDeviceOpensWhenItAppears) {
  QTemporaryDir dir;
  const QString device = dir.filePath("ttyUSB9");
  SetPortAlias(203, device.toStdString());
  WriteSetting(kApplicationName, kComPortSetting, "203");
  MakeForm();
  links.state = LinkState::PortFailed;
  form->Timer2Timer();
  EXPECT_FALSE(RunUntil([&] { return links.startedOn.size() > 1; }, 1200));
  QFile node(device);
  ASSERT_TRUE(node.open(QIODevice::WriteOnly));
  node.close();
  EXPECT_TRUE(RunUntil([&] { return links.startedOn.size() > 1; }, 3000));
  // Present but refused: no watch, nothing restarts.
  const std::size_t started = links.startedOn.size();
  form->Timer2Timer();
  EXPECT_FALSE(RunUntil([&] { return links.startedOn.size() > started; }, 1500));
}

// An unplug notice of a link the window already replaced starts no watch.
TEST_F(FormFixture, UnplugNoticeOfAReplacedLinkIsIgnored) {
  QTemporaryDir dir;
  SetPortAlias(202, dir.filePath("present").toStdString());
  QFile node(dir.filePath("present"));
  ASSERT_TRUE(node.open(QIODevice::WriteOnly));
  node.close();
  WriteSetting(kApplicationName, kComPortSetting, "202");
  MakeForm();
  const std::uint64_t old = links.currentSource;
  form->ResetButtonClick();  // idle: asks the link to restart itself
  form->OnLinkEvent(RestartWantedEvent{}, old);
  ASSERT_NE(links.currentSource, old);
  form->OnLinkEvent(UnpluggedEvent{}, old);
  EXPECT_FALSE(RunUntil([&] { return links.startedOn.size() > 2; }, 1500));
}

// An adapter plugged in after start-up is in the list: the dialog asks for the ports each time.
TEST_F(FormFixture, PortDialogListsThePortsPresentWhenItOpens) {
  MakeForm();
  int asked = 0;
  form->SetPortDiscovery([&] {
    ++asked;
    return PresentPorts{{1, {"/dev/ttyS0", ""}}, {34, {"/dev/ttyUSB1", "CP2102 USB to UART"}}};
  });
  QStringList listed;
  prompts.ExpectModal([&](QDialog& dialog) {
    auto* box = dialog.findChild<QComboBox*>("ComPortBox");
    for (int i = 0; i < box->count(); ++i) listed << box->itemText(i);
    box->setCurrentIndex(1);
    return QDialog::Accepted;
  });
  form->PortNumber1Click();
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(listed, (QStringList{"COM1", "COM34"}));
  EXPECT_EQ(links.startedOn.back(), 34);
}

}  // namespace
}  // namespace zorv::test
