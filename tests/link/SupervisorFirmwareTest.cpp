// Firmware jobs that fail: what the controller is sent afterwards, where the link stays, and
// how long the failure stays on screen. A program is only started again when nothing was
// written; a controller whose flash a run touched stays in its boot loader until a run ends
// verified, whatever link comes next.
#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "tests/link/SupervisorTestFixture.h"
#include "tests/support/FakeBootLoader.h"

namespace zorv::test {
namespace {

constexpr const char* kIncomplete = "Firmware incomplete: upgrade again before using the truck";

class FirmwareJob : public BootLoaderLink {
 protected:
  void SetUp() override {
    BootLoaderLink::SetUp();
    WriteFirmware(":10000000000102030405060708090A0B0C0D0E0F78\n:01012C00557D\n:00000001FF\n");
  }
  // What a status refresh would show now.
  StatusSnapshot Shown() { return link.thread->Snapshot(); }
};

enum class Fault { CancelFile, RefuseFile, CancelCheck, SilentFirstAddress, NakData, Mismatch };

struct FailureRow {
  const char* name;
  Fault fault;
  const char* text;     // in red and in the box
  bool written;         // a page open went out: held, no 'R', Retry offered
};

class FirmwareFailure : public FirmwareJob, public ::testing::WithParamInterface<FailureRow> {};

TEST_P(FirmwareFailure, IsBoxedKeptOnScreenAndRestartsOnlyAnIntactProgram) {
  const FailureRow& row = GetParam();
  if (row.fault == Fault::CancelFile) link.bridge.firmwareFile.clear();
  if (row.fault == Fault::RefuseFile) std::ofstream(File()) << ":00000001FF\n";
  if (row.fault == Fault::CancelCheck) link.bridge.confirmWrite = false;
  ReachProgramming();
  std::optional<FakeBootLoader> boot(std::in_place, link.device);
  if (row.fault == Fault::SilentFirstAddress) boot->answers.push_back({});
  if (row.fault == Fault::NakData) {
    boot->answers = {{0x06}, {0x06}};
    for (int i = 0; i < 6; ++i) boot->answers.push_back({0x15});
  }
  if (row.fault == Fault::Mismatch) boot->corruptAddress = 0x0005;
  link.Step();
  boot.reset();
  const Bytes after = link.device.TakeWritten();
  const std::uint32_t closed = link.clock.Ticks();

  if (row.written) {
    EXPECT_EQ(link.bridge.retryQuestions,
              std::vector<std::string>{std::string(row.text) + "\r\n\r\n" + kIncomplete});
    EXPECT_TRUE(link.bridge.errors.empty());
    ASSERT_FALSE(after.empty());
    EXPECT_NE(after.back(), 'R');
    EXPECT_EQ(link.State(), LinkState::FirmwareHeld);
    EXPECT_EQ(link.Status().text, kIncomplete);
    EXPECT_TRUE(link.thread->ProgramIncomplete());
  } else {
    EXPECT_EQ(link.bridge.errors, std::vector<std::string>{row.text});
    EXPECT_TRUE(link.bridge.retryQuestions.empty());
    ASSERT_FALSE(after.empty());
    EXPECT_EQ(after.back(), 'R');
    EXPECT_EQ(link.State(), LinkState::WaitingForIdentification);
    EXPECT_FALSE(link.thread->ProgramIncomplete());
  }
  EXPECT_EQ(link.bridge.checks.size(), row.fault == Fault::CancelFile ||
                                               row.fault == Fault::RefuseFile
                                           ? 0u
                                           : 1u);
  // The failure outlives the box by 5 s, whatever the link does meanwhile.
  link.clock.Set(closed + 4990);
  EXPECT_EQ(Shown().text, row.text);
  EXPECT_EQ(Shown().colour, StatusColour::Red);
  if (!row.written) {
    EXPECT_EQ(Answer('g'), Bytes{'E'});  // the program is back
    EXPECT_EQ(Shown().text, row.text);
  }
  link.clock.Set(closed + 5001);
  EXPECT_EQ(Shown().text, row.written ? kIncomplete : "ZORV v1.1 Connected and Listening");
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FirmwareFailure,
    ::testing::Values(
        FailureRow{"CancelledDialog", Fault::CancelFile, "Error installing firmware", false},
        FailureRow{"FileWithoutData", Fault::RefuseFile, "Error parsing file: no program data",
                   false},
        FailureRow{"CancelledCheck", Fault::CancelCheck, "Error installing firmware", false},
        FailureRow{"SilentOnFirstAddress", Fault::SilentFirstAddress, "Upload failed!", false},
        FailureRow{"RefusedData", Fault::NakData, "Upload failed!", true},
        FailureRow{"Mismatch", Fault::Mismatch, "Contents of flash doesn't match file", true}),
    [](const auto& p) { return std::string(p.param.name); });

// Retry is a new job from the held state with the bytes that were approved: a file replaced on
// disk meanwhile is never programmed without its own check.
TEST_F(FirmwareJob, RetryProgramsTheApprovedBytesAndEndsVerified) {
  link.bridge.retryAnswers = {true};
  ReachProgramming();
  FakeBootLoader boot(link.device);
  boot.corruptAddress = 0x0005;
  link.bridge.onRetryQuestion = [&] {
    boot.corruptAddress.reset();
    std::ofstream(File()) << ":010000009966\n:00000001FF\n";  // replaced on disk
  };
  link.Step();
  EXPECT_EQ(link.State(), LinkState::FirmwareHeld);
  link.Step();  // the Retry job
  EXPECT_EQ(boot.flash[0], 0x00);
  EXPECT_EQ(boot.flash[0x12C], 0x55);
  EXPECT_EQ(link.bridge.retryQuestions.size(), 1u);
  EXPECT_EQ(link.bridge.checks.size(), 1u);  // no second check for the same file
  EXPECT_EQ(boot.Count('F'), 6);             // three pages, twice
  EXPECT_EQ(link.bridge.infos, std::vector<std::string>{"Upload completed and verified!"});
  EXPECT_EQ(link.device.TakeWritten().back(), 'R');
  EXPECT_FALSE(link.thread->ProgramIncomplete());
  EXPECT_EQ(link.State(), LinkState::WaitingForIdentification);
}

TEST_F(FirmwareJob, AControllerWithoutProgramStaysInItsBootLoader) {
  link.bridge.firmwareFile.clear();
  EXPECT_EQ(Answer('B'), Bytes{'u'});
  EXPECT_EQ(Answer('?'), Bytes{'R'});
  EXPECT_EQ(Answer('B'), Bytes{'u'});  // came back: no program
  EXPECT_EQ(Answer('?'), Bytes{'I'});
  link.device.Feed(std::string("ATmega16 BOOT\r\n"));
  link.Step();
  link.Step();  // the dialog, cancelled
  EXPECT_TRUE(link.device.TakeWritten().empty());  // 'R' would only bring 'B' back
  EXPECT_EQ(link.State(), LinkState::FirmwareHeld);
  EXPECT_EQ(link.Status().text, "Error installing firmware");
  link.RunFor(10000);
  EXPECT_TRUE(link.device.TakeWritten().empty());  // no keep-alive the boot loader ignores
  EXPECT_EQ(Shown().text, "Error installing firmware");
  // Upgrade Firmware goes straight to the file.
  link.bridge.firmwareFile = File();
  link.SetCommand(command::kUpgradeFirmware);
  link.Step();
  EXPECT_EQ(link.State(), LinkState::Programming);
  FakeBootLoader boot(link.device);
  link.Step();
  EXPECT_EQ(link.bridge.infos, std::vector<std::string>{"Upload completed and verified!"});
}

TEST_F(FirmwareJob, IncompleteFlashHoldsEveryLaterLinkUntilAVerifiedRun) {
  link.heldStore.Hold(HeldStore::DeviceKey(DeviceNameForPort(Supervisor::kPort)),
                      HeldRecord{"ATmega16 BOOT", 0x12345678u, false});
  link.NewThread();  // Reset, or a restart of the program
  link.Step();
  EXPECT_EQ(link.State(), LinkState::FirmwareHeld);
  EXPECT_EQ(link.Status().text, kIncomplete);
  EXPECT_EQ(link.Status().colour, StatusColour::Red);
  // Requests other than an upgrade are dropped.
  link.SetCommand(command::kDownload);
  link.RunFor(3000);
  EXPECT_TRUE(link.device.TakeWritten().empty());
  // A power cycle: the boot loader is held, and its prompt leads to programming, never 'R'.
  EXPECT_EQ(Answer('B'), Bytes{'u'});
  EXPECT_EQ(Answer('?'), Bytes{'I'});
}

struct ShutdownRow {
  const char* name;
  int answersBeforeStop;  // boot loader bytes fed after the upgrade request
  bool restarts;
};

class ShutdownInBootLoader : public FirmwareJob,
                             public ::testing::WithParamInterface<ShutdownRow> {};

// Reset, a port change or Exit while the controller is hooked for a firmware job that wrote
// nothing: its intact program is started again.
TEST_P(ShutdownInBootLoader, RestartsTheIntactProgram) {
  FakeController controller(link.device);
  link.ConnectIdle(controller);
  link.SetCommand(command::kUpgradeFirmware);
  link.Step();
  link.device.TakeWritten();
  const std::uint8_t answers[] = {'B', '?'};
  for (int i = 0; i < GetParam().answersBeforeStop && i < 2; ++i) Answer(answers[i]);
  if (GetParam().answersBeforeStop > 2) {
    // The chip line: the window now asks for the file and has not answered yet.
    link.device.Feed(std::string("ATmega16 BOOT\r\n"));
    link.thread->Step();
    ASSERT_EQ(link.State(), LinkState::Programming);
    link.device.TakeWritten();
  }
  link.thread->Shutdown();
  EXPECT_EQ(link.device.TakeWritten(), GetParam().restarts ? Bytes{'R'} : Bytes{});
}

INSTANTIATE_TEST_SUITE_P(
    States, ShutdownInBootLoader,
    ::testing::Values(ShutdownRow{"WaitingForTheBootLoader", 0, false},
                      ShutdownRow{"Hooked", 1, true}, ShutdownRow{"AskedForTheChipLine", 2, true},
                      ShutdownRow{"QuestionAboutTheFileOpen", 3, true}),
    [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace zorv::test
