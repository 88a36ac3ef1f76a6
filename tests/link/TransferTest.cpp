// Settings download and upload against a scripted controller: every byte on the wire, the image
// the window ends up with, progress, texts, and the failures.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image/DefaultImage.h"
#include "tests/link/SupervisorTestFixture.h"

namespace zorv::test {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Notices = std::vector<std::pair<std::uint8_t, std::uint8_t>>;

ImageBytes Pattern(int seed) {
  ImageBytes bytes{};
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    bytes[i] = static_cast<std::uint8_t>((i * 7 + static_cast<std::size_t>(seed)) % 251);
  }
  return bytes;
}

Bytes Head(const ImageBytes& bytes, int length) {
  return Bytes(bytes.begin(), bytes.begin() + length);
}

struct ProductLength {
  std::uint8_t code;
  int length;
  const char* retrieving;
  const char* uploading;
};

const ProductLength kProducts[] = {
    {'G', 121, "Retrieving v1.0 Calibration", "Uploading v1.0 Calibration"},
    {'g', 256, "Retrieving v1.1 Calibration", "Uploading v1.1 Calibration"},
    {'d', 256, "Retrieving v1.1 Calibration", "Uploading v1.1 Calibration"},
};

class Transfer : public ::testing::TestWithParam<ProductLength> {
 protected:
  // Opens the port and lets the controller identify itself: the first download is queued.
  void Identify() {
    controller.productCode = GetParam().code;
    link.Step();
    link.device.Feed({controller.productCode});
    link.Step();
    link.device.TakeWritten();
  }

  Supervisor link;
  FakeController controller{link.device};
};

TEST_P(Transfer, FirstDownloadBringsTheControllersImageByteForByte) {
  const int length = GetParam().length;
  controller.memory = Pattern(3);
  link.bridge.image.bytes.fill(0xEE);
  Identify();
  link.Step();  // 0xFF
  link.Step();  // product code in, 'F' out
  EXPECT_EQ(link.device.TakeWritten(), (Bytes{0xFF, 'F'}));
  EXPECT_EQ(link.Status().text, GetParam().retrieving);
  EXPECT_EQ(link.Status().progress, 0);
  EXPECT_EQ(link.State(), LinkState::Download);
  int steps = 0;
  while (link.State() == LinkState::Download && steps < 1000) {
    link.Cycle();
    ++steps;
  }
  EXPECT_EQ(steps, length);  // one byte per cycle
  EXPECT_EQ(link.device.TakeWritten(), Head(controller.memory, length));
  EXPECT_EQ(controller.downloadEchoes, Head(controller.memory, length));
  EXPECT_EQ(Head(link.bridge.image.bytes, length), Head(controller.memory, length));
  for (std::size_t i = static_cast<std::size_t>(length); i < kImageSize; ++i) {
    ASSERT_EQ(link.bridge.image[i], 0) << "byte " << i << " of a new thread's buffer";
  }
  EXPECT_EQ(link.State(), LinkState::WaitingForIdentification);
  EXPECT_EQ(link.Status().text, "Download Successful");
  EXPECT_EQ(link.Status().progress, 100);
  EXPECT_EQ(link.bridge.LinkNotices(), (Notices{{notice::kDownloadDone, 0}}));
}

// The downloaded image is posted before the controller's last echo goes out, with the bytes
// exactly as they came.
TEST_P(Transfer, LastEchoFollowsTheDownloadedEvent) {
  const int length = GetParam().length;
  controller.memory = Pattern(5);
  std::vector<int> posted;
  bool downloading = false;
  controller.onWrite = [&](std::uint8_t byte) {
    if (downloading) posted.push_back(link.bridge.downloadsPosted);
    if (byte == 'F') downloading = true;
  };
  Identify();
  link.RunFor(5000, LinkState::WaitingForIdentification);
  ASSERT_EQ(posted.size(), static_cast<std::size_t>(length));
  EXPECT_EQ(posted[posted.size() - 2], 0);
  EXPECT_EQ(posted.back(), 1);
  ASSERT_EQ(link.bridge.downloads.size(), 1u);
  EXPECT_EQ(link.bridge.downloads[0].length, length);
  EXPECT_EQ(link.bridge.downloads[0].productCode, GetParam().code);
  EXPECT_EQ(Head(link.bridge.downloads[0].bytes, length), Head(controller.memory, length));
  for (std::size_t i = static_cast<std::size_t>(length); i < kImageSize; ++i) {
    EXPECT_EQ(link.bridge.downloads[0].bytes[i], 0) << "byte " << i;
  }
}

