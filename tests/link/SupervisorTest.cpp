// The link supervisor from port opening to idle: identification, keep-alive, live pairs,
// requests of the window, restart, and the status the window shows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/link/SupervisorTestFixture.h"

namespace zorv::test {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Notices = std::vector<std::pair<std::uint8_t, std::uint8_t>>;

TEST(SupervisorStart, OpensThePortOfItsNumberAndWaits) {
  Supervisor link;
  EXPECT_EQ(link.Status().text, "Not Connected");
  link.device.Feed({'g'});  // stale input from before the start is drained, not taken
  link.Step();
  EXPECT_EQ(link.device.openedName, DeviceNameForPort(Supervisor::kPort));
  EXPECT_EQ(link.State(), LinkState::WaitingForIdentification);
  EXPECT_EQ(link.Status().text, "Waiting For Link On COM7");
  EXPECT_EQ(link.Status().colour, StatusColour::Red);
  EXPECT_EQ(link.device.Pending(), 0u);
  EXPECT_EQ(link.bridge.notices, (Notices{{251, 'g'}}));
  EXPECT_TRUE(link.device.written.empty());
}

TEST(SupervisorStart, PortFailureIsFinal) {
  Supervisor link;
  link.device.openError = "No such file or directory";
  link.Step();
  EXPECT_EQ(link.State(), LinkState::PortFailed);
  EXPECT_EQ(link.Status().text, "COM Port Fail: No such port or directory");
  EXPECT_EQ(link.Status().colour, StatusColour::Red);
  link.device.openError.clear();
  link.RunFor(3000);
  EXPECT_EQ(link.State(), LinkState::PortFailed);
  EXPECT_EQ(link.device.openCount, 1);
  EXPECT_TRUE(link.device.written.empty());
  link.SetCommand(command::kDownload);
  link.RunFor(100);
  EXPECT_TRUE(link.device.written.empty());
}

TEST(SupervisorWaiting, BlueTextAtOnceAfterStartSinceTheStampIsZero) {
  Supervisor link;
  link.Step();
  link.Step();
  EXPECT_EQ(link.Status().text, "Waiting For Link On COM7");
  EXPECT_EQ(link.Status().colour, StatusColour::Blue);
}

TEST(SupervisorWaiting, BlueTextOnlyAfterMoreThan250msOfSilence) {
  Supervisor link(0);  // a tick count of 0 makes the zero stamp fresh
  link.Step();
  link.clock.Set(250);
  link.Step();
  EXPECT_EQ(link.Status().colour, StatusColour::Red);
  link.clock.Set(251);
  link.Step();
  EXPECT_EQ(link.Status().colour, StatusColour::Blue);
  EXPECT_EQ(link.Status().text, "Waiting For Link On COM7");
  EXPECT_TRUE(link.device.written.empty());  // the link never asks while it waits
}

TEST(SupervisorWaiting, BlueTextAcrossTheTickWrap) {
  Supervisor link(0xFFFFFF00u);
  link.Step();
  link.Step();
  EXPECT_EQ(link.Status().colour, StatusColour::Blue);
}

struct ProductCase {
  std::uint8_t code;
  std::string text;
  std::uint8_t productCodeAfter;  // 0x55 = left unchanged
};

class Identification : public ::testing::TestWithParam<ProductCase> {};

TEST_P(Identification, AcknowledgesAndShowsTheProduct) {
  const ProductCase& c = GetParam();
  Supervisor link;
  link.Step();
  link.device.TakeWritten();
  link.device.Feed({c.code});
  link.Step();
  EXPECT_EQ(link.device.TakeWritten(), Bytes{'E'});
  EXPECT_EQ(link.State(), LinkState::ConnectedIdle);
  EXPECT_EQ(link.Status().colour, StatusColour::Green);
  EXPECT_EQ(link.Status().text, c.text);
  EXPECT_EQ(PageCodeFor(c.code).value_or(0x55), c.productCodeAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Products, Identification,
    ::testing::Values(ProductCase{'G', "ZORV v1.0 Connected and Listening", 0x55},
                      ProductCase{'g', "ZORV v1.1 Connected and Listening", 0},
                      ProductCase{'b', "TARNOVEX Connected and Listening", 'b'},
                      ProductCase{'d', "HALVERSTON Connected and Listening", 'd'},
                      ProductCase{'c', "QUIRN Connected and Listening", 'c'}));

TEST(SupervisorWaiting, OtherBytesAreIgnored) {
  Supervisor link;
  link.Step();
  link.device.Feed({'x', 0xFF, '?', 'E'});
  link.RunFor(100);
  EXPECT_EQ(link.State(), LinkState::WaitingForIdentification);
  EXPECT_TRUE(link.device.written.empty());
}

TEST(SupervisorFirstLink, QueuesOneDownloadAfterTheFirstIdentification) {
  Supervisor link;
  FakeController controller(link.device);
  link.Step();
  link.device.Feed({'g'});
  link.Step();
  link.device.TakeWritten();
  link.Step();  // the queued download starts
  EXPECT_EQ(link.State(), LinkState::Download);
  EXPECT_EQ(link.device.TakeWritten(), Bytes{0xFF});
  link.RunFor(5000, LinkState::WaitingForIdentification);
  ASSERT_EQ(link.State(), LinkState::WaitingForIdentification);
  EXPECT_EQ(link.bridge.LinkNotices(), (Notices{{notice::kDownloadDone, 0}}));
  // A second identification of the same thread queues nothing.
  link.device.Feed({'g'});
  link.Step();
  link.device.TakeWritten();
  link.RunFor(1900);
  EXPECT_EQ(link.State(), LinkState::ConnectedIdle);
  EXPECT_TRUE(link.device.written.empty());
}

TEST(SupervisorFirstLink, EveryNewThreadDownloadsAgain) {
  Supervisor link;
  FakeController controller(link.device);
  link.ConnectIdle(controller);
  link.NewThread();
  link.Step();
  link.device.Feed({'g'});
  link.Step();
  link.Step();
  EXPECT_EQ(link.State(), LinkState::Download);
}

using SupervisorIdle = ConnectedLink;

TEST_F(SupervisorIdle, KeepAliveGoesOutOnlyAfterMoreThan2000ms) {
  const std::uint32_t stamp = link.clock.Ticks();
  link.clock.Set(stamp + 2000);
  link.Step();
  EXPECT_TRUE(link.device.written.empty());
  link.device.Feed({'x', 'y'});  // drained before the keep-alive, still logged
  link.clock.Set(stamp + 2001);
  controller.answerIdentify = false;
  link.Step();
  EXPECT_EQ(link.device.TakeWritten(), Bytes{0xFF});
  EXPECT_EQ(link.State(), LinkState::WaitingForIdentification);
  EXPECT_EQ(link.bridge.notices,
            (Notices{{251, 'x'}, {251, 'y'}, {252, 0xFF}}));
  // The controller answers, the link acknowledges and is idle again.
  link.device.Feed({'g'});
  link.Step();
  EXPECT_EQ(link.device.TakeWritten(), Bytes{'E'});
  EXPECT_EQ(link.State(), LinkState::ConnectedIdle);
  EXPECT_EQ(link.Status().text, "ZORV v1.1 Connected and Listening");
}

TEST_F(SupervisorIdle, SilentControllerAfterKeepAliveTurnsTheTextBlue) {
  controller.answerIdentify = false;
  link.RunFor(2020);
  ASSERT_EQ(link.State(), LinkState::WaitingForIdentification);
  link.RunFor(260);
  EXPECT_EQ(link.Status().colour, StatusColour::Blue);
  EXPECT_EQ(link.Status().text, "Waiting For Link On COM7");
}

TEST_F(SupervisorIdle, LivePairGoesOutEveryCycleAndHoldsOffTheKeepAlive) {
  link.SetCommand(3, 200);
  link.RunFor(5000);
  const Bytes written = link.device.TakeWritten();
  ASSERT_EQ(written.size(), 2u * 500u);
  for (std::size_t i = 0; i < written.size(); i += 2) {
    ASSERT_EQ(written[i], 3);
    ASSERT_EQ(written[i + 1], 200);
  }
  EXPECT_EQ(link.State(), LinkState::ConnectedIdle);
  // Releasing the button: (0, 0) stops the pairs, and the keep-alive follows 2000 ms later.
  link.SetCommand(0, 0);
  link.RunFor(2000);
  EXPECT_TRUE(link.device.written.empty());
  link.RunFor(10);
  EXPECT_EQ(link.device.TakeWritten(), Bytes{0xFF});
}

// A job the link accepts in a keep-alive exchange (a click on the window's thread as the
// keep-alive goes out, or before its answer is read) is carried out once the controller
// answers: Submit said yes. A controller that never answers drops it: carried out on its
// return, it would surprise the user.
struct KeepAliveCase {
  const char* name;
  bool duringTheStep;  // submitted from inside the keep-alive's write, else after that step
  bool answered;       // the controller answers the keep-alive
};

void PrintTo(const KeepAliveCase& row, std::ostream* os) { *os << row.name; }

class JobInKeepAlive : public ConnectedLink, public ::testing::WithParamInterface<KeepAliveCase> {};

TEST_P(JobInKeepAlive, IsCarriedOutOnlyIfTheControllerAnswers) {
  const KeepAliveCase& row = GetParam();
  controller.answerIdentify = false;
  bool accepted = false;
  if (row.duringTheStep) {
    controller.onWrite = [&](std::uint8_t byte) {
      if (byte == 0xFF && !accepted) accepted = link.Submit(LiveOutputJob{3, 200});
    };
    link.RunFor(2020);
  } else {
    link.RunFor(2020);
    ASSERT_EQ(link.State(), LinkState::WaitingForIdentification);
    accepted = link.Submit(LiveOutputJob{3, 200});
  }
  ASSERT_TRUE(accepted);
  link.RunFor(row.answered ? 0 : 1000);
  link.device.TakeWritten();
  controller.answerIdentify = true;
  link.device.Feed({'g'});
  link.RunFor(100);
  const Bytes written = link.device.TakeWritten();
  bool sent = false;
  for (std::size_t i = 0; i + 1 < written.size(); ++i) sent |= written[i] == 3 && written[i + 1] == 200;
  EXPECT_EQ(sent, row.answered);
}

INSTANTIATE_TEST_SUITE_P(Moments, JobInKeepAlive,
                         ::testing::Values(KeepAliveCase{"AsItGoesOut", true, true},
                                           KeepAliveCase{"BeforeItsAnswer", false, true},
                                           KeepAliveCase{"NeverAnswered", true, false}),
                         [](const auto& p) { return std::string(p.param.name); });

struct BusyCase {
  const char* name;
  LinkState state;
};

class RequestOutsideIdle : public ConnectedLink, public ::testing::WithParamInterface<BusyCase> {};

// A request made while the link is busy is lost: once idle again, nothing of it goes out.
TEST_P(RequestOutsideIdle, IsDropped) {
  if (GetParam().state == LinkState::WaitingForIdentification) {
    // The keep-alive's answer overdue: a controller that stopped answering.
    controller.answerIdentify = false;
    link.RunFor(2300);
  } else {
    link.SetCommand(GetParam().state == LinkState::Upload ? command::kUpload : command::kDownload);
    link.Cycle();
    link.Cycle();
  }
  ASSERT_EQ(link.State(), GetParam().state);
  link.SetCommand(9, 99);
  controller.answerIdentify = true;
  link.RunFor(5000, LinkState::WaitingForIdentification);
  link.device.Feed({'g'});
  link.RunFor(100, LinkState::ConnectedIdle);
  ASSERT_EQ(link.State(), LinkState::ConnectedIdle);
  link.device.TakeWritten();
  link.RunFor(1000);
  EXPECT_TRUE(link.device.written.empty());
}

INSTANTIATE_TEST_SUITE_P(States, RequestOutsideIdle,
                         ::testing::Values(BusyCase{"Waiting", LinkState::WaitingForIdentification},
                                           BusyCase{"Upload", LinkState::Upload},
                                           BusyCase{"Download", LinkState::Download}),
                         [](const auto& p) { return std::string(p.param.name); });

using SupervisorRestart = ConnectedLink;

TEST_F(SupervisorRestart, ResetRequestSendsIdentifyAndAsksForANewThreadEvery200ms) {
  link.device.Feed({'z'});
  link.SetCommand(command::kReset);
  link.Step();
  EXPECT_EQ(link.device.TakeWritten(), Bytes{0xFF});
  EXPECT_EQ(link.State(), LinkState::Restart);
  const std::uint32_t stamp = link.clock.Ticks();
  link.clock.Set(stamp + 200);
  link.Step();
  EXPECT_TRUE(link.bridge.LinkNotices().empty());
  link.clock.Set(stamp + 201);
  link.Step();
  EXPECT_EQ(link.bridge.LinkNotices(), (Notices{{255, 0}}));
  link.clock.Set(stamp + 401);
  link.Step();
  link.clock.Set(stamp + 402);
  link.Step();
  EXPECT_EQ(link.bridge.LinkNotices(), (Notices{{255, 0}, {255, 0}}));
  link.SetCommand(command::kDownload);  // the thread is on its way out: dropped
  link.RunFor(1000);
  EXPECT_EQ(link.State(), LinkState::Restart);
  EXPECT_TRUE(link.device.written.empty());
}

using SupervisorUpgrade = ConnectedLink;

TEST_F(SupervisorUpgrade, ProductCodeWithin500msRestartsIntoTheBootLoader) {
  link.SetCommand(command::kUpgradeFirmware);
  link.Step();
  EXPECT_EQ(link.device.TakeWritten(), (Bytes{0xFF, 'R'}));
  EXPECT_EQ(link.State(), LinkState::WaitingForIdentification);
}

struct UpgradeFailure {
  const char* name;
  std::uint32_t answerAfterMs;  // when the controller's byte comes after the 0xFF
  std::uint8_t answer;
};

class UpgradeWithoutAnswer : public ConnectedLink,
                             public ::testing::WithParamInterface<UpgradeFailure> {};

TEST_P(UpgradeWithoutAnswer, RestartsTheLink) {
  controller.answerIdentify = false;
  link.device.FeedAt(link.clock.Ticks() + GetParam().answerAfterMs, {GetParam().answer});
  link.SetCommand(command::kUpgradeFirmware);
  const std::uint32_t start = link.clock.Ticks();
  link.Step();
  EXPECT_EQ(link.device.TakeWritten(), Bytes{0xFF});
  EXPECT_EQ(link.State(), LinkState::Restart);
  EXPECT_LE(link.clock.Since(start), 505u);
  link.RunFor(220);
  EXPECT_EQ(link.bridge.LinkNotices(), (Notices{{255, 0}}));
}

INSTANTIATE_TEST_SUITE_P(Cases, UpgradeWithoutAnswer,
                         ::testing::Values(UpgradeFailure{"Silence", 100000, 'g'},
                                           UpgradeFailure{"TooLate", 510, 'g'},
                                           UpgradeFailure{"NotAProductCode", 100, 'x'}),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(SupervisorSnapshot, LampsLightForBytesWithinTheLast200ms) {
  Supervisor link;
  link.Step();
  link.device.Feed({'g'});
  link.Step();  // 'g' in, 'E' out at the same tick
  StatusSnapshot snapshot;
  snapshot = link.thread->Snapshot();
  EXPECT_TRUE(snapshot.receiveLamp);
  EXPECT_TRUE(snapshot.transmitLamp);
  EXPECT_EQ(snapshot.text, "ZORV v1.1 Connected and Listening");
  EXPECT_EQ(snapshot.colour, StatusColour::Green);
  link.clock.Advance(199);
  EXPECT_TRUE(link.thread->Snapshot().receiveLamp);
  link.clock.Advance(1);
  snapshot = link.thread->Snapshot();
  EXPECT_FALSE(snapshot.receiveLamp);
  EXPECT_FALSE(snapshot.transmitLamp);
}

TEST(SupervisorStop, NoStepRunsOnceTheTerminateRequestIsSet) {
  Supervisor link;
  link.stop = true;
  link.RunFor(1000);
  EXPECT_EQ(link.State(), LinkState::Start);
  EXPECT_EQ(link.device.openCount, 0);
  EXPECT_TRUE(link.bridge.refreshes.empty());
}

}  // namespace
}  // namespace zorv::test
