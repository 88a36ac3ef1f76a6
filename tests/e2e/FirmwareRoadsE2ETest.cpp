// Firmware jobs off the main road, end to end on the link's side: a link stepped on a fake clock
// against zorv-sim's core in this process, through a cable that can be pulled out and plugged
// back, with a controller that can be switched off and on. Each row cuts a job somewhere, starts
// a new link as a restarted window or command line would, and checks what the controller does.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "link/FirmwareFlow.h"
#include "link/HeldStore.h"
#include "link/HexWriter.h"
#include "link/PortNames.h"
#include "link/TCOMThread.h"
#include "tests/support/FakeClock.h"
#include "tests/support/InProcessSim.h"

namespace zorv {
namespace {

using test::FakeClock;
using test::InProcessSim;

constexpr int kPort = 7;

// The simulator behind a USB adapter that can be pulled out: while out, every use fails as
// a vanished device does and opening it fails; the controller runs on, its bytes lost.
class Cable final : public SerialDevice {
 public:
  explicit Cable(InProcessSim& sim) : sim_(sim) {}
  void Unplug() {
    openWhenPulled_ = sim_.IsOpen();  // the program's handle stays open until it closes it
    out_ = true;
    sim_.Close();
  }
  // Pulled out when the link has written `count` more bytes (a job runs within one step);
  // `before` runs at that moment, while the job is still under way.
  void UnplugAfterWrites(int count, std::function<void()> before = {}) {
    writesLeft_ = count;
    beforeUnplug_ = std::move(before);
  }
  void PlugIn() {
    out_ = false;
    vanished_ = false;
  }
  std::string Open(const std::string& name) override {
    return out_ ? "No such file or directory" : sim_.Open(name);
  }
  bool IsOpen() const override { return out_ ? openWhenPulled_ : sim_.IsOpen(); }
  bool Read(std::uint8_t& byte) override { return Usable() && sim_.Read(byte); }
  bool Write(std::uint8_t byte) override {
    if (writesLeft_ > 0 && --writesLeft_ == 0) {
      if (beforeUnplug_) beforeUnplug_();
      Unplug();
    }
    return Usable() && sim_.Write(byte);
  }
  bool WaitReadable(std::uint32_t ms) override {
    if (Usable()) return sim_.WaitReadable(ms);
    return false;
  }
  void Close() override {
    openWhenPulled_ = false;
    if (!out_) sim_.Close();
  }
  bool Vanished() const override { return vanished_; }

