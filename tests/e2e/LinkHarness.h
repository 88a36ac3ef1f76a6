#pragma once
// The real link thread on a real serial port, against zorv-sim on a pseudo-terminal. The test's
// main thread plays the window: it runs the synchronised calls while it waits.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QObject>
#include <QSettings>
#include <QThread>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "image/DefaultImage.h"
#include "link/FlashImage.h"
#include "link/LinkThread.h"
#include "link/PortNames.h"
#include "tests/support/SimProcess.h"
#include "tests/support/TempFolder.h"

namespace zorv::test {

// The window's side of the bridge, answering on the test's main thread.
class E2EWindow final : public WindowBridge {
 public:
  E2EWindow() { LoadDefaultImage(image, trims); }

  void PostNotice(std::uint8_t code, std::uint8_t value, std::uint64_t) override {  // link thread
    const std::lock_guard<std::mutex> guard(mutex_);
    if (code != notice::kByteReceived && code != notice::kByteSent) notices_.push_back(code);
    (void)value;
  }
  void RefreshStatus(const StatusSnapshot& status) override {
    last = status;
    if (texts.empty() || texts.back() != status.text) texts.push_back(status.text);
  }
  void ShowLinkError(const std::string& text) override {
    errors.push_back(text);
    if (onError) onError(text);
  }
  void ShowLinkInfo(const std::string& text) override { infos.push_back(text); }
  void LoadBufferFromImage(ImageBytes& buffer) override { buffer = image.bytes; }
  void StoreBufferToImage(const ImageBytes& buffer, int) override {
    StoreDownloadedImage(buffer, image, trims);
  }
  std::string SelectFirmwareFile() override {
    ++firmwareDialogs;
    return firmware;
  }
  bool ConfirmFirmware(const std::string& check) override {
    checks.push_back(check);
    return true;
  }
  bool AskRetryFirmware(const std::string& text) override {
    errors.push_back(text);
    return false;
  }
  std::string SelectFirmwareReadFile() override {
    ++firmwareReadDialogs;
    return firmwareRead;
  }

  int NoticeCount(std::uint8_t code) {
    const std::lock_guard<std::mutex> guard(mutex_);
    int n = 0;
    for (auto c : notices_) n += c == code ? 1 : 0;
    return n;
  }

  SettingsImage image;
  GlobalTrimPair trims;
  StatusSnapshot last;
  std::vector<std::string> texts;
  std::vector<std::string> errors;
  std::vector<std::string> infos;
  std::vector<std::string> checks;
  std::string firmwareRead;
  int firmwareReadDialogs = 0;
  std::string firmware;
  int firmwareDialogs = 0;
  std::function<void(const std::string&)> onError;

 private:
  std::mutex mutex_;
  std::vector<std::uint8_t> notices_;
};

// Runs the window's events until `done` holds or `timeoutMs` pass.
inline bool WaitUntil(const std::function<bool()>& done, int timeoutMs) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > timeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QThread::msleep(2);
  }
  return true;
}

// Waits for a simulator log line while the window keeps running its events: a blocking wait
// would stall the link thread in its next synchronised call.
inline std::optional<QString> WaitForSimLine(zorvtest::SimProcess& sim, const QString& text,
                                             int timeoutMs, int fromLine = 0) {
  std::optional<QString> line;
  WaitUntil([&] { return (line = sim.WaitForLine(text, 0, fromLine)).has_value(); }, timeoutMs);
  return line;
}

inline constexpr int kAliasPort = 200;

// One simulator and one link thread on it, through a port alias in a private settings folder.
class LinkHarness {
 public:
  ~LinkHarness() { link.reset(); }  // before the window objects it calls

  bool Start(const QStringList& simArguments) {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(settings_.Path().string()));
    const QString port = sim.Start(simArguments);
    if (port.isEmpty()) return false;
    SetPortAlias(kAliasPort, port.toStdString());
    link = std::make_unique<LinkThread>(window, &context_, kAliasPort, flash, productCode);
    return true;
  }

  // Waits for the first download of a new link.
  bool WaitForFirstDownload(int timeoutMs = 15000) {
    return WaitUntil([&] { return window.NoticeCount(notice::kDownloadDone) >= 1; }, timeoutMs);
  }
  bool WaitForIdle(int timeoutMs = 10000) {
    return WaitUntil([&] { return link->State() == LinkState::ConnectedIdle; }, timeoutMs);
  }
  // Sends a request as the window does, retrying until the idle link takes it.
  bool Request(std::uint8_t command, std::uint8_t argument = 0) {
    if (!WaitForIdle()) return false;
    link->SetCommand(command, argument);
    return true;
  }

  // Destroys the link thread and says how long that took, in milliseconds.
  qint64 DestroyLink() {
    QElapsedTimer timer;
    timer.start();
    link.reset();
    return timer.elapsed();
  }

  TempFolder files;
  E2EWindow window;
  FlashImage flash;
  std::atomic<std::uint8_t> productCode{0};
  zorvtest::SimProcess sim;
  std::unique_ptr<LinkThread> link;

 private:
  TempFolder settings_;
  QObject context_;
};

}  // namespace zorv::test
