// The supervisor and the controller's boot loader: the hook, the "no firmware" paths, the chip
// line and the firmware installation.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "tests/link/SupervisorTestFixture.h"
#include "tests/support/FakeBootLoader.h"

namespace zorv::test {
namespace {

const std::string kFirstNoFirmware = "This system has no firmware, please select firmware now.";
const std::string kSecondNoFirmware =
    "This system has no firmware. \r\nPress OK, then cycle power and select firmware.";

using SupervisorBoot = BootLoaderLink;

TEST_F(SupervisorBoot, BootLoaderOnItsOwnIsHookedAndToldToStartTheProgram) {
  EXPECT_EQ(Answer('B'), Bytes{'u'});
  EXPECT_EQ(link.State(), LinkState::BootHook);
  EXPECT_EQ(Answer('?'), Bytes{'R'});
  EXPECT_EQ(link.State(), LinkState::WaitingForIdentification);
  // The program starts and identifies itself: no message, link idle.
  EXPECT_EQ(Answer('g'), Bytes{'E'});
  EXPECT_EQ(link.State(), LinkState::ConnectedIdle);
  EXPECT_TRUE(link.bridge.errors.empty());
}

TEST_F(SupervisorBoot, BootLoaderBackAfterRestartMeansNoProgram) {
  Answer('B');
  Answer('?');
  EXPECT_EQ(Answer('B'), Bytes{'u'});
  EXPECT_EQ(link.State(), LinkState::BootHook);
  EXPECT_EQ(link.bridge.errors, std::vector<std::string>{kFirstNoFirmware});
  // The next prompt leads to programming.
  EXPECT_EQ(Answer('?'), Bytes{'I'});
  EXPECT_EQ(link.State(), LinkState::BootIdentification);
}

TEST_F(SupervisorBoot, SilenceAfterRestartShowsTheSecondMessageOnce) {
  Answer('B');
  Answer('?');  // 'R', stamp renewed
  const std::uint32_t stamp = link.clock.Ticks();
  link.clock.Set(stamp + 2000);
  link.Step();
  EXPECT_TRUE(link.bridge.errors.empty());
  link.clock.Set(stamp + 2001);
  link.Step();
  EXPECT_EQ(link.bridge.errors, std::vector<std::string>{kSecondNoFirmware});
  EXPECT_EQ(link.State(), LinkState::WaitingForIdentification);
  link.RunFor(3000);
  EXPECT_EQ(link.bridge.errors.size(), 1u);
  EXPECT_EQ(link.Status().colour, StatusColour::Blue);
  // The next power cycle leads to programming.
  EXPECT_EQ(Answer('B'), Bytes{'u'});
  EXPECT_EQ(link.bridge.errors.size(), 1u);
  EXPECT_EQ(Answer('?'), Bytes{'I'});
  EXPECT_EQ(link.State(), LinkState::BootIdentification);
}

TEST_F(SupervisorBoot, UpgradeRequestLeadsToTheChipLine) {
  RequestUpgrade();
  EXPECT_EQ(Answer('B'), Bytes{'u'});
  EXPECT_EQ(Answer('?'), Bytes{'I'});
  EXPECT_EQ(link.State(), LinkState::BootIdentification);
  EXPECT_TRUE(link.bridge.errors.empty());
}

TEST_F(SupervisorBoot, PromptMissingForMoreThan250msAfterTheHookFails) {
  link.RunFor(10000);  // a long wait: the stamp is old when the boot loader shows up
  EXPECT_EQ(Answer('B'), Bytes{'u'});
  const std::uint32_t hooked = link.clock.Ticks();
  link.device.Feed({'x'});  // dropped
  link.clock.Set(hooked + 250);
  link.Step();
  EXPECT_EQ(link.State(), LinkState::BootHook);
  link.clock.Set(hooked + 251);
  link.Step();
  EXPECT_EQ(link.State(), LinkState::ConnectedIdle);
  EXPECT_EQ(link.Status().text, "Boot Hook Failed!");
  EXPECT_EQ(link.Status().colour, StatusColour::Red);
  EXPECT_TRUE(link.device.written.empty());
  // The keep-alive then tries the controller again.
  link.RunFor(2000);
  EXPECT_EQ(link.device.TakeWritten(), Bytes{0xFF});
  EXPECT_EQ(link.State(), LinkState::WaitingForIdentification);
}

TEST_F(SupervisorBoot, LatePromptWithin250msOfTheHookIsTaken) {
  link.RunFor(10000);
  Answer('B');
  link.RunFor(200);
  EXPECT_EQ(Answer('?'), Bytes{'R'});
  EXPECT_EQ(link.State(), LinkState::WaitingForIdentification);
}

TEST_F(SupervisorBoot, ChipLineIsShownGreenAndSelectsTheChip) {
  RequestUpgrade();
  Answer('B');
  Answer('?');
  link.bridge.refreshes.clear();
  link.device.Feed(std::string("AT90CAN128 BOOT\r\n"));
  link.Step();
  EXPECT_EQ(link.State(), LinkState::Programming);
  EXPECT_EQ(link.Status().text, "AT90CAN128 BOOT\r\n");
  EXPECT_EQ(link.Status().colour, StatusColour::Green);
  ASSERT_EQ(link.bridge.refreshes.size(), 1u);
  EXPECT_EQ(link.bridge.refreshes[0].text, "AT90CAN128 BOOT\r\n");
  EXPECT_EQ(link.bridge.refreshes[0].colour, StatusColour::Green);
  ASSERT_EQ(link.bridge.ready.size(), 1u);
  EXPECT_EQ(link.bridge.ready[0].chipLine, "AT90CAN128 BOOT");
  EXPECT_EQ(link.bridge.ready[0].chip.pageSize, 256u);
  EXPECT_EQ(link.bridge.ready[0].chip.flashLimit, 0x1F800u);
}

TEST_F(SupervisorBoot, NoChipLineFailsTheHook) {
  RequestUpgrade();
  Answer('B');
  Answer('?');
  link.device.Feed(std::string("ATmega16"));  // no CR LF
  link.Step();
  // Shown in a box; nothing was written, so the program the controller ran is started again.
  EXPECT_EQ(link.bridge.errors, std::vector<std::string>{"Boot Hook Failed!"});
  EXPECT_EQ(link.device.TakeWritten(), Bytes{'R'});
  EXPECT_EQ(link.State(), LinkState::WaitingForIdentification);
  EXPECT_EQ(link.Status().text, "Boot Hook Failed!");
  EXPECT_EQ(link.Status().colour, StatusColour::Red);
}

struct FileCase {
  const char* name;
  std::string file;  // relative to a temporary folder; "" = cancelled
  std::string text = "Error installing firmware";  // in red and in the box; the folder's name follows
};

class UnusableFirmwareFile : public BootLoaderLink, public ::testing::WithParamInterface<FileCase> {};

TEST_P(UnusableFirmwareFile, IsRefusedWithoutProgramming) {
  const std::string base = dir.path().toStdString() + "/";
  std::ofstream(base + "a*.hex") << ":00000001FF\n";
  std::ofstream(base + "b?.hex") << ":00000001FF\n";
  std::filesystem::create_directory(base + "folder.hex");
  const std::string& f = GetParam().file;
  link.bridge.firmwareFile = f.empty() ? "" : base + f;
  ReachProgramming();
  link.Step();
  EXPECT_EQ(link.bridge.firmwareDialogs, 1);
  const std::string text =
      GetParam().text.back() == '<' ? GetParam().text + base + f + ">: it is a folder, not a file"
                                    : GetParam().text;
  EXPECT_EQ(link.bridge.errors, std::vector<std::string>{text});
  EXPECT_TRUE(link.bridge.checks.empty());
  // No frame: only the restart of the program that is still intact.
  EXPECT_EQ(link.device.TakeWritten(), Bytes{'R'});
  EXPECT_EQ(link.State(), LinkState::WaitingForIdentification);
  EXPECT_EQ(link.Status().text, text);
  EXPECT_EQ(link.Status().colour, StatusColour::Red);
}

INSTANTIATE_TEST_SUITE_P(Files, UnusableFirmwareFile,
                         ::testing::Values(FileCase{"Cancelled", ""},
                                           FileCase{"Missing", "missing.hex"},
                                           FileCase{"Star", "a*.hex"},
                                           FileCase{"Question", "b?.hex"},
                                           FileCase{"Folder", "folder.hex", "Failed to read input file <"}),
                         [](const auto& p) { return std::string(p.param.name); });

TEST_F(SupervisorBoot, InstalledFirmwareRestartsTheControllerOnce) {
  WriteFirmware(":0100000055AA\n:00000001FF\n");
  ReachProgramming();
  std::optional<FakeBootLoader> boot(std::in_place, link.device);
  link.Step();
  EXPECT_EQ(boot->flash[0], 0x55);
  EXPECT_EQ(boot->Addresses('A'), std::vector<std::uint32_t>{0});
  EXPECT_EQ(link.bridge.infos, std::vector<std::string>{"Upload completed and verified!"});
  boot.reset();
  const Bytes written = link.device.TakeWritten();
  ASSERT_FALSE(written.empty());
  EXPECT_EQ(written.back(), 'R');
  EXPECT_EQ(link.State(), LinkState::WaitingForIdentification);
  EXPECT_EQ(link.Status().text, "Completed");
  EXPECT_EQ(link.Status().progress, 100);
  EXPECT_EQ(link.bridge.checks.size(), 1u);
  EXPECT_FALSE(link.thread->ProgramIncomplete());
  // The new program identifies itself and its settings are downloaded, as on a new link.
  EXPECT_EQ(Answer('g'), Bytes{'E'});
  EXPECT_EQ(link.State(), LinkState::ConnectedIdle);
  EXPECT_EQ(Answer(0), Bytes{0xFF});
  EXPECT_EQ(link.State(), LinkState::Download);
  EXPECT_EQ(link.bridge.firmwareDialogs, 1);
}

TEST_F(SupervisorBoot, BadFirmwareFileStopsWithTheReadersText) {
  WriteFirmware(":01000000550B\n");
  ReachProgramming();
  link.Step();
  EXPECT_EQ(link.State(), LinkState::WaitingForIdentification);
  EXPECT_EQ(link.Status().colour, StatusColour::Red);
  EXPECT_EQ(link.Status().text.rfind("Error parsing file: ", 0), 0u) << link.Status().text;
  EXPECT_EQ(link.bridge.errors, std::vector<std::string>{link.Status().text});
  EXPECT_EQ(link.device.TakeWritten(), Bytes{'R'});
}

TEST_F(SupervisorBoot, TerminateRequestBeforeProgrammingWritesNothing) {
  link.bridge.confirmWrite = true;
  WriteFirmware(":0100000055AA\n:00000001FF\n");
  ReachProgramming();
  link.stop = true;
  link.Step();
  EXPECT_TRUE(link.device.written.empty());
  // Destroyed before its answer was carried out: the intact program starts again.
  link.thread->Shutdown();
  EXPECT_EQ(link.device.TakeWritten(), Bytes{'R'});
}

TEST_F(SupervisorBoot, TerminateRequestMidStepSkipsTheMessageBox) {
  Answer('B');
  Answer('?');
  link.device.onWrite = [this](std::uint8_t byte) {
    if (byte == 'u') link.stop = true;  // the window starts destroying the thread
  };
  link.device.Feed({'B'});
  link.Step();
  EXPECT_EQ(link.device.written.back(), 'u');
  EXPECT_TRUE(link.bridge.errors.empty());
  link.device.onWrite = nullptr;
}

// The check stays open for ten minutes: the link sends nothing (no keep-alive to a boot loader)
// and sets no time limit of its own; the answer then programs as if given at once.
TEST_F(SupervisorBoot, WaitsSilentlyForTheAnswerToTheCheck) {
  WriteFirmware(":0100000055AA\n:00000001FF\n");
  RequestUpgrade();
  Answer('B');
  Answer('?');
  // The window's answer is held back: the question is still open.
  link.device.Feed(std::string("ATmega16 BOOT\r\n"));
  link.thread->Step();
  for (int i = 0; i < 60000; ++i) {
    link.thread->Step();
    link.clock.Sleep(10);
  }
  EXPECT_EQ(link.State(), LinkState::Programming);
  EXPECT_TRUE(link.device.TakeWritten().empty());
  EXPECT_TRUE(link.bridge.errors.empty());
  link.bridge.confirmWrite = true;
  std::optional<FakeBootLoader> boot(std::in_place, link.device);
  link.bridge.Answer([this](LinkJob job) { return link.Submit(std::move(job)); });
  link.Step();
  EXPECT_EQ(boot->flash[0], 0x55);
  EXPECT_EQ(link.bridge.infos, std::vector<std::string>{"Upload completed and verified!"});
}

}  // namespace
}  // namespace zorv::test