 private:
  bool Usable() {
    if (out_) vanished_ = true;
    return !out_;
  }
  InProcessSim& sim_;
  bool out_ = false;
  bool openWhenPulled_ = false;
  bool vanished_ = false;
  int writesLeft_ = 0;
  std::function<void()> beforeUnplug_;
};

// Where a row cuts its job.
enum class Cut {
  None,
  CancelAtRetry,         // the upgrade fails; the user cancels the Retry box
  PowerCycleAtRetry,     // the controller is switched off and on while the Retry box is open
  UnplugWhileReading,    // Read Firmware, cable pulled halfway
  UnplugAtCheck,         // cable pulled while the "Write" check is open, then Cancel
  UnplugWhileWriting,    // cable pulled halfway through programming
};
// Who opens the port after the cut.
enum class Next { SameLink, Window, CommandLine };

struct Road {
  const char* name;
  std::vector<std::string> sim;
  bool readFlash;  // the job is Read Firmware, else an upgrade
  Cut cut;
  Next next;
  bool powerCycleAfter;  // the controller is switched off and on before the new link starts
  bool heldAfter;        // the new link finds the controller held (else its program runs)
};

const Road kRoads[] = {
    {"ReadBackAnsweredLateOnce", {"--late-readback", "0x0100"}, true, Cut::None, Next::SameLink,
     false, false},
    {"HeldAcrossWindowRestartAndPowerCycle", {"--corrupt-flash-once", "0x0040"}, false,
     Cut::CancelAtRetry, Next::Window, true, true},
    {"HeldAcrossCommandLineRestartAndPowerCycle", {"--corrupt-flash-once", "0x0040"}, false,
     Cut::CancelAtRetry, Next::CommandLine, true, true},
    {"PowerCycleWhileRetryIsAsked", {"--corrupt-flash-once", "0x0040"}, false,
     Cut::PowerCycleAtRetry, Next::Window, false, true},
    {"UnplugDuringReadFirmware", {}, true, Cut::UnplugWhileReading, Next::Window, false, false},
    {"UnplugWhileTheCheckIsOpen", {}, false, Cut::UnplugAtCheck, Next::Window, false, false},
    {"UnplugWhileWriting", {}, false, Cut::UnplugWhileWriting, Next::Window, false, true},
};

class FirmwareRoads : public ::testing::TestWithParam<Road> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    const std::string folder = dir_.path().toStdString();
    // One adapter, two names: the window's alias and the command line's.
    device_ = folder + "/ttyUSB0";
    std::ofstream(device_).put('\n');
    std::filesystem::create_symlink(device_, folder + "/window-alias");
    std::filesystem::create_symlink(device_, folder + "/cli-alias");
    held_ = std::make_unique<HeldStore>(folder + "/held.ini");
    sim_ = std::make_unique<InProcessSim>(clock_, GetParam().sim);
    ASSERT_EQ(sim_->Error(), "");
    // A program whose every block differs, so a block read at the wrong place shows.
    auto& flash = sim_->Memories().flash;
    for (std::size_t i = 0; i < flash.size(); ++i) flash[i] = static_cast<std::uint8_t>(i * 7 + (i >> 6));
    cable_ = std::make_unique<Cable>(*sim_);
    hexFile_ = folder + "/fw.hex";
    std::mt19937 random(5);
    std::vector<std::uint8_t> bytes(2048);
    for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
    ASSERT_TRUE(WriteHexFile(hexFile_, bytes));
  }
  void TearDown() override {
    if (link_) link_->Shutdown();
    UseDeviceForRun(0, "");
  }

  void StartLink(const std::string& alias) {
    if (link_) link_->Shutdown();
    link_.reset();
    UseDeviceForRun(kPort, dir_.path().toStdString() + "/" + alias);
    link_ = std::make_unique<TCOMThread>(events_, kPort, clock_, *cable_, stop_, held_.get());
  }

  // Steps the link as its thread does (a step, 10 ms) until `done` or `ms` have passed,
  // answering its events as the window does.
  bool Run(std::uint32_t ms, const std::function<bool()>& done) {
    const std::uint32_t start = clock_.Ticks();
    while (clock_.Since(start) < ms) {
      link_->Step();
      while (auto event = events_.Take()) Answer(std::move(*event));
      if (done()) return true;
      clock_.Sleep(10);
    }
    return false;
  }
  bool RunToState(LinkState state, std::uint32_t ms = 30000) {
    return Run(ms, [&] { return link_->State() == state; });
  }

  void Answer(LinkEvent event) {
    if (const auto* ready = std::get_if<BootLoaderReadyEvent>(&event)) {
      readyEvents_.push_back(*ready);
      if (answerReady_) link_->Submit(flow_.Ready(*ready));
    } else if (auto* finished = std::get_if<JobFinishedEvent>(&event)) {
      if (finished->job == JobKind::Upgrade) {
        if (auto next = flow_.Finished(*finished)) link_->Submit(std::move(*next));
      }
      finished_.push_back(std::move(*finished));
    } else if (const auto* held = std::get_if<HeldEvent>(&event)) {
      heldEvents_.push_back(*held);
    }
  }

