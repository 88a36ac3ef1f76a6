// The window's longest stall during a 64 KB upgrade: a 1 ms timer on the window's thread notes
// every gap between its ticks from Upgrade Firmware to the final box, and how much of each gap
// was the thread's own CPU time: on a loaded machine a gap is mostly the thread not being
// scheduled, the CPU time is what handling the link's events costs the window.
#include "tests/bench/WindowStallBench.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QAction>
#include <QEventLoop>
#include <QTimer>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "app/LinkNotice.h"
#include "app/ProductionLink.h"
#include "app/ZorvForm.h"
#include "link/Clock.h"
#include "link/HexWriter.h"
#include "link/PortNames.h"
#include "tests/host/PrivateSettings.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/SimProcess.h"
#include "tests/support/TempFolder.h"

namespace zorv::bench {
namespace {

constexpr int kAliasPort = 201;

struct Gaps {
  double longestMs = 0;
  double longestAtS = 0;  // seconds into the run
  double longestCpuMs = 0;  // of it, the window thread's own CPU time (the rest: not scheduled)
  double busiestCpuMs = 0;  // the most CPU time the thread used between two ticks
  int over20Ms = 0;
};

double ThreadCpuMs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Runs the event loop until `done`, at most `limitMs`, timing the gaps between ticks of a 1 ms
// timer (the window's thread busy elsewhere).
Gaps MeasureGaps(const std::function<bool()>& done, int limitMs) {
  QEventLoop loop;
  QElapsedTimer clock;
  clock.start();
  qint64 last = clock.nsecsElapsed();
  double lastCpu = ThreadCpuMs();
  Gaps gaps;
  QTimer tick;
  tick.setTimerType(Qt::PreciseTimer);
  QObject::connect(&tick, &QTimer::timeout, [&] {
    const qint64 now = clock.nsecsElapsed();
    const double cpu = ThreadCpuMs();
    const double gapMs = static_cast<double>(now - last) / 1e6;
    if (gapMs > 20) ++gaps.over20Ms;
    if (gapMs > gaps.longestMs) {
      gaps.longestMs = gapMs;
      gaps.longestAtS = static_cast<double>(now) / 1e9;
      gaps.longestCpuMs = cpu - lastCpu;
    }
    gaps.busiestCpuMs = std::max(gaps.busiestCpuMs, cpu - lastCpu);
    last = now;
    lastCpu = cpu;
    if (done() || clock.elapsed() > limitMs) loop.quit();
  });
  tick.start(1);
  loop.exec();
  return gaps;
}

}  // namespace

void WindowStallFigures(const QStringList& simArguments) {
  test::TempFolder files;
  test::PrivateSettings settings;
  test::ScriptedPrompts prompts;
  SteadyClock clock;
  zorvtest::SimProcess sim;
  const QString port = sim.Start(QStringList{"--chip", "AT90CAN128"} + simArguments);
  if (port.isEmpty()) {
    std::printf("window stall: zorv-sim did not start\n");
    return;
  }
  SetPortAlias(kAliasPort, port.toStdString());
  test::PrivateSettings::Store("COM Port", QString::number(kAliasPort));
  std::mt19937 random(7);
  std::vector<std::uint8_t> bytes(64 * 1024);
  for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
  const std::string hex = files.File("fw.hex");
  WriteHexFile(hex, bytes);

  auto form = std::make_unique<TZorvForm>(prompts, clock,
                                          [](int n) { return StartProductionLink(n); });
  MessageHook hook([&](const LinkEvent& event, std::uint64_t source) {
    form->OnLinkEvent(event, source);
  });
  prompts.ExpectModal([](QDialog&) { return QDialog::Accepted; });  // the about window
  prompts.ExpectMessage();                                         // "Download Successful!"
  form->FormCreate();
  const auto idle = [&] {
    return prompts.AllUsed() && form->Link() != nullptr &&
           form->Link()->State() == LinkState::ConnectedIdle;
  };
  MeasureGaps(idle, 30000);
  if (!idle()) {
    std::printf("window stall: the window did not connect\n");
    return;
  }
  QElapsedTimer job;
  prompts.ExpectOpenFile(QString::fromStdString(hex));
  prompts.ExpectChoice(0, [&] { job.start(); });  // "Write"
  prompts.ExpectMessage();                        // "Upload completed and verified!"
  form->findChild<QAction*>("UpgradeFirmware1")->trigger();
  const Gaps gaps = MeasureGaps([&] { return prompts.AllUsed(); }, 600000);
  const std::vector<QString> shown = prompts.MessageTexts();
  std::printf("window thread during a 64 KB upgrade (%s): longest stall %.1f ms (%.1f ms of it "
              "its own CPU time), %.1f s from Upgrade Firmware; most CPU time between two ticks "
              "%.1f ms; %d stalls over 20 ms in %.1f s; result: %s\n",
              simArguments.join(' ').toStdString().c_str(), gaps.longestMs, gaps.longestCpuMs,
              gaps.longestAtS, gaps.busiestCpuMs, gaps.over20Ms, static_cast<double>(job.elapsed()) / 1000.0,
              shown.empty() ? "none" : shown.back().toStdString().c_str());
  form.reset();
}

}  // namespace zorv::bench
