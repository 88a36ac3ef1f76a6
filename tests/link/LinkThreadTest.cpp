// The link thread runner: jobs in from the test's thread (playing the window's), events out
// through a queue the test drains when it likes. The window never waits on the link, the link
// never waits on the window, and destruction never hangs (events unread, a question open, a
// transfer running, programming stalled).
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QObject>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <variant>
#include <string>
#include <thread>
#include <vector>

#include "link/FirmwareJob.h"
#include "link/LinkThread.h"

namespace zorv {
namespace {

constexpr int kPrompt = 1000;  // ms any destruction or release may take, with a sanitizer

// Fake time shared by the link thread and the test: each sleep advances it at once, and lasts a
// hundredth of it in real time. Unpaced, a link the test thread could not keep up with (a loaded
// machine) ran minutes of link time ahead, writing bytes and posting events faster than the test
// could read them: a 3 s program took 500 s.
class SharedFakeClock final : public Clock {
 public:
  explicit SharedFakeClock(std::uint32_t start) : now_(start) {}
  std::uint32_t Ticks() override { return now_.load(); }
  void Sleep(std::uint32_t ms) override {
    now_.fetch_add(ms);
    std::this_thread::sleep_for(std::chrono::microseconds(ms * 10));
  }

 private:
  std::atomic<std::uint32_t> now_;
};

// What the controller does: answer written bytes, and speak up now and then on a quiet line
// (the link drains the line when it opens, so a controller must announce itself repeatedly).
struct ControllerScript {
  std::function<void(std::uint8_t written, std::deque<std::uint8_t>& replies)> onWrite;
  std::function<void(std::deque<std::uint8_t>& replies)> onQuiet;
};

class ControllerDevice final : public SerialDevice {
 public:
  explicit ControllerDevice(ControllerScript script = {}) : script_(std::move(script)) {}

  std::string Open(const std::string& deviceName) override {
    const std::lock_guard<std::mutex> guard(mutex_);
    openedName_ = deviceName;
    open_ = true;
    return {};
  }
  bool IsOpen() const override {
    const std::lock_guard<std::mutex> guard(mutex_);
    return open_;
  }
  bool Read(std::uint8_t& byte) override {
    const std::lock_guard<std::mutex> guard(mutex_);
    if (!open_) return false;
    if (incoming_.empty() && script_.onQuiet) script_.onQuiet(incoming_);
    if (incoming_.empty()) return false;
    byte = incoming_.front();
    incoming_.pop_front();
    return true;
  }
  bool Write(std::uint8_t byte) override {
    const std::lock_guard<std::mutex> guard(mutex_);
    if (!open_) return false;
    written_.push_back(byte);
    if (script_.onWrite) script_.onWrite(byte, incoming_);
    return true;
  }
  bool WaitReadable(std::uint32_t ms) override {
    {
      const std::lock_guard<std::mutex> guard(mutex_);
      if (open_ && !incoming_.empty()) return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(std::min<std::uint32_t>(ms, 1)));
    return false;
  }
  void Close() override {
    const std::lock_guard<std::mutex> guard(mutex_);
    open_ = false;
  }

  std::vector<std::uint8_t> Written() const {
    const std::lock_guard<std::mutex> guard(mutex_);
    return written_;
  }
  std::string OpenedName() const {
    const std::lock_guard<std::mutex> guard(mutex_);
    return openedName_;
  }

