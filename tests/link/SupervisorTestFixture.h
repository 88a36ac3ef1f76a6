#pragma once
// A link supervisor on the fake clock, a scripted serial device and a scripted window,
// plus a scripted controller that answers identification requests and both transfers, and the
// two starting points most supervisor tests share: an idle link, and one meeting a boot loader.
#include <gtest/gtest.h>

#include <QSettings>
#include <QTemporaryDir>
#include <atomic>
#include <cstdint>
#include <fstream>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "link/PortNames.h"
#include "link/TCOMThread.h"
#include "tests/support/FakeClock.h"
#include "tests/support/ScriptedWindow.h"
#include "tests/support/ScriptedSerialDevice.h"

namespace zorv::test {

// Plays the controller program: a product code for every 0xFF, 'I' and echoes for 'H',
// the image byte by byte for 'F'. Live pairs and 'E' are recorded, not answered.
class FakeController {
 public:
  explicit FakeController(ScriptedSerialDevice& device) : device_(device) {
    device_.onWrite = [this](std::uint8_t byte) { OnByte(byte); };
  }
  ~FakeController() { device_.onWrite = nullptr; }
  FakeController(const FakeController&) = delete;
  FakeController& operator=(const FakeController&) = delete;

  std::uint8_t productCode = 'g';
  bool answerIdentify = true;
  ImageBytes memory{};  // the controller's settings
  // Echo of this upload byte (0-based) comes back wrong, and the controller then falls silent.
  int wrongEchoAt = -1;
  // The download stops (silence) after sending this many bytes.
  int downloadStopsAfter = -1;
  std::vector<std::uint8_t> downloadEchoes;  // what the link echoed during a download
  // Runs just before the controller sees each byte the link writes.
  std::function<void(std::uint8_t)> onWrite;

  int Length() const { return productCode == 'G' ? 121 : 256; }

 private:
  enum class Mode { Idle, Identified, Uploading, Downloading, Silent };

  void OnByte(std::uint8_t byte) {
    if (onWrite) onWrite(byte);
    if (mode_ == Mode::Silent) return;
    if (byte == 0xFF && (mode_ == Mode::Idle || mode_ == Mode::Identified)) {
      if (answerIdentify) device_.Feed({productCode});
      mode_ = Mode::Identified;
      return;
    }
    switch (mode_) {
      case Mode::Identified:
        if (byte == 'H') {
          index_ = 0;
          mode_ = Mode::Uploading;
          device_.Feed({'I'});
        } else if (byte == 'F') {
          index_ = 0;
          mode_ = Mode::Downloading;
          downloadEchoes.clear();
          device_.Feed({memory[0]});
        } else {
          mode_ = Mode::Idle;
        }
        break;
      case Mode::Uploading:
        memory[static_cast<std::size_t>(index_)] = byte;
        if (index_ == wrongEchoAt) {
          device_.Feed({static_cast<std::uint8_t>(byte ^ 0x5A)});
          mode_ = Mode::Silent;
          break;
        }
        device_.Feed({byte});
        if (++index_ == Length()) mode_ = Mode::Idle;
        break;
      case Mode::Downloading:
        downloadEchoes.push_back(byte);
        if (++index_ == Length()) {
          mode_ = Mode::Idle;
        } else if (index_ == downloadStopsAfter) {
          mode_ = Mode::Silent;
        } else {
          device_.Feed({memory[static_cast<std::size_t>(index_)]});
        }
        break;
      default:
        break;
    }
  }

  ScriptedSerialDevice& device_;
  Mode mode_ = Mode::Idle;
  int index_ = 0;
};

class Supervisor {
 public:
  static constexpr int kPort = 7;
  // Ticks like a PC that has been running a while: the thread's time stamp 0 is long past.
  static constexpr std::uint32_t kStartTicks = 5'000'000;

  Supervisor() : Supervisor(kStartTicks) {}
  explicit Supervisor(std::uint32_t startTicks) : clock(startTicks) {
    // Port aliases live in the user's settings; keep the user's own out of the tests.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir_.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir_.path());
    NewThread();
  }