TEST_P(Transfer, UploadSendsTheImageAndChecksEveryEcho) {
  const int length = GetParam().length;
  Identify();
  link.RunFor(5000, LinkState::WaitingForIdentification);
  link.device.Feed({GetParam().code});
  link.Step();
  ASSERT_EQ(link.State(), LinkState::ConnectedIdle);
  controller.memory.fill(0xEE);
  link.bridge.image.bytes = Pattern(11);
  link.device.TakeWritten();
  link.bridge.notices.clear();
  link.SetCommand(command::kUpload);
  link.Step();
  EXPECT_EQ(link.State(), LinkState::Upload);
  link.Step();
  EXPECT_EQ(link.Status().text, GetParam().uploading);
  EXPECT_EQ(link.Status().progress, 0);
  link.RunFor(5000, LinkState::WaitingForIdentification);
  EXPECT_EQ(link.State(), LinkState::WaitingForIdentification);
  Bytes expected{0xFF, 'H'};
  const Bytes image = Head(link.bridge.image.bytes, length);
  expected.insert(expected.end(), image.begin(), image.end());
  EXPECT_EQ(link.device.TakeWritten(), expected);
  EXPECT_EQ(Head(controller.memory, length), image);
  for (std::size_t i = static_cast<std::size_t>(length); i < kImageSize; ++i) {
    ASSERT_EQ(controller.memory[i], 0xEE) << "byte " << i << " must not cross the link";
  }
  EXPECT_EQ(link.Status().text, "Upload Successful");
  EXPECT_EQ(link.Status().progress, 100);
  EXPECT_EQ(link.bridge.LinkNotices(), (Notices{{notice::kUploadDone, 0}}));
}

INSTANTIATE_TEST_SUITE_P(Products, Transfer, ::testing::ValuesIn(kProducts),
                         [](const auto& p) {
                           return std::string("Product_") + static_cast<char>(p.param.code);
                         });

struct ProgressPoint {
  std::uint8_t product;
  int afterByte;
  int progress;
};

class DownloadProgress : public ::testing::TestWithParam<ProgressPoint> {};

// Progress is the next position over the length, rounded to the nearest, halves to even.
TEST_P(DownloadProgress, AfterEachByte) {
  const ProgressPoint& p = GetParam();
  Supervisor link;
  FakeController controller(link.device);
  controller.productCode = p.product;
  link.Step();
  link.device.Feed({p.product});
  link.Step();
  link.Step();
  link.Step();  // 'F': phase 2
  for (int k = 0; k < p.afterByte; ++k) link.Cycle();
  EXPECT_EQ(link.Status().progress, p.progress);
}

INSTANTIATE_TEST_SUITE_P(Points, DownloadProgress,
                         ::testing::Values(ProgressPoint{'g', 1, 1},      // 200/256 = 0.78
                                           ProgressPoint{'g', 31, 12},    // 12.5 -> 12
                                           ProgressPoint{'g', 32, 13},    // 12.89
                                           ProgressPoint{'g', 95, 38},    // 37.5 -> 38
                                           ProgressPoint{'g', 159, 62},   // 62.5 -> 62
                                           ProgressPoint{'g', 255, 100},  // 256/256
                                           ProgressPoint{'g', 256, 100},
                                           ProgressPoint{'G', 1, 2},  // 200/121 = 1.65
                                           ProgressPoint{'G', 60, 50},
                                           ProgressPoint{'G', 121, 100}));

