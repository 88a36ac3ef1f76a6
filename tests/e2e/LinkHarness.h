#pragma once
// The real link thread against zorv-sim: on a real serial port (a pseudo-terminal), or with the
// simulator's core in process on the link's own time. The test's main thread plays the window:
// it answers the link's events while it waits.
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
#include "link/HeldStore.h"
#include "link/LinkThread.h"
#include "link/PortNames.h"
#include "tests/e2e/TestController.h"
#include "tests/support/ScriptedWindow.h"
#include "tests/support/SimProcess.h"
#include "tests/support/TempFolder.h"

namespace zorv::test {

// What the test's thread does on each turn of a wait: the harness answers the link's events.
inline std::function<void()>& WaitTurn() {
  static std::function<void()> turn;
  return turn;
}

// Runs the window's events until `done` holds or `timeoutMs` pass.
inline bool WaitUntil(const std::function<bool()>& done, int timeoutMs) {
  QElapsedTimer timer;
  timer.start();
  while (true) {
    if (WaitTurn()) WaitTurn()();
    if (done()) return true;
    if (timer.elapsed() > timeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QThread::msleep(2);
  }
}

// Waits for a simulator log line while the window keeps answering the link's events.
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
  ~LinkHarness() {
    link.reset();  // before the window it posts to
    WaitTurn() = nullptr;
  }

  // `speed`: see TestController::Start.
  bool Start(const QStringList& simArguments, Where where = Where::RealPort,
             std::uint32_t speed = 10) {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(settings_.Path().string()));
    const QString port = controller.Start(simArguments, where, files.Path().string(), speed);
    if (port.isEmpty()) return false;
    SetPortAlias(kAliasPort, port.toStdString());
    if (SharedSim* inProcess = controller.InProcess()) {
      link = std::make_unique<LinkThread>(window, kAliasPort, &held, inProcess->LinkClock(),
                                          *inProcess);
    } else {
      link = std::make_unique<LinkThread>(window, kAliasPort, &held);
    }
    WaitTurn() = [this] {
      if (link) window.Answer([this](LinkJob job) { return link && link->Submit(std::move(job)); });
    };
    return true;
  }

  // Waits for the first download of a new link.
  bool WaitForFirstDownload(int timeoutMs = 15000) {
    return WaitUntil([&] { return window.NoticeCount(notice::kDownloadDone) >= 1; }, timeoutMs);
  }
  bool WaitForIdle(int timeoutMs = 10000) {
    return WaitUntil([&] { return link->State() == LinkState::ConnectedIdle; }, timeoutMs);
  }
  // A button press as the window makes it, retrying until the idle link takes the job.
  bool Request(std::uint8_t command, std::uint8_t argument = 0) {
    return WaitUntil([&] { return link->Submit(window.JobFor(command, argument)); }, 10000);
  }

  // Destroys the link thread and says how long that took, in milliseconds.
  qint64 DestroyLink() {
    QElapsedTimer timer;
    timer.start();
    link.reset();
    return timer.elapsed();
  }

  TempFolder files;
  ScriptedWindow window;
  TestController controller;                      // outlives the link
  zorvtest::SimProcess& sim = controller.process;  // on a real port

 private:
  TempFolder settings_;

 public:
  HeldStore held{settings_.File("held-controllers.txt")};
  std::unique_ptr<LinkThread> link;
};

}  // namespace zorv::test