  // True when the simulator logged `part` after its line number `from`.
  bool LoggedSince(std::size_t from, const std::string& part) const {
    const auto& log = sim_->Log();
    return std::any_of(log.begin() + static_cast<long>(std::min(from, log.size())), log.end(),
                       [&](const std::string& line) { return line.find(part) != std::string::npos; });
  }
  std::string LogText() const {
    std::string text;
    for (const auto& line : sim_->Log()) text += line + "\n";
    return text;
  }

  FakeClock clock_{100000};
  QTemporaryDir dir_;
  std::string device_;
  std::string hexFile_;
  std::unique_ptr<HeldStore> held_;
  std::unique_ptr<InProcessSim> sim_;
  std::unique_ptr<Cable> cable_;
  LinkEventQueue events_;
  std::atomic<bool> stop_{false};
  std::unique_ptr<TCOMThread> link_;
  std::function<bool(const std::string&)> onCheck_ = [](const std::string&) { return true; };
  std::function<bool(const std::string&)> onRetry_ = [](const std::string&) { return false; };
  std::vector<JobFinishedEvent> finished_;
  std::vector<HeldEvent> heldEvents_;
  std::vector<BootLoaderReadyEvent> readyEvents_;
  bool answerReady_ = true;  // false: the file dialog is not opened yet
  bool heldOnDiskWhileWriting_ = false;
  FirmwareFlow flow_{FirmwareFlow::Questions{
      [this] { return hexFile_; },
      [this](const std::string& check) { return onCheck_(check); },
      [this](const std::string& failure) { return onRetry_(failure); },
      [](const std::string&) {},
      [](const std::string&) {},
  }};
};