TEST(TransferBuffer, ShortDownloadKeepsWhatAnEarlierUploadLeftInTheBuffer) {
  Supervisor link;
  FakeController controller(link.device);
  controller.productCode = 'G';
  link.ConnectIdle(controller);
  const ImageBytes uploaded = Pattern(17);
  link.bridge.image.bytes = uploaded;
  link.SetCommand(command::kUpload);
  link.RunFor(5000, LinkState::WaitingForIdentification);
  link.device.Feed({'G'});
  link.Step();
  controller.memory = Pattern(29);
  link.SetCommand(command::kDownload);
  link.RunFor(5000, LinkState::WaitingForIdentification);
  ASSERT_EQ(link.Status().text, "Download Successful");
  for (std::size_t i = 0; i < kImageSize; ++i) {
    ASSERT_EQ(link.bridge.image[i], i < 121 ? controller.memory[i] : uploaded[i]) << "byte " << i;
  }
}

TEST(TransferBuffer, BlankControllerGivesTheDefaults) {
  Supervisor link;
  FakeController controller(link.device);
  controller.memory = Pattern(1);
  controller.memory[33] = 0xFF;
  link.bridge.image.bytes.fill(7);
  link.bridge.trims = {9, 9};
  link.ConnectIdle(controller);
  SettingsImage defaults;
  GlobalTrimPair trims;
  LoadDefaultImage(defaults, trims);
  EXPECT_EQ(link.bridge.image, defaults);
  EXPECT_EQ(link.bridge.trims, trims);
  EXPECT_EQ(link.Status().text, "ZORV v1.1 Connected and Listening");
}

// Cycles until the link has written `count` bytes; returns the tick of that step.
std::uint32_t RunUntilWritten(Supervisor& link, std::size_t count) {
  for (int i = 0; i < 1000 && link.device.written.size() < count; ++i) {
    link.Step();
    if (link.device.written.size() >= count) return link.clock.Ticks();
    link.clock.Sleep(10);
  }
  ADD_FAILURE() << "the link wrote only " << link.device.written.size() << " bytes";
  return link.clock.Ticks();
}

// Announcements the controller sent before it saw our 'E', still on their way through a slow
// adapter when a request goes out: none is taken as the answer, so the image is never shifted.
struct Stray {
  const char* name;
  std::vector<std::uint32_t> arrivals;  // ms after the request, of stray product codes
};

void PrintTo(const Stray& row, std::ostream* os) { *os << row.name; }

class StrayAnnouncement : public ::testing::TestWithParam<Stray> {};

TEST_P(StrayAnnouncement, IsNeverTakenAsTheAnswer) {
  Supervisor link;
  FakeController controller(link.device);
  controller.memory = Pattern(7);
  link.ConnectIdle(controller);
  const std::uint32_t start = link.clock.Ticks();
  for (const std::uint32_t at : GetParam().arrivals) link.device.FeedAt(start + at, {'g'});
  std::uint32_t requestAt = 0;
  controller.onWrite = [&](std::uint8_t byte) {
    if (byte == 0xFF && requestAt == 0) requestAt = link.clock.Ticks();
  };
  link.SetCommand(command::kDownload);
  link.RunFor(10000, LinkState::WaitingForIdentification);
  EXPECT_EQ(link.State(), LinkState::WaitingForIdentification) << link.Status().text;
  EXPECT_EQ(link.bridge.image.bytes, controller.memory);
  EXPECT_EQ(controller.downloadEchoes, Head(controller.memory, 256));
  // The request waited for a quiet line: longer than the announce period after the last stray.
  const std::uint32_t last = GetParam().arrivals.empty() ? 0 : GetParam().arrivals.back();
  EXPECT_GT(requestAt - start, last + LinkPort::kAnnouncePeriodMs);
}