 private:
  mutable std::mutex mutex_;
  bool open_ = false;
  std::string openedName_;
  std::deque<std::uint8_t> incoming_;
  std::vector<std::uint8_t> written_;
  ControllerScript script_;
};

// Every 20th read of a quiet line brings `byte` while `speaking` holds.
std::function<void(std::deque<std::uint8_t>&)> Announce(std::uint8_t byte,
                                                        std::shared_ptr<bool> speaking) {
  auto quietReads = std::make_shared<int>(0);
  return [byte, speaking, quietReads](std::deque<std::uint8_t>& replies) {
    if (*speaking && ++*quietReads % 20 == 0) replies.push_back(byte);
  };
}

// A Zorv v1.1 controller: identifies itself on its own and on 0xFF, and serves downloads of
// `image` byte by byte against the echo.
ControllerScript DownloadingController(const ImageBytes& image,
                                       std::shared_ptr<bool> announcing = std::make_shared<bool>(true),
                                       std::shared_ptr<bool> idle = std::make_shared<bool>(true)) {
  auto next = std::make_shared<std::size_t>(0);
  // Like the real controller, it announces itself until the link acknowledges it with 'E'.
  ControllerScript script;
  script.onQuiet = Announce('g', announcing);
  script.onWrite = [image, next, idle, announcing](std::uint8_t written,
                                                  std::deque<std::uint8_t>& replies) {
    if (written == 'E' && *idle) *announcing = false;
    if (!*idle) {
      if (written != image[*next]) return;
      if (++*next == image.size()) {
        *idle = true;
        *announcing = true;  // after a transfer it announces itself again, as the real one does
      } else {
        replies.push_back(image[*next]);
      }
      return;
    }
    if (written == 0xFF) replies.push_back('g');
    if (written == 'F') {
      *idle = false;
      *next = 0;
      replies.push_back(image[0]);
    }
  };
  return script;
}

// A controller without a program: its boot loader announces itself with 'B', prompts with '?'
// once hooked with 'u', and on 'R' finds no program and starts its boot loader again.
ControllerScript BootLoaderWithoutProgram() {
  auto announcing = std::make_shared<bool>(true);
  ControllerScript script;
  script.onQuiet = Announce('B', announcing);
  script.onWrite = [announcing](std::uint8_t written, std::deque<std::uint8_t>& replies) {
    if (written == 'u') {
      *announcing = false;
      replies.push_back('?');
    }
    if (written == 'R') *announcing = true;
  };
  return script;
}

// A controller running its program: identifies on 0xFF; 'R' takes it into its boot loader,
// which prompts when hooked, names its chip on 'I' and on 'R' starts the program again.
ImageBytes CountingImage();

ControllerScript ProgramWithBootLoader(std::shared_ptr<bool> inBootLoader) {
  // Its program serves downloads like DownloadingController's and announces itself again when
  // it starts after the boot loader.
  auto announcing = std::make_shared<bool>(true);
  auto idle = std::make_shared<bool>(true);
  const ControllerScript program = DownloadingController(CountingImage(), announcing, idle);
  ControllerScript script;
  script.onQuiet = [inBootLoader, program,
                    quiet = std::make_shared<int>(0)](std::deque<std::uint8_t>& r) {
    if (!*inBootLoader) {
      program.onQuiet(r);
    } else if (++*quiet % 20 == 0) {
      r.push_back('B');
    }
  };
  script.onWrite = [inBootLoader, announcing, idle, program](std::uint8_t written,
                                                             std::deque<std::uint8_t>& replies) {
    if (!*inBootLoader) {
      // Mid-download an 'R' is the echo of an image byte, not a restart.
      if (written == 'R' && *idle) {
        *inBootLoader = true;
      } else {
        program.onWrite(written, replies);
      }
      return;
    }
    if (written == 'u') replies.push_back('?');
    if (written == 'I') {
      for (char c : std::string("ATmega16 BOOT\r\n")) replies.push_back(static_cast<std::uint8_t>(c));
    }
    if (written == 'R') {
      *inBootLoader = false;
      *announcing = true;
    }
  };
  return script;
}

// The same controller once the user has chosen firmware: asked with 'I' it names its chip,
// then it never answers a frame, so programming waits on its first frame.
ControllerScript BootLoaderThatStallsInProgramming() {
  ControllerScript script = BootLoaderWithoutProgram();
  auto hooked = script.onWrite;
  script.onWrite = [hooked](std::uint8_t written, std::deque<std::uint8_t>& replies) {
    hooked(written, replies);
    if (written == 'I') {
      for (char c : std::string("ATmega16 BOOT\r\n")) replies.push_back(static_cast<std::uint8_t>(c));
    }
  };
  return script;
}

// `script` held silent (no announcement, no answer) until `open` is set from the test's thread:
// a test that must act before the controller identifies itself would otherwise race the link.
ControllerScript Gated(ControllerScript script, std::shared_ptr<std::atomic<bool>> open) {
  ControllerScript gated;
  gated.onQuiet = [script, open](std::deque<std::uint8_t>& replies) {
    if (*open && script.onQuiet) script.onQuiet(replies);
  };
  gated.onWrite = [script, open](std::uint8_t written, std::deque<std::uint8_t>& replies) {
    if (*open && script.onWrite) script.onWrite(written, replies);
  };
  return gated;
}

ImageBytes CountingImage() {
  ImageBytes image{};
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i * 7 + 3);
  image[33] = 0;  // not a blank controller
  return image;
}

// The window's side: every event the link posted, taken on the test's thread.
class WindowSide {
 public:
  void Drain(LinkEventQueue& queue) {
    while (std::optional<LinkEvent> event = queue.Take()) {
      if (const auto* status = std::get_if<StatusEvent>(&*event)) statuses.push_back(status->status);
      if (const auto* d = std::get_if<DownloadedEvent>(&*event)) downloads.push_back(*d);
      if (const auto* r = std::get_if<BootLoaderReadyEvent>(&*event)) ready.push_back(*r);
      if (const auto* f = std::get_if<JobFinishedEvent>(&*event)) finished.push_back(*f);
      if (const auto* m = std::get_if<MessageEvent>(&*event)) messages.push_back(m->text);
    }
  }