TEST_P(FirmwareRoads, EndsWithAWholeFileOrAControllerThatIsNeverStranded) {
  const Road& road = GetParam();
  StartLink("window-alias");
  ASSERT_TRUE(RunToState(LinkState::ConnectedIdle)) << LogText();

  switch (road.cut) {
    case Cut::None:
    case Cut::CancelAtRetry: break;
    case Cut::PowerCycleAtRetry:
      onRetry_ = [this](const std::string&) {
        sim_->PowerCycle();
        // The box stays open for 3 s with the link running; then Cancel.
        const std::uint32_t start = clock_.Ticks();
        while (clock_.Since(start) < 3000) {
          link_->Step();
          clock_.Sleep(10);
        }
        return false;
      };
      break;
    // A quarter into reading (60 of 240 read-back requests); halfway through writing (8 of 16
    // pages, 145 bytes each).
    case Cut::UnplugWhileReading: cable_->UnplugAfterWrites(60 * 5); break;
    case Cut::UnplugWhileWriting:
      onCheck_ = [this, armed = true](const std::string&) mutable {
        // What is on disk halfway is all a killed program or a laptop without power leaves.
        if (std::exchange(armed, false)) {
          cable_->UnplugAfterWrites(8 * 145, [this] {
            heldOnDiskWhileWriting_ = held_->Find(HeldStore::DeviceKey(device_)).has_value();
          });
        }
        return true;
      };
      break;
    case Cut::UnplugAtCheck:
      onCheck_ = [this, armed = true](const std::string&) mutable {
        if (std::exchange(armed, false)) cable_->Unplug();
        return false;
      };
      break;
  }
  const std::size_t logBefore = sim_->Log().size();
  ASSERT_TRUE(link_->Submit(road.readFlash ? LinkJob{ReadFlashJob{}} : LinkJob{OpenBootLoaderJob{}}));
  const bool unplugs = road.cut == Cut::UnplugWhileReading || road.cut == Cut::UnplugAtCheck ||
                       road.cut == Cut::UnplugWhileWriting;
  ASSERT_TRUE(Run(400000, [&] {
    return unplugs ? link_->State() == LinkState::Unplugged : !finished_.empty();
  })) << LogText();

  if (road.cut == Cut::None) {
    // Read Firmware: every block is the block at its address.
    ASSERT_EQ(finished_.size(), 1u);
    EXPECT_EQ(finished_[0].result, JobResult::Done) << finished_[0].text;
    const auto& flash = sim_->Memories().flash;
    ASSERT_EQ(finished_[0].flash.size(), std::size_t{0x3C00});
    EXPECT_TRUE(std::equal(finished_[0].flash.begin(), finished_[0].flash.end(), flash.begin()))
        << "the read-back is shifted";
    EXPECT_TRUE(sim_->Logged("answered 10500 ms late")) << LogText();
    return;
  }
  if (road.cut == Cut::UnplugWhileReading || road.cut == Cut::UnplugWhileWriting) {
    ASSERT_FALSE(finished_.empty());
    EXPECT_EQ(finished_.back().result, JobResult::Unplugged);
    EXPECT_NE(finished_.back().text.find("Adapter unplugged"), std::string::npos)
        << finished_.back().text;
    EXPECT_TRUE(finished_.back().flash.empty()) << "nothing of a cut read is handed out";
  }
  if (road.cut == Cut::UnplugWhileWriting) {
    EXPECT_TRUE(heldOnDiskWhileWriting_) << "a run cut by a kill would leave the controller unheld";
  }
  if (unplugs) {
    cable_->PlugIn();
  } else {
    link_->Shutdown();
  }
  if (road.powerCycleAfter) sim_->PowerCycle();

  // A restarted window or command line: a new link on the same store, through its own alias.
  const std::size_t logAtRestart = sim_->Log().size();
  heldEvents_.clear();
  readyEvents_.clear();
  answerReady_ = false;
  StartLink(road.next == Next::CommandLine ? "cli-alias" : "window-alias");
  // Held: the link keeps the boot loader (and, when it announced itself, asks for its chip line
  // and offers the upgrade at once); else the program runs.
  const auto settled = [&] {
    const LinkState state = link_->State();
    // A running program: idle, or in the download its identification starts.
    return road.heldAfter ? state == LinkState::FirmwareHeld || state == LinkState::Programming
                          : state == LinkState::ConnectedIdle || state == LinkState::Download;
  };
  ASSERT_TRUE(Run(30000, settled)) << LogText();
  Run(3000, [] { return false; });  // long enough for a boot loader left alone to start a program
  EXPECT_TRUE(settled()) << static_cast<int>(link_->State()) << "\n" << LogText();
  if (road.heldAfter) {
    EXPECT_FALSE(LoggedSince(logBefore, "program start requested")) << LogText();
    EXPECT_FALSE(LoggedSince(logBefore, "boot loader not held")) << LogText();
    ASSERT_FALSE(heldEvents_.empty());
    EXPECT_TRUE(heldEvents_.back().held);
    EXPECT_EQ(heldEvents_.back().device, HeldStore::DeviceKey(device_));
    // The upgrade again, as the technician chooses it: the file, "Write", verified.
    finished_.clear();
    answerReady_ = true;
    if (link_->State() == LinkState::Programming) {
      ASSERT_EQ(readyEvents_.size(), 1u);
      EXPECT_TRUE(readyEvents_[0].held);
      ASSERT_TRUE(link_->Submit(flow_.Ready(readyEvents_[0])));
    } else {
      ASSERT_TRUE(link_->Submit(OpenBootLoaderJob{}));
    }
    ASSERT_TRUE(Run(400000, [&] { return !finished_.empty(); })) << LogText();
    EXPECT_EQ(finished_.back().result, JobResult::Done) << finished_.back().text;
    EXPECT_FALSE(held_->Find(HeldStore::DeviceKey(device_)).has_value());
  } else {
    // The intact program was started again.
    EXPECT_TRUE(LoggedSince(logAtRestart, "program start requested")) << LogText();
  }
}

void PrintTo(const Road& road, std::ostream* out) { *out << road.name; }

INSTANTIATE_TEST_SUITE_P(Roads, FirmwareRoads, ::testing::ValuesIn(kRoads),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace zorv