INSTANTIATE_TEST_SUITE_P(
    OnTheirWay, StrayAnnouncement,
    ::testing::Values(Stray{"None", {}}, Stray{"OneWaitingAlready", {0}},
                      Stray{"OneAfter150ms", {150}}, Stray{"TwoAt190And390ms", {190, 390}}),
    [](const auto& p) { return std::string(p.param.name); });

using TransferFailure = ConnectedLink;

// A wrong echo means the controller holds something else than was sent: the upload fails on
// the spot, nothing more is sent, and no success is ever posted.
TEST_F(TransferFailure, WrongEchoEndsTheUploadAtOnce) {
  controller.wrongEchoAt = 5;
  link.SetCommand(command::kUpload);
  const std::uint32_t lastSent = RunUntilWritten(link, 2 + 6);  // 0xFF, 'H', bytes 0..5
  link.clock.Set(lastSent + 5);
  link.Step();  // takes the wrong echo
  EXPECT_EQ(link.State(), LinkState::PortFailed);
  EXPECT_EQ(link.Status().text, "Upload Failed on COM7");
  EXPECT_EQ(link.Status().colour, StatusColour::Red);
  EXPECT_EQ(link.Status().progress, 2);  // 6 of 256, kept
  EXPECT_EQ(link.device.written.size(), 8u);
  EXPECT_TRUE(link.bridge.LinkNotices().empty());
}

TEST_F(TransferFailure, EndlessWrongEchoesStillEndTheUpload) {
  controller.wrongEchoAt = 0;
  link.SetCommand(command::kUpload);
  const std::uint32_t lastSent = RunUntilWritten(link, 3);
  while (link.clock.Since(lastSent) <= 1000 && link.State() == LinkState::Upload) {
    link.device.Feed({0xA5});
    link.Cycle();
  }
  link.device.Feed({0xA5});
  link.Step();
  EXPECT_EQ(link.State(), LinkState::PortFailed);
  EXPECT_EQ(link.Status().text, "Upload Failed on COM7");
}

struct SilenceCase {
  const char* name;
  std::uint8_t request;
  bool identifies;       // the controller answers the 0xFF
  int stopsAfter;        // download bytes before it falls silent
  std::size_t written;   // bytes the link wrote until the last accepted byte
  const char* failure;
};

class TransferSilence : public ConnectedLink, public ::testing::WithParamInterface<SilenceCase> {};

TEST_P(TransferSilence, MoreThan1000msEndsItRed) {
  const SilenceCase& c = GetParam();
  const SettingsImage before = link.bridge.image;
  controller.memory = Pattern(2);
  controller.answerIdentify = c.identifies;
  controller.downloadStopsAfter = c.stopsAfter;
  link.SetCommand(c.request);
  const std::uint32_t lastAccepted = RunUntilWritten(link, c.written);
  link.clock.Set(lastAccepted + 1000);
  link.Step();
  EXPECT_EQ(link.State(), c.request == command::kUpload ? LinkState::Upload : LinkState::Download);
  link.clock.Set(lastAccepted + 1001);
  link.Step();
  EXPECT_EQ(link.State(), LinkState::PortFailed);
  EXPECT_EQ(link.Status().text, c.failure);
  EXPECT_EQ(link.Status().colour, StatusColour::Red);
  EXPECT_EQ(link.bridge.image, before);
  EXPECT_TRUE(link.bridge.LinkNotices().empty());
  link.RunFor(3000);
  EXPECT_EQ(link.State(), LinkState::PortFailed);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TransferSilence,
    ::testing::Values(
        SilenceCase{"DownloadNoProductCode", command::kDownload, false, -1, 1,
                    "Download Failed on COM7"},
        SilenceCase{"DownloadMidway", command::kDownload, true, 40, 2 + 40,
                    "Download Failed on COM7"},
        SilenceCase{"UploadNoProductCode", command::kUpload, false, -1, 1,
                    "Upload Failed on COM7"}),
    [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace zorv::test