  std::vector<StatusSnapshot> statuses;
  std::vector<DownloadedEvent> downloads;
  std::vector<BootLoaderReadyEvent> ready;
  std::vector<JobFinishedEvent> finished;
  std::vector<std::string> messages;
};

// Runs until `done` holds, draining the events; false after `boundMs`.
bool DrainUntil(LinkEventQueue& queue, WindowSide& window, const std::function<bool()>& done,
                int boundMs = 10000) {
  QElapsedTimer timer;
  timer.start();
  while (true) {
    window.Drain(queue);
    if (done()) return true;
    if (timer.elapsed() > boundMs) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

// Window-busy wait that reads no events.
bool WaitWithoutEvents(const std::function<bool()>& done, int boundMs = 10000) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > boundMs) return false;
    std::this_thread::yield();
  }
  return true;
}

class LinkThreadTest : public ::testing::Test {
 protected:
  std::unique_ptr<LinkThread> Start(Clock& clock, SerialDevice& device, int port = 7) {
    return std::make_unique<LinkThread>(events_, port, nullptr, clock, device);
  }
  // Destroys the runner and returns how long that took, in ms.
  static qint64 TimedDestroy(std::unique_ptr<LinkThread>& link) {
    QElapsedTimer timer;
    timer.start();
    link.reset();
    return timer.elapsed();
  }
  bool Until(const std::function<bool()>& done, int boundMs = 10000) {
    return DrainUntil(events_, window_, done, boundMs);
  }

  LinkEventQueue events_;
  WindowSide window_;
};

TEST_F(LinkThreadTest, StatusGoesOutWhenItChangesAndAtLeastEvery250Ms) {
  constexpr std::uint32_t kStart = 100000;
  SharedFakeClock clock(kStart);
  ControllerDevice silent;
  auto link = Start(clock, silent);
  ASSERT_TRUE(Until([&] { return window_.statuses.size() >= 12; }));
  link.reset();
  window_.Drain(events_);
  const std::uint32_t linkTime = clock.Ticks() - kStart;
  // A quiet link repeats its status every 250 ms of its own time, and no more often; the
  // changes (not connected, waiting) add a few.
  EXPECT_LE(window_.statuses.size(), linkTime / TCOMThread::kStatusMs + 4) << linkTime;
  EXPECT_GE(window_.statuses.size() + 1, linkTime / (TCOMThread::kStatusMs + 10)) << linkTime;
  EXPECT_FALSE(silent.OpenedName().empty());
  EXPECT_EQ(window_.statuses.back().text, "Waiting For Link On COM7");
  EXPECT_EQ(window_.statuses.back().colour, StatusColour::Blue);
}

