// The link thread runner and its window marshalling: synchronised calls run on the window's
// thread, the window never waits on the link, and destruction never hangs (message box open,
// call queued, transfer running). The test's main thread plays the window's thread.
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
#include <string>
#include <thread>
#include <vector>

#include "link/FlashImage.h"
#include "link/LinkThread.h"
#include "link/WindowCalls.h"

namespace zorv {
namespace {

constexpr int kPrompt = 1000;  // ms any destruction or release may take, with a sanitizer

// Fake time shared by the link thread and the test: each sleep advances it at once.
class SharedFakeClock final : public Clock {
 public:
  explicit SharedFakeClock(std::uint32_t start) : now_(start) {}
  std::uint32_t Ticks() override { return now_.load(); }
  void Sleep(std::uint32_t ms) override {
    now_.fetch_add(ms);
    std::this_thread::yield();
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
ControllerScript DownloadingController(const ImageBytes& image) {
  auto next = std::make_shared<std::size_t>(0);
  auto idle = std::make_shared<bool>(true);
  ControllerScript script;
  script.onQuiet = Announce('g', idle);
  script.onWrite = [image, next, idle](std::uint8_t written, std::deque<std::uint8_t>& replies) {
    if (!*idle) {
      if (written != image[*next]) return;
      if (++*next == image.size()) {
        *idle = true;
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

ImageBytes CountingImage() {
  ImageBytes image{};
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i * 7 + 3);
  image[33] = 0;  // not a blank controller
  return image;
}

// The window's own bridge. Every synchronised call must arrive on the window's thread.
class WindowSide final : public WindowBridge {
 public:
  void PostNotice(std::uint8_t code, std::uint8_t value, std::uint64_t) override {
    const std::lock_guard<std::mutex> guard(noticeMutex_);
    if (code != notice::kByteReceived && code != notice::kByteSent) notices_.emplace_back(code, value);
  }
  void RefreshStatus(const StatusSnapshot& status) override {
    Record("refresh");
    refreshes.push_back(status);
    if (clock != nullptr) refreshTicks.push_back(clock->Ticks());
  }
  void ShowLinkError(const std::string& text) override {
    Record("error");
    errors.push_back(text);
    if (onMessageBox) onMessageBox();
  }
  void ShowLinkInfo(const std::string& text) override {
    Record("info");
    infos.push_back(text);
    if (onMessageBox) onMessageBox();
  }
  void LoadBufferFromImage(ImageBytes& buffer) override {
    Record("load");
    buffer = image;
  }
  void StoreBufferToImage(const ImageBytes& buffer, int) override {
    Record("store");
    image = buffer;
  }
  std::string SelectFirmwareFile() override {
    Record("firmware");
    return firmwareFile;
  }
  bool ConfirmFirmware(const std::string&) override {
    Record("check");
    return true;
  }
  bool AskRetryFirmware(const std::string& text) override {
    Record("retry");
    errors.push_back(text);
    return false;
  }
  std::string SelectFirmwareReadFile() override {
    Record("read file");
    return {};
  }

  std::vector<std::pair<std::uint8_t, std::uint8_t>> Notices() {
    const std::lock_guard<std::mutex> guard(noticeMutex_);
    return notices_;
  }

  Clock* clock = nullptr;
  std::function<void()> onMessageBox;  // runs inside the "modal box"
  ImageBytes image{};
  std::string firmwareFile;
  std::vector<std::string> calls;
  std::vector<StatusSnapshot> refreshes;
  std::vector<std::uint32_t> refreshTicks;
  std::vector<std::string> errors;
  std::vector<std::string> infos;
  int offThread = 0;

 private:
  void Record(const char* what) {
    if (QThread::currentThread() != QCoreApplication::instance()->thread()) ++offThread;
    calls.emplace_back(what);
  }
  std::mutex noticeMutex_;
  std::vector<std::pair<std::uint8_t, std::uint8_t>> notices_;
};

// Runs the window's events until `done` holds; false after `boundMs`.
bool ProcessUntil(const std::function<bool()>& done, int boundMs = 10000) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > boundMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    std::this_thread::yield();
  }
  return true;
}

// Window-busy wait that runs no events.
bool WaitWithoutEvents(const std::function<bool()>& done, int boundMs = 10000) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > boundMs) return false;
    std::this_thread::yield();
  }
  return true;
}

// The main thread's event loop, nested as a modal box runs it, until the test closes the box.
void RunModalBox(const std::function<void(QEventLoop&)>& whileOpen) {
  QEventLoop box;
  QTimer::singleShot(0, &box, [&] { whileOpen(box); });
  box.exec();
}

// ---- the marshalling on its own, a plain thread playing the link ---------------------------

class WindowCallsTest : public ::testing::Test {
 protected:
  QObject context_;
  WindowSide window_;
};

TEST_F(WindowCallsTest, EveryCallRunsOnTheWindowThreadInOrderAndReturnsItsResult) {
  auto calls = std::make_unique<WindowCalls>(window_, &context_);
  window_.image = CountingImage();
  window_.firmwareFile = "/tmp/plow.hex";
  ImageBytes toStore{};
  toStore.fill(0x5A);

  ImageBytes loaded{};
  std::string firmware;
  std::atomic<bool> finished{false};
  std::thread link([&] {
    StatusSnapshot status;
    status.text = "ZORV v1.1 Connected and Listening";
    status.colour = StatusColour::Green;
    status.progress = 37;
    calls->Call([status](WindowBridge& w) { w.RefreshStatus(status); });
    calls->Call([](WindowBridge& w) { w.ShowLinkError("Boot Hook Failed!"); });
    calls->Call([](WindowBridge& w) { w.ShowLinkInfo("Download Successful"); });
    calls->Call([&loaded](WindowBridge& w) { w.LoadBufferFromImage(loaded); });
    calls->Call([&toStore](WindowBridge& w) { w.StoreBufferToImage(toStore, 256); });
    calls->Call([&firmware](WindowBridge& w) { firmware = w.SelectFirmwareFile(); });
    calls->Post(notice::kDownloadDone, 0);
    finished = true;
  });
  const bool done = ProcessUntil([&] { return finished.load(); });
  link.join();
  ASSERT_TRUE(done);

  EXPECT_EQ(window_.calls,
            (std::vector<std::string>{"refresh", "error", "info", "load", "store", "firmware"}));
  EXPECT_EQ(window_.offThread, 0);
  ASSERT_EQ(window_.refreshes.size(), 1u);
  EXPECT_EQ(window_.refreshes[0].text, "ZORV v1.1 Connected and Listening");
  EXPECT_EQ(window_.refreshes[0].progress, 37);
  EXPECT_EQ(window_.errors, std::vector<std::string>{"Boot Hook Failed!"});
  EXPECT_EQ(window_.infos, std::vector<std::string>{"Download Successful"});
  EXPECT_EQ(loaded, CountingImage());
  EXPECT_EQ(window_.image, toStore);
  EXPECT_EQ(firmware, "/tmp/plow.hex");
  EXPECT_EQ(window_.Notices(), (std::vector<std::pair<std::uint8_t, std::uint8_t>>{{2, 0}}));
}

TEST_F(WindowCallsTest, AbandonReleasesAQueuedCallWhichThenNeverRuns) {
  WindowCalls calls(window_, &context_);
  ImageBytes buffer{};
  buffer.fill(0x11);
  std::atomic<bool> started{false};
  std::atomic<bool> finished{false};
  std::string firmware = "unchanged";
  std::thread link([&] {
    started = true;
    calls.Call([](WindowBridge& w) {
      w.ShowLinkError("This system has no firmware, please select firmware now.");
    });
    // Once abandoned, nothing reaches the window and nothing comes back from it.
    if (calls.Call([&buffer](WindowBridge& w) { w.LoadBufferFromImage(buffer); })) {
      buffer.fill(0x22);
    }
    if (!calls.Call([&firmware](WindowBridge& w) { firmware = w.SelectFirmwareFile(); })) {
      firmware = "";
    }
    finished = true;
  });
  // The window is busy (runs no events): the call waits in its queue.
  ASSERT_TRUE(WaitWithoutEvents([&] { return started.load(); }));
  QElapsedTimer timer;
  timer.start();
  calls.Abandon();
  const bool released = WaitWithoutEvents([&] { return finished.load(); }, kPrompt);
  link.join();
  EXPECT_TRUE(released);
  EXPECT_LT(timer.elapsed(), kPrompt);
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents();
  EXPECT_TRUE(window_.calls.empty());
  ImageBytes untouched{};
  untouched.fill(0x11);
  EXPECT_EQ(buffer, untouched);
  EXPECT_EQ(firmware, "");
}

TEST_F(WindowCallsTest, AMessageBoxStillOpenOutlivesTheMarshalling) {
  auto calls = std::make_unique<WindowCalls>(window_, &context_);
  std::atomic<bool> finished{false};
  bool releasedWhileOpen = false;
  window_.onMessageBox = [&] {
    RunModalBox([&](QEventLoop& box) {
      calls.reset();  // the window replaces the link while its box is open
      releasedWhileOpen = WaitWithoutEvents([&] { return finished.load(); }, kPrompt);
      box.quit();
    });
  };
  std::thread link([&] {
    calls->Call([](WindowBridge& w) { w.ShowLinkError("Boot Hook Failed!"); });
    finished = true;
  });
  const bool done = ProcessUntil([&] { return finished.load(); });
  link.join();
  EXPECT_TRUE(done);
  EXPECT_TRUE(releasedWhileOpen);
  EXPECT_EQ(window_.errors, std::vector<std::string>{"Boot Hook Failed!"});
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// ---- the runner with the link supervisor ---------------------------------------------------

class LinkThreadTest : public ::testing::Test {
 protected:
  std::unique_ptr<LinkThread> Start(Clock& clock, SerialDevice& device, int port = 7) {
    return std::make_unique<LinkThread>(window_, &context_, port, flash_, productCode_, clock,
                                        device);
  }
  // Destroys the runner and returns how long that took, in ms.
  static qint64 TimedDestroy(std::unique_ptr<LinkThread>& link) {
    QElapsedTimer timer;
    timer.start();
    link.reset();
    return timer.elapsed();
  }

  QObject context_;
  WindowSide window_;
  FlashImage flash_;
  std::atomic<std::uint8_t> productCode_{0};
};

TEST_F(LinkThreadTest, StatusRefreshComesAtMostEvery250Ms) {
  constexpr std::uint32_t kStart = 100000;
  SharedFakeClock clock(kStart);
  ControllerDevice silent;
  window_.clock = &clock;
  auto link = Start(clock, silent);
  ASSERT_TRUE(ProcessUntil([&] { return window_.refreshes.size() >= 12; }));
  link.reset();
  const std::uint32_t linkTime = clock.Ticks() - kStart;
  EXPECT_EQ(window_.offThread, 0);
  // Posted, not waited for (a busy window may see fewer): never more than one per 250 ms of
  // the link's own time.
  EXPECT_LE(window_.refreshes.size(), linkTime / (LinkThread::kRefreshMs + 1) + 1) << linkTime;
  EXPECT_EQ(silent.OpenedName().empty(), false);
  EXPECT_EQ(window_.refreshes.back().text, "Waiting For Link On COM7");
  EXPECT_EQ(window_.refreshes.back().colour, StatusColour::Blue);
}

TEST_F(LinkThreadTest, RequestsReachTheWireOnlyOnceTheLinkIsIdle) {
  SharedFakeClock clock(5000);
  const ImageBytes controllerImage = CountingImage();
  ControllerDevice controller(DownloadingController(controllerImage));
  auto link = Start(clock, controller);
  // Before the controller has identified itself the request is lost.
  link->SetCommand(9, 99);
  // The first identification downloads the controller's settings, then the link idles.
  ASSERT_TRUE(ProcessUntil([&] { return window_.image == controllerImage && link->State() == LinkState::ConnectedIdle; }));
  link->SetCommand(5, 0x80);
  ASSERT_TRUE(ProcessUntil([&] {
    const auto w = controller.Written();
    return w.size() >= 4 && w[w.size() - 2] == 5 && w.back() == 0x80;
  }));
  link->SetCommand(0, 0);
  link.reset();

  const auto written = controller.Written();
  for (std::size_t i = 0; i + 1 < written.size(); ++i) {
    EXPECT_FALSE(written[i] == 9 && written[i + 1] == 99) << "dropped request was sent at " << i;
  }
  EXPECT_EQ(window_.offThread, 0);
  EXPECT_EQ(std::count(window_.calls.begin(), window_.calls.end(), "store"), 1);
  const auto notices = window_.Notices();
  EXPECT_NE(std::find(notices.begin(), notices.end(), std::make_pair<std::uint8_t, std::uint8_t>(2, 0)),
            notices.end());
}

TEST_F(LinkThreadTest, WindowRequestsNeverWaitWhileTheLinkWaitsForTheWindow) {
  SharedFakeClock clock(5000);
  window_.clock = &clock;
  const ImageBytes controllerImage = CountingImage();
  ControllerDevice controller(DownloadingController(controllerImage));
  auto link = Start(clock, controller);
  ASSERT_TRUE(ProcessUntil([&] { return link->State() == LinkState::ConnectedIdle && window_.image == controllerImage; }));
  // From now on the window runs no events, for whole seconds of the link's time: the link does
  // not wait for its status refreshes, so live pairs keep going out, and the window's requests
  // never wait either.
  const std::size_t refreshesBefore = window_.refreshes.size();
  const std::uint32_t stalledAt = clock.Ticks();
  const std::size_t sentAtStall = controller.Written().size();
  QElapsedTimer timer;
  timer.start();
  for (int i = 0; i < 20000; ++i) {
    const auto command = static_cast<std::uint8_t>(1 + i % 16);
    link->SetCommand(command, static_cast<std::uint8_t>(command + 0x40));
    if (Number(link->State()) >= kLinkStateCount) ADD_FAILURE();
    if (i % 100 == 0) link->ClearProgress();
  }
  EXPECT_LT(timer.elapsed(), kPrompt);
  ASSERT_TRUE(WaitWithoutEvents([&] { return clock.Ticks() > stalledAt + 2000; }));
  EXPECT_GT(controller.Written().size(), sentAtStall + 100);
  EXPECT_EQ(window_.refreshes.size(), refreshesBefore);
  // The link goes on as soon as the window runs its events again: live pairs go out and the
  // refreshes continue, all while the window keeps sending requests.
  const std::size_t sentBefore = controller.Written().size();
  int round = 0;
  ASSERT_TRUE(ProcessUntil([&] {
    const auto command = static_cast<std::uint8_t>(1 + round++ % 16);
    link->SetCommand(command, static_cast<std::uint8_t>(command + 0x40));
    return window_.refreshes.size() >= refreshesBefore + 5 &&
           controller.Written().size() >= sentBefore + 200;
  }));
  link.reset();
  // Every live pair on the wire is one the window asked for, never a torn one.
  const auto written = controller.Written();
  int pairs = 0;
  // The link never stopped, so the count taken above may fall between a command and its
  // argument (0x41..0x50): start at the next command.
  std::size_t first = sentBefore;
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
  EXPECT_EQ(window_.offThread, 0);
}

struct DestroyCase {
  const char* name;
  bool boxOpen;  // true: inside the window's message box; false: window busy, call queued
};

void PrintTo(const DestroyCase& c, std::ostream* out) { *out << c.name; }

class LinkThreadDestroyTest : public LinkThreadTest,
                              public ::testing::WithParamInterface<DestroyCase> {};

TEST_P(LinkThreadDestroyTest, DestroyingTheLinkNeverHangs) {
  SharedFakeClock clock(5000);
  // 'B', 'u', '?', 'R', then 'B' again brings the "no firmware" box.
  ControllerDevice controller(BootLoaderWithoutProgram());
  window_.clock = &clock;
  auto link = Start(clock, controller);
  qint64 destroyMs = -1;
  if (GetParam().boxOpen) {
    window_.onMessageBox = [&] {
      RunModalBox([&](QEventLoop& box) {
        destroyMs = TimedDestroy(link);
        box.quit();
      });
    };
    ASSERT_TRUE(ProcessUntil([&] { return link == nullptr; }));
    EXPECT_EQ(window_.errors,
              std::vector<std::string>{"This system has no firmware, please select firmware now."});
  } else {
    // The first status refresh is queued at once and the window never runs it.
    destroyMs = TimedDestroy(link);
  }
  EXPECT_GE(destroyMs, 0);
  EXPECT_LT(destroyMs, kPrompt);
  // Nothing queued before the destruction runs afterwards, and the port is closed.
  const std::size_t callsAfter = window_.calls.size();
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(window_.calls.size(), callsAfter);
  EXPECT_FALSE(controller.IsOpen());
  if (!GetParam().boxOpen) {
    EXPECT_TRUE(window_.calls.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(Where, LinkThreadDestroyTest,
                         ::testing::Values(DestroyCase{"MessageBoxOpen", true},
                                           DestroyCase{"CallQueued", false}),
                         [](const auto& param) { return std::string(param.param.name); });

TEST_F(LinkThreadTest, DestroyingDuringALongTransferReturnsPromptly) {
  // Real time: one image byte per 10 ms cycle makes a download of several seconds.
  SteadyClock clock;
  const ImageBytes controllerImage = CountingImage();
  ControllerDevice controller(DownloadingController(controllerImage));
  auto link = Start(clock, controller);
  ASSERT_TRUE(ProcessUntil([&] { return controller.Written().size() >= 30; }));
  EXPECT_EQ(link->State(), LinkState::Download);
  const qint64 destroyMs = TimedDestroy(link);
  EXPECT_LT(destroyMs, kPrompt);
  const std::size_t sent = controller.Written().size();
  EXPECT_LT(sent, 100u);
  EXPECT_FALSE(controller.IsOpen());
  EXPECT_NE(window_.image, controllerImage);
  EXPECT_EQ(window_.offThread, 0);
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
  window_.firmwareFile = hexPath.toStdString();
  // Real time: the boot loader's answer may take seconds, so programming is one long step.
  SteadyClock clock;
  ControllerDevice controller(BootLoaderThatStallsInProgramming());
  auto link = Start(clock, controller);
  ASSERT_TRUE(ProcessUntil([&] {
    const auto w = controller.Written();
    const auto asked = std::find(w.begin(), w.end(), 'I');
    return std::count(window_.calls.begin(), window_.calls.end(), "firmware") == 1 &&
           asked != w.end() && w.end() - asked > 1;  // a frame has gone out after 'I'
  }));
  // The window's requests return at once although the step holds the link's lock.
  QElapsedTimer requests;
  requests.start();
  EXPECT_EQ(link->State(), LinkState::Programming);
  link->SetCommand(command::kDownload, 0);
  link->ClearProgress();
  EXPECT_LT(requests.elapsed(), 50);
  const qint64 destroyMs = TimedDestroy(link);
  EXPECT_LT(destroyMs, kPrompt);
  EXPECT_FALSE(controller.IsOpen());
  EXPECT_EQ(window_.errors,
            std::vector<std::string>{"This system has no firmware, please select firmware now."});
  EXPECT_EQ(window_.offThread, 0);
}

}  // namespace
}  // namespace zorv
