// An adapter pulled out while the link is idle, waiting, or in the middle of a transfer: the
// link says so in red, whatever it was doing, tells the window once and touches nothing more.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "tests/link/SupervisorTestFixture.h"

namespace zorv::test {
namespace {

struct UnplugCase {
  const char* name;
  // Brings the link to the moment of the unplug.
  std::function<void(Supervisor&, FakeController&)> before;
};

class Unplug : public ::testing::TestWithParam<UnplugCase> {};

TEST_P(Unplug, SaysAdapterUnpluggedAndWaitsToBeReplaced) {
  Supervisor s;
  FakeController controller(s.device);
  for (std::size_t i = 0; i < controller.memory.size(); ++i) {
    controller.memory[i] = static_cast<std::uint8_t>(i ^ 0x3C);
  }
  s.ConnectIdle(controller);
  const ImageBytes imageBefore = s.bridge.image.bytes;
  const std::size_t storesBefore = s.bridge.storedLengths.size();
  GetParam().before(s, controller);

  s.device.unplugged = true;
  s.RunFor(3000);

  EXPECT_EQ(s.State(), LinkState::Unplugged);
  EXPECT_EQ(s.Status().text, "Adapter unplugged from COM" + std::to_string(Supervisor::kPort));
  EXPECT_EQ(s.Status().colour, StatusColour::Red);
  const StatusSnapshot shown = s.thread->Snapshot();
  EXPECT_EQ(shown.text, "Adapter unplugged from COM7");  // no transfer failure over it
  EXPECT_FALSE(s.device.IsOpen());
  int told = 0;
  for (const auto& [code, value] : s.bridge.LinkNotices()) {
    told += code == notice::kAdapterUnplugged ? 1 : 0;
    EXPECT_NE(code, notice::kDownloadDone);
    EXPECT_NE(code, notice::kUploadDone);
  }
  EXPECT_EQ(told, 1);
  // The cut transfer stored nothing in the window's image.
  EXPECT_EQ(s.bridge.storedLengths.size(), storesBefore);
  EXPECT_EQ(s.bridge.image.bytes, imageBefore);
  EXPECT_TRUE(s.bridge.errors.empty());
  // Requests are refused while unplugged.
  EXPECT_FALSE(Accepts(LinkState::Unplugged, DownloadJob{}));
  EXPECT_FALSE(s.SetCommand(command::kDownload));
  // A cut transfer ends as unplugged, never as a success or a plain failure.
  if (std::string(GetParam().name).rfind("during", 0) == 0) {
    ASSERT_FALSE(s.bridge.finished.empty());
    EXPECT_EQ(s.bridge.finished.back().result, JobResult::Unplugged);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Moments, Unplug,
    ::testing::Values(
        UnplugCase{"idle", [](Supervisor&, FakeController&) {}},
        UnplugCase{"waiting_for_identification",
                   [](Supervisor& s, FakeController& c) {
                     c.answerIdentify = false;
                     s.RunFor(2100, LinkState::WaitingForIdentification);
                   }},
        UnplugCase{"during_download",
                   [](Supervisor& s, FakeController&) {
                     s.SetCommand(command::kDownload);
                     s.RunFor(400);
                     ASSERT_EQ(s.State(), LinkState::Download);
                   }},
        UnplugCase{"during_upload",
                   [](Supervisor& s, FakeController&) {
                     s.SetCommand(command::kUpload);
                     s.RunFor(400);
                     ASSERT_EQ(s.State(), LinkState::Upload);
                   }}),
    [](const auto& row) { return std::string(row.param.name); });

// A silent controller on a present adapter is not an unplug: the link keeps waiting in blue.
TEST(UnplugSilence, SilentControllerStaysWaiting) {
  Supervisor s;
  FakeController controller(s.device);
  s.ConnectIdle(controller);
  controller.answerIdentify = false;
  s.RunFor(5000);
  EXPECT_EQ(s.State(), LinkState::WaitingForIdentification);
  EXPECT_NE(s.Status().text.find("Waiting For Link On COM7"), std::string::npos);
}

}  // namespace
}  // namespace zorv::test