TEST_F(LinkThreadTest, JobsAreTakenOnlyOnceTheLinkIsIdle) {
  SharedFakeClock clock(5000);
  const ImageBytes controllerImage = CountingImage();
  auto speaking = std::make_shared<std::atomic<bool>>(false);
  ControllerDevice controller(Gated(DownloadingController(controllerImage), speaking));
  auto link = Start(clock, controller);
  // Before the controller has identified itself the job is refused.
  EXPECT_FALSE(link->Submit(LiveOutputJob{9, 99}));
  *speaking = true;
  // The first identification downloads the controller's settings, then the link idles.
  ASSERT_TRUE(Until([&] {
    return !window_.downloads.empty() && link->State() == LinkState::ConnectedIdle;
  })) << link->State() << " " << [&] {
    std::string texts;
    for (const auto& status : window_.statuses) texts += status.text + " | ";
    return texts;
  }();
  EXPECT_EQ(window_.downloads[0].bytes, controllerImage);
  EXPECT_EQ(window_.downloads[0].length, 256);
  EXPECT_EQ(window_.downloads[0].productCode, 'g');
  ASSERT_TRUE(Until([&] { return link->Submit(LiveOutputJob{5, 0x80}); }));
  ASSERT_TRUE(Until([&] {
    const auto w = controller.Written();
    return w.size() >= 4 && w[w.size() - 2] == 5 && w.back() == 0x80;
  }));
  link->Submit(LiveOutputOffJob{});
  link.reset();

  const auto written = controller.Written();
  for (std::size_t i = 0; i + 1 < written.size(); ++i) {
    EXPECT_FALSE(written[i] == 9 && written[i + 1] == 99) << "refused job was sent at " << i;
  }
}

TEST_F(LinkThreadTest, NeitherSideWaitsForTheOther) {
  SharedFakeClock clock(5000);
  const ImageBytes controllerImage = CountingImage();
  ControllerDevice controller(DownloadingController(controllerImage));
  auto link = Start(clock, controller);
  ASSERT_TRUE(Until([&] {
    return link->State() == LinkState::ConnectedIdle && !window_.downloads.empty();
  }));
  ASSERT_TRUE(Until([&] { return link->Submit(LiveOutputJob{1, 0x41}); }));
  // From now on the window reads no events for whole seconds of the link's time: live pairs
  // keep going out, and the window's jobs never wait either.
  const std::uint32_t stalledAt = clock.Ticks();
  const std::size_t sentAtStall = controller.Written().size();
  QElapsedTimer timer;
  timer.start();
  for (int i = 0; i < 20000; ++i) {
    const auto output = static_cast<std::uint8_t>(1 + i % 16);
    link->Submit(LiveOutputJob{output, static_cast<std::uint8_t>(output + 0x40)});
    if (Number(link->State()) >= kLinkStateCount) ADD_FAILURE();
  }
  EXPECT_LT(timer.elapsed(), kPrompt);
  ASSERT_TRUE(WaitWithoutEvents([&] { return clock.Ticks() > stalledAt + 2000; }));
  EXPECT_GT(controller.Written().size(), sentAtStall + 100);
  link.reset();
  window_.Drain(events_);
  // Every live pair on the wire is one the window asked for, never a torn one.
  const auto written = controller.Written();
  int pairs = 0;
  std::size_t first = sentAtStall;
  if (first < written.size() && written[first] > 16 && written[first] != 0xFF &&
      written[first] != 'E') {
    ++first;
  }
  for (std::size_t i = first; i < written.size(); ++i) {
    if (written[i] == 0xFF || written[i] == 'E') continue;  // keep-alive and acknowledge
    ASSERT_GE(written[i], 1);
    ASSERT_LE(written[i], 16);
    ASSERT_LT(i + 1, written.size());
    EXPECT_EQ(written[i + 1], written[i] + 0x40) << "torn pair at " << i;
    ++pairs;
    ++i;
  }
  EXPECT_GE(pairs, 90);
}

TEST_F(LinkThreadTest, DestroyingWithEventsUnreadNeverHangs) {
  SharedFakeClock clock(5000);
  // 'B', 'u', '?', 'R', then 'B' again brings the "no firmware" message.
  ControllerDevice controller(BootLoaderWithoutProgram());
  auto link = Start(clock, controller);
  ASSERT_TRUE(WaitWithoutEvents([&] { return clock.Ticks() > 8000; }));
  const qint64 destroyMs = TimedDestroy(link);
  EXPECT_LT(destroyMs, kPrompt);
  EXPECT_FALSE(controller.IsOpen());
  window_.Drain(events_);
  EXPECT_EQ(window_.messages,
            std::vector<std::string>{"This system has no firmware, please select firmware now."});
}

