#include <QComboBox>
#include <QPushButton>

#include "tests/app/FormFixture.h"
#include "tests/app/NoticeEvents.h"

namespace zorv::test {
namespace {

using Handlers = FormFixture;
using Command = std::pair<std::uint8_t, std::uint8_t>;

TEST_F(Handlers, LinkRequestsFromButtonsAndMenu) {
  MakeForm();
  struct Case {
    std::function<void()> act;
    Command command;
  };
  const std::vector<Case> cases = {
      {[&] { Find<QPushButton>("UploadButton")->click(); }, {254, 0}},
      {[&] { Action("SendCal")->trigger(); }, {254, 0}},
      {[&] { Find<QPushButton>("DownloadButton")->click(); }, {253, 0}},
      {[&] { Action("GetCalibration1")->trigger(); }, {253, 0}},
      {[&] { Action("UpgradeFirmware1")->trigger(); }, {251, 0}},
      {[&] {
         // The target is chosen first, and checked, before the controller is asked.
         prompts.ExpectSaveFile(QDir::tempPath() + "/controller-firmware.hex");
         Action("ReadFirmware1")->trigger();
       },
       {250, 0}},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    links.commands.clear();
    cases[i].act();
    EXPECT_EQ(links.commands, std::vector<Command>{cases[i].command}) << "case " << i;
  }
  EXPECT_EQ(links.startedOn.size(), 1u);
}

// A Zorv v1.0 leaves the product code as it is; comparisons and exports still have to know it
// exchanged 121 bytes only.
TEST_F(Handlers, AZorvV10DownloadIsTheProductComparisonsUse) {
  MakeForm();
  const ImageBytes downloaded = form->Image().bytes;
  for (const auto& [length, product] : {std::pair{121, product::kZorv10},
                                        std::pair{256, product::kZorvPages}}) {
    form->Bridge().StoreBufferToImage(downloaded, length);
    EXPECT_EQ(form->IdentifiedProduct(), product) << length << " bytes";
  }
}

class ResetInState : public FormFixture, public ::testing::WithParamInterface<LinkState> {};

TEST_P(ResetInState, IdleLinkIsAskedToRestartAnyOtherIsReplacedAtOnce) {
  MakeForm();
  Action("LogWindow1")->trigger();
  form->OnLinkEvent(EventFor(251, 7), 0);
  form->SetProductCode('c');  // a refresh moves to the Quirn page
  links.state = GetParam();
  Find<QPushButton>("ResetButton")->click();
  if (GetParam() == LinkState::ConnectedIdle) {
    EXPECT_EQ(links.commands, std::vector<Command>{Command(255, 0)});
    EXPECT_EQ(links.startedOn.size(), 1u);
  } else {
    EXPECT_TRUE(links.commands.empty());
    EXPECT_EQ(links.startedOn, (std::vector<int>{1, 1}));
    EXPECT_EQ(links.stopped, 1);
  }
  EXPECT_EQ(links.live, 1);
  EXPECT_EQ(Products()->currentIndex(), 2);
  EXPECT_TRUE(LogLines().isEmpty());
}

// Programming asks first: see the firmware window tests.
INSTANTIATE_TEST_SUITE_P(
    States, ResetInState,
    ::testing::Values(LinkState::Start, LinkState::PortFailed, LinkState::WaitingForIdentification,
                      LinkState::BootHook, LinkState::BootIdentification,
                      LinkState::ConnectedIdle, LinkState::Upload, LinkState::Download,
                      LinkState::Restart, LinkState::FirmwareHeld, LinkState::ReadingFirmware));

// Reset, a port change, Exit and the close box while firmware is written ask first; No lets the
// programming go on, and an answer given after it ended changes nothing.
enum class Stopper { Reset, Port, Exit, CloseBox };
enum class Answer { No, Yes, YesAfterTheEnd };

struct StopRow {
  const char* name;
  Stopper stopper;
  Answer answer;
  bool stopped;  // the link replaced (Reset, port) or the window closed (Exit, close box)
};

class StopWhileProgramming : public FormFixture, public ::testing::WithParamInterface<StopRow> {};

TEST_P(StopWhileProgramming, AsksFirst) {
  const StopRow& row = GetParam();
  MakeForm();
  form->show();
  links.state = LinkState::Programming;
  prompts.ExpectConfirm(row.answer != Answer::No, [&] {
    if (row.answer == Answer::YesAfterTheEnd) links.state = LinkState::WaitingForIdentification;
  });
  if (row.stopper == Stopper::Port && row.stopped) {
    prompts.ExpectModal([](QDialog&) { return QDialog::Rejected; });
  }
  switch (row.stopper) {
    case Stopper::Reset: Find<QPushButton>("ResetButton")->click(); break;
    case Stopper::Port: Action("PortNumber1")->trigger(); break;
    case Stopper::Exit: Action("Exit1")->trigger(); break;
    case Stopper::CloseBox: form->close(); break;
  }
  ASSERT_EQ(prompts.shown.back().call == ScriptedPrompts::Call::Modal ? 2u : 1u,
            prompts.shown.size() - 1);  // the about window, then the question
  const auto& question = prompts.shown[1];
  EXPECT_EQ(question.text,
            "Firmware is being written. Stopping now leaves the controller without a working "
            "program. Stop anyway?");
  const bool windowStopper = row.stopper == Stopper::Exit || row.stopper == Stopper::CloseBox;
  if (windowStopper) {
    EXPECT_EQ(!form->isVisible(), row.stopped);
  } else {
    EXPECT_EQ(links.startedOn.size(), row.stopped ? 2u : 1u);
  }
  EXPECT_EQ(links.stopped, row.stopped ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, StopWhileProgramming,
    ::testing::Values(StopRow{"ResetNo", Stopper::Reset, Answer::No, false},
                      StopRow{"ResetYes", Stopper::Reset, Answer::Yes, true},
                      StopRow{"ResetYesTooLate", Stopper::Reset, Answer::YesAfterTheEnd, false},
                      StopRow{"PortNo", Stopper::Port, Answer::No, false},
                      StopRow{"PortYes", Stopper::Port, Answer::Yes, true},
                      StopRow{"ExitNo", Stopper::Exit, Answer::No, false},
                      StopRow{"ExitYes", Stopper::Exit, Answer::Yes, true},
                      StopRow{"ExitYesTooLate", Stopper::Exit, Answer::YesAfterTheEnd, false},
                      StopRow{"CloseBoxNo", Stopper::CloseBox, Answer::No, false},
                      StopRow{"CloseBoxYes", Stopper::CloseBox, Answer::Yes, true}),
    [](const auto& p) { return std::string(p.param.name); });

struct LiveTestTick {
  std::uint32_t stamp;
  std::uint32_t now;
  bool ends;
};

class LiveTestTimeOut : public FormFixture, public ::testing::WithParamInterface<LiveTestTick> {};

TEST_P(LiveTestTimeOut, TimerEndsATestHeldLongerThanTwoAndAHalfSecondsOnce) {
  MakeForm();
  clock.Set(GetParam().now);
  form->TestTimeStamp() = GetParam().stamp;
  form->Timer2Timer();
  if (GetParam().ends) {
    EXPECT_EQ(links.commands, std::vector<Command>{Command(0, 0)});
    EXPECT_EQ(form->TestTimeStamp(), 0u);
  } else {
    EXPECT_TRUE(links.commands.empty());
    EXPECT_EQ(form->TestTimeStamp(), GetParam().stamp);
  }
  clock.Advance(500);
  form->Timer2Timer();
  if (GetParam().ends) {
    EXPECT_EQ(links.commands.size(), 1u) << "ended more than once";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Ticks, LiveTestTimeOut,
    ::testing::Values(LiveTestTick{0, 100000, false},            // no test running
                      LiveTestTick{1000, 3500, false},           // exactly 2500 ms
                      LiveTestTick{1000, 3501, true},            // more than 2500 ms
                      LiveTestTick{1, 1000, false},              // released, clock still early
                      LiveTestTick{1, 2502, true},               // released: ends at the next tick
                      LiveTestTick{0xFFFFF000u, 0x00000100u, true},   // 4352 ms across the wrap
                      LiveTestTick{0xFFFFFF00u, 0x00000100u, false},  // 512 ms across the wrap
                      LiveTestTick{0xFFFFFC00u, 0x000005C4u, false},  // exactly 2500 across it
                      LiveTestTick{0xFFFFFC00u, 0x000005C5u, true}));

TEST_F(Handlers, TimerTurnsBothLampsGray) {
  MakeForm();
  StatusStrip::SetLamp(Strip()->TXPanel(), kLampActive);
  StatusStrip::SetLamp(Strip()->RXPanel(), kLampActive);
  form->Timer2Timer();
  EXPECT_EQ(StatusStrip::LampColour(Strip()->TXPanel()), QColor(128, 128, 128));
  EXPECT_EQ(StatusStrip::LampColour(Strip()->RXPanel()), QColor(128, 128, 128));
}

TEST_F(Handlers, LogWindowGrowsAndShrinksTheWindow) {
  MakeForm();
  const int height = form->height();
  Action("LogWindow1")->trigger();
  EXPECT_TRUE(Action("LogWindow1")->isChecked());
  EXPECT_FALSE(Strip()->MemoPanel()->isHidden());
  EXPECT_EQ(form->height(), height + 250);
  EXPECT_EQ(Strip()->height(), 305);
  Action("LogWindow1")->trigger();
  EXPECT_FALSE(Action("LogWindow1")->isChecked());
  EXPECT_TRUE(Strip()->MemoPanel()->isHidden());
  EXPECT_EQ(form->height(), height);
  EXPECT_EQ(Strip()->height(), 55);
}

TEST_F(Handlers, ProductMenusShowTheirPages) {
  MakeForm();
  const std::vector<std::pair<const char*, int>> cases = {
      {"TarnovexMenu1", 1}, {"HalverstonMenu1", 3}, {"ZorvMenu1", 0}};
  for (const auto& [item, page] : cases) {
    Action(item)->trigger();
    EXPECT_EQ(Products()->currentIndex(), page) << item;
  }
}

TEST_F(Handlers, PortMenuStoresTheChoiceAndRestartsTheLinkOnIt) {
  ports = {{1, {"/dev/ttyS0", ""}}, {3, {"/dev/ttyS2", ""}}, {10, {"/dev/ttyS9", ""}}};
  PrivateSettings::Store("COM Port", "3");
  MakeForm();
  QString selectedAtOpen;
  prompts.ExpectModal([&](QDialog& dialog) {
    auto* box = dialog.findChild<QComboBox*>("ComPortBox");
    selectedAtOpen = box->currentText();
    box->setCurrentIndex(2);
    return QDialog::Accepted;
  });
  Action("PortNumber1")->trigger();
  EXPECT_EQ(selectedAtOpen, "COM3");
  EXPECT_EQ(links.startedOn, (std::vector<int>{3, 10}));
  EXPECT_EQ(links.live, 1);
  EXPECT_EQ(PrivateSettings::Stored("COM Port").toString(), "10");
  EXPECT_EQ(form->PortNumber(), 10);
}

TEST_F(Handlers, AboutShowsTheAboutWindow) {
  MakeForm();
  prompts.ExpectModal([](QDialog& about) {
    EXPECT_EQ(about.objectName(), "TSplashForm");
    return QDialog::Accepted;
  });
  Action("About1")->trigger();
}

TEST_F(Handlers, ExitStopsTheLinkAndClosesTheWindow) {
  MakeForm();
  form->show();
  Action("Exit1")->trigger();
  EXPECT_EQ(links.live, 0);
  EXPECT_FALSE(form->isVisible());
  form->SetCommand(253, 0);  // no link: nothing happens
  EXPECT_TRUE(links.commands.empty());
}

}  // namespace
}  // namespace zorv::test