  // What the window does on Reset or when the link asks to be replaced: a fresh thread for the
  // same port (with the same held store, as the window's next link has).
  void NewThread() {
    thread.reset();
    bridge.sentOnThisLink = {};
    thread = std::make_unique<TCOMThread>(bridge, kPort, clock, device, stop, &heldStore);
  }

  // One step, then the window answers what the link posted.
  void Step() {
    thread->Step();
    bridge.Answer([this](LinkJob job) { return thread->Submit(std::move(job)); });
  }
  // One loop cycle: a step and the 10 ms sleep.
  void Cycle() {
    Step();
    clock.Sleep(10);
  }
  // Cycles until `ms` have passed or the link reaches `untilState`.
  void RunFor(std::uint32_t ms, std::optional<LinkState> untilState = std::nullopt) {
    const std::uint32_t start = clock.Ticks();
    while (clock.Since(start) < ms && State() != untilState) Cycle();
  }
  // A button press: the job it hands the link; false when the link refused it.
  bool SetCommand(std::uint8_t command, std::uint8_t argument = 0) {
    return thread->Submit(bridge.JobFor(command, argument));
  }
  bool Submit(LinkJob job) { return thread->Submit(std::move(job)); }

  LinkState State() { return thread->State(); }
  LinkStatus Status() { return thread->Status(); }

  // Opens the port and brings the link to idle in state 6 with the first download done.
  void ConnectIdle(FakeController& controller) {
    Step();  // state 0 -> 2
    device.Feed({controller.productCode});
    Step();  // -> 6, first download queued
    RunFor(5000, LinkState::WaitingForIdentification);
    device.Feed({controller.productCode});
    Step();  // -> 6 again
    device.TakeWritten();
    bridge.notices.clear();
    bridge.refreshes.clear();
  }

  FakeClock clock;
  ScriptedSerialDevice device{clock};
  ScriptedWindow bridge;
  std::atomic<bool> stop{false};

 private:
  QTemporaryDir settingsDir_;

 public:
  // Held controllers are kept here, as the window keeps them beside its history.
  HeldStore heldStore{settingsDir_.path().toStdString() + "/held-controllers.txt"};
  std::unique_ptr<TCOMThread> thread;
};

// A link brought to idle by a scripted controller, where most supervisor tests start.
class ConnectedLink : public ::testing::Test {
 protected:
  void SetUp() override { link.ConnectIdle(controller); }

  Supervisor link;
  FakeController controller{link.device};
};

// A link on its way to a controller's boot loader, with a temporary folder for firmware files.
class BootLoaderLink : public ::testing::Test {
 protected:
  using Bytes = std::vector<std::uint8_t>;

  void SetUp() override {
    link.Step();  // state 2, stamp 0 long past
    link.device.TakeWritten();
  }

  // Feeds one byte and runs one step; returns what the link wrote.
  Bytes Answer(std::uint8_t byte) {
    link.device.Feed({byte});
    link.Step();
    return link.device.TakeWritten();
  }

  // The firmware file the window's dialog picks, written with `records`.
  std::string File() const { return dir.path().toStdString() + "/fw.hex"; }
  void WriteFirmware(const std::string& records) {
    std::ofstream(File()) << records;
    link.bridge.firmwareFile = File();
  }

  // An upgrade request whose 0xFF the controller answers: firmware wanted, 'R' sent, state 2.
  void RequestUpgrade() {
    FakeController controller(link.device);
    link.ConnectIdle(controller);
    link.SetCommand(command::kUpgradeFirmware);
    link.Step();
    ASSERT_EQ(link.device.TakeWritten(), (Bytes{0xFF, 'R'}));
    ASSERT_EQ(link.State(), LinkState::WaitingForIdentification);
  }

  // From an upgrade request to state 5 with the chip line given.
  void ReachProgramming(const std::string& chipLine = "ATmega16 BOOT\r\n") {
    RequestUpgrade();
    ASSERT_EQ(Answer('B'), Bytes{'u'});
    ASSERT_EQ(Answer('?'), Bytes{'I'});
    link.device.Feed(chipLine);
    link.Step();
    ASSERT_EQ(link.State(), LinkState::Programming);
  }

  QTemporaryDir dir;
  Supervisor link;
};

}  // namespace zorv::test