// The window (or the command line) is asking which file to write when the link is destroyed:
// nothing was written, so the controller's program is started again.
TEST_F(LinkThreadTest, DestroyingWhileTheFileQuestionIsOpenRestartsTheProgram) {
  SharedFakeClock clock(5000);
  auto inBootLoader = std::make_shared<bool>(false);
  ControllerDevice controller(ProgramWithBootLoader(inBootLoader));
  auto link = Start(clock, controller);
  // After the first link's own download: a job asked for while the link is already moving on to
  // a transfer is not taken (the window's button is greyed by then).
  ASSERT_TRUE(Until([&] { return !window_.downloads.empty(); }));
  ASSERT_TRUE(Until([&] { return link->State() == LinkState::ConnectedIdle; }));
  ASSERT_TRUE(Until([&] { return link->Submit(OpenBootLoaderJob{}); }));
  ASSERT_TRUE(Until([&] { return !window_.ready.empty(); }));
  EXPECT_EQ(window_.ready[0].chipLine, "ATmega16 BOOT");
  EXPECT_TRUE(window_.ready[0].hadProgram);
  // The question stays open for seconds of the link's time: it waits silently.
  const std::size_t sent = controller.Written().size();
  ASSERT_TRUE(WaitWithoutEvents([&, at = clock.Ticks()] { return clock.Ticks() > at + 3000; }));
  EXPECT_EQ(controller.Written().size(), sent);
  EXPECT_EQ(link->State(), LinkState::Programming);
  EXPECT_LT(TimedDestroy(link), kPrompt);
  EXPECT_EQ(controller.Written().back(), 'R');
  EXPECT_FALSE(*inBootLoader);
}

TEST_F(LinkThreadTest, DestroyingDuringALongTransferReturnsPromptly) {
  // Real time: one image byte per 10 ms cycle makes a download of several seconds.
  SteadyClock clock;
  const ImageBytes controllerImage = CountingImage();
  ControllerDevice controller(DownloadingController(controllerImage));
  auto link = Start(clock, controller);
  ASSERT_TRUE(Until([&] { return controller.Written().size() >= 30; }));
  EXPECT_EQ(link->State(), LinkState::Download);
  const qint64 destroyMs = TimedDestroy(link);
  EXPECT_LT(destroyMs, kPrompt);
  const std::size_t sent = controller.Written().size();
  EXPECT_LT(sent, 100u);
  EXPECT_FALSE(controller.IsOpen());
  window_.Drain(events_);
  EXPECT_TRUE(window_.downloads.empty());
}

TEST_F(LinkThreadTest, DestroyingWhileProgrammingWaitsForTheBootLoaderReturnsPromptly) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString hexPath = folder.filePath("plow.hex");
  {
    QFile hex(hexPath);
    ASSERT_TRUE(hex.open(QIODevice::WriteOnly));
    hex.write(":0100000000FF\n:00000001FF\n");
  }
  // Real time: the boot loader's answer may take seconds, so programming is one long step.
  SteadyClock clock;
  ControllerDevice controller(BootLoaderThatStallsInProgramming());
  auto link = Start(clock, controller);
  ASSERT_TRUE(Until([&] { return !window_.ready.empty(); }));
  ApprovedFirmware firmware;
  ASSERT_TRUE(PrepareFirmware(hexPath.toStdString(), window_.ready[0].chip,
                              window_.ready[0].chipLine, firmware).ok);
  ASSERT_TRUE(link->Submit(UpgradeJob{firmware}));
  ASSERT_TRUE(Until([&] {
    const auto w = controller.Written();
    const auto asked = std::find(w.begin(), w.end(), 'I');
    return asked != w.end() && w.end() - asked > 1;  // a frame has gone out after 'I'
  }));
  // The window's jobs return at once although the link is inside a long step.
  QElapsedTimer requests;
  requests.start();
  EXPECT_EQ(link->State(), LinkState::Programming);
  EXPECT_FALSE(link->Submit(DownloadJob{}));
  EXPECT_LT(requests.elapsed(), 50);
  const qint64 destroyMs = TimedDestroy(link);
  EXPECT_LT(destroyMs, kPrompt);
  EXPECT_FALSE(controller.IsOpen());
  window_.Drain(events_);
  EXPECT_EQ(window_.messages,
            std::vector<std::string>{"This system has no firmware, please select firmware now."});
}

}  // namespace
}  // namespace zorv
