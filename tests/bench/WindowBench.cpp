// The window's figures: one RefreshControls on the Zorv page, the time from process start to
// the about window, and the resident memory after start. Run on the offscreen platform unless a
// display is chosen; the start-up figures come from fresh child processes.
#include "tests/bench/WindowBench.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "app/ProductionLink.h"
#include "app/ZorvForm.h"
#include "host/PortDiscovery.h"
#include "link/Clock.h"
#include "ui/QuietPrompts.h"

namespace zorv::bench {
namespace {

// Milliseconds since this process was started by the system.
double MsSinceProcessStart() {
  std::ifstream stat("/proc/self/stat");
  std::string content((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  std::istringstream fields(content.substr(content.rfind(')') + 2));
  std::vector<std::string> values;
  for (std::string f; fields >> f;) values.push_back(f);
  const double startTicks = std::stod(values.at(19));  // field 22 of the line
  double uptime = 0;
  std::ifstream("/proc/uptime") >> uptime;
  return (uptime - startTicks / static_cast<double>(sysconf(_SC_CLK_TCK))) * 1000.0;
}

long ResidentKb() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

// The start-up of main(), with the about window shown and accepted at once.
struct StartedWindow {
  QTemporaryDir settings;
  QuietPrompts prompts;
  SteadyClock clock;
  std::unique_ptr<TZorvForm> form;

  explicit StartedWindow(std::function<void()> onAbout) {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    prompts.agree = true;
    prompts.onModal = [onAbout = std::move(onAbout)](QDialog& dialog) {
      dialog.show();
      QApplication::processEvents();
      if (onAbout) onAbout();
      dialog.accept();
    };
    PresentPorts ports = DiscoverPorts();
    auto startLink = [this](int port) { return StartProductionLink(port); };
    form = std::make_unique<TZorvForm>(prompts, clock, startLink, std::move(ports));
    form->FormCreate();
    form->show();
    QApplication::processEvents();
  }
};

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

double RunChild(const QString& self, const QString& mode) {
  QProcess child;
  child.start(self, {mode});
  child.waitForFinished(30000);
  return QString::fromUtf8(child.readAllStandardOutput()).trimmed().toDouble();
}

}  // namespace

int WindowChild(const QString& mode) {
  double aboutMs = -1;
  StartedWindow window([&] {
    if (aboutMs < 0) aboutMs = MsSinceProcessStart();
  });
  if (mode == "child-about") {
    std::printf("%.1f\n", aboutMs);
  } else {
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 1000) QApplication::processEvents(QEventLoop::AllEvents, 50);
    std::printf("%ld\n", ResidentKb());
  }
  return 0;
}

void WindowFigures(const QString& self) {
  {
    StartedWindow window({});
    // Two images that differ in nearly every byte, so every control changes on each refresh;
    // a refresh of an unchanged image costs far less.
    const SettingsImage defaults = window.form->Image();
    SettingsImage other;
    for (std::size_t k = 0; k < kImageSize; ++k) other[k] = static_cast<std::uint8_t>(k * 7 + 3);
    other[33] = 2;
    for (const bool alternate : {true, false}) {
      std::vector<double> ms;
      for (int i = 0; i < 100; ++i) {
        if (alternate) window.form->Image() = (i % 2 == 0) ? other : defaults;
        const auto start = std::chrono::steady_clock::now();
        window.form->RefreshControls(1);
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() -
                                                               start)
                         .count());
      }
      std::printf("RefreshControls on the Zorv page, %s: median %.2f ms of 100 (max %.2f)\n",
                  alternate ? "every control changing" : "image unchanged", Median(ms),
                  *std::max_element(ms.begin(), ms.end()));
    }
  }
  std::vector<double> about, rss;
  for (int i = 0; i < 5; ++i) about.push_back(RunChild(self, "child-about"));
  for (int i = 0; i < 3; ++i) rss.push_back(RunChild(self, "child-rss"));
  std::printf("process start to the about window shown: median %.0f ms of 5 (platform %s)\n",
              Median(about), qgetenv("QT_QPA_PLATFORM").constData());
  std::printf("resident memory 1 s after start: median %.1f MB of 3\n", Median(rss) / 1024.0);
}

}  // namespace zorv::bench
