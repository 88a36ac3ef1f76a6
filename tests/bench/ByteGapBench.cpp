// A busy laptop must not break a transfer: the controller gives up after 1000 ms without a byte.
// The tap between the link and zorv-sim times the longest gap between two bytes of each transfer.
#include "tests/bench/ByteGapBench.h"

#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QSet>
#include <algorithm>
#include <cstdio>
#include <random>
#include <string>

#include "link/ThreadPriority.h"
#include "tests/bench/WireTap.h"
#include "tests/e2e/LinkHarness.h"

namespace zorv::bench {
namespace {

using test::ScriptedWindow;
using test::WaitTurn;
namespace command = test::command;
namespace notice = test::notice;
using test::TempFolder;
using test::WaitUntil;

// Rounds of a download and an upload; ZORV_GAP_ROUNDS chooses another count.
int Rounds() {
  bool ok = false;
  const int rounds = qEnvironmentVariableIntValue("ZORV_GAP_ROUNDS", &ok);
  return ok && rounds > 0 ? rounds : 20;
}

struct Tally {
  int done = 0;
  int tried = 0;
  double longestGapMs = 0;
  void Add(bool ok, const WireTap::Gaps& gaps) {
    ++tried;
    done += ok ? 1 : 0;
    longestGapMs = std::max(longestGapMs, gaps.longestMs);
  }
};

QString SimProgram() {
  const QString chosen = qEnvironmentVariable("ZORV_SIM");
  return chosen.isEmpty() ? zorvtest::SimProcess::BinaryPath() : chosen;
}

QSet<QString> Threads() {
  const QStringList ids = QDir("/proc/self/task").entryList(QDir::Dirs | QDir::NoDotAndDotDot);
  return QSet<QString>(ids.begin(), ids.end());
}

// What the link thread's own call will do once it makes it: SCHED_RR, else a lower nice value.
std::string RaiseThreads(const QSet<QString>& ids) {
  std::string how;
  for (const QString& id : ids) {
    sched_param param{};
    param.sched_priority = kLinkRealTimePriority;
    const bool rr = sched_setscheduler(id.toInt(), SCHED_RR, &param) == 0;
    how += rr ? "SCHED_RR " : (setpriority(PRIO_PROCESS, id.toUInt(), kLinkNice) == 0 ? "nice " : "unchanged ");
  }
  return how;
}

// One run: the simulator, the tap on its port, a link through an alias to the tap. Not raised:
// the simulator runs as nobody (whose request for a priority is refused) and the link thread as
// it is; raised: both get the higher priority.
void Run(const char* load, bool raised) {
  TempFolder settings;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                     QString::fromStdString(settings.Path().string()));
  zorvtest::SimProcess sim;
  const QStringList simArguments{"--chip", "ATmega16 BOOT"};
  const QString port =
      raised || geteuid() != 0
          ? sim.StartProgram(SimProgram(), simArguments, 10000)
          : sim.StartProgram("setpriv",
                             QStringList{"--reuid=nobody", "--regid=nogroup", "--clear-groups",
                                         SimProgram()} + simArguments,
                             10000);
  if (port.isEmpty()) {
    std::printf("gaps, %s: zorv-sim did not start: %s\n", load, sim.Output().toUtf8().constData());
    return;
  }
  WireTap tap;
  const std::string tapError = tap.Start(port.toStdString());
  if (!tapError.empty()) {
    std::printf("gaps, %s: tap: %s\n", load, tapError.c_str());
    return;
  }
  SetPortAlias(test::kAliasPort, tap.ToolPath());
  ScriptedWindow window;
  HeldStore held{settings.File("held-controllers.txt")};
  const QSet<QString> earlier = Threads();
  auto link = std::make_unique<LinkThread>(window, test::kAliasPort, &held);
  // The scripted window answers the link's events between two waits, as the window's loop would.
  WaitTurn() = [&] {
    if (link) window.Answer([&](LinkJob job) { return link && link->Submit(std::move(job)); });
  };
  const std::string linkPriority = raised ? RaiseThreads(Threads() - earlier) : "as it is";
  const auto idle = [&] {
    return WaitUntil([&] { return link->State() == LinkState::ConnectedIdle; }, 20000);
  };
  if (!WaitUntil([&] { return window.NoticeCount(notice::kDownloadDone) >= 1; }, 20000) ||
      !idle()) {
    std::printf("gaps, %s: the link did not connect\n", load);
    return;
  }

  Tally downloads, uploads, upgrade;
  // A request that meets the link between two keep-alive steps is lost, as a window's is: ask
  // again until the transfer runs, and time the gaps from then on (not the keep-alive's).
  const auto transfer = [&](std::uint8_t command, std::uint8_t doneNotice, LinkState running,
                            Tally& tally) {
    const int before = window.NoticeCount(doneNotice);
    const std::size_t errors = window.errors.size();
    const auto started = [&] {
      return link->State() == running || window.NoticeCount(doneNotice) > before;
    };
    for (int attempt = 0; attempt < 10 && !started(); ++attempt) {
      if (!idle()) break;  // a failed transfer left the link waiting: nothing more to measure
      link->Submit(window.JobFor(command));
      WaitUntil(started, 500);
    }
    if (!started()) {
      tally.Add(false, {});
      return false;
    }
    tap.Begin();
    const bool ok =
        WaitUntil([&] { return window.NoticeCount(doneNotice) > before; }, 20000) &&
        window.errors.size() == errors;
    tally.Add(ok, tap.End());
    return true;
  };
  const int rounds = Rounds();
  for (int round = 0; round < rounds; ++round) {
    if (!transfer(command::kDownload, notice::kDownloadDone, LinkState::Download, downloads) ||
        !transfer(command::kUpload, notice::kUploadDone, LinkState::Upload, uploads)) {
      std::printf("gaps, %s: the link stayed away from idle after \"%s\"; rounds stopped\n", load,
                  window.texts.empty() ? "" : window.texts.back().c_str());
      break;
    }
  }

  // 15 KB of firmware, from the moment the link has the approved file until the final box.
  std::mt19937 random(11);
  std::string bytes(15 * 1024, '\0');
  for (auto& b : bytes) b = static_cast<char>(random());
  TempFolder files;
  const std::string bin = files.Write("fw.bin", bytes);
  window.firmwareFile = files.File("fw.hex");
  QProcess::execute("objcopy", QStringList{"-I", "binary", "-O", "ihex", QString::fromStdString(bin),
                                           QString::fromStdString(window.firmwareFile)});
  for (int attempt = 0; attempt < 10 && window.firmwareDialogs == 0; ++attempt) {
    idle();
    link->Submit(window.JobFor(command::kUpgradeFirmware));
    WaitUntil([&] { return window.firmwareDialogs > 0; }, 3000);
  }
  WaitUntil([&] { return !window.checks.empty(); }, 20000);
  tap.Begin();
  WaitUntil([&] { return !window.infos.empty() || !window.errors.empty(); }, 600000);
  const bool verified = window.NoticeCount(notice::kFirmwareInstalled) > 0 && window.errors.empty();
  upgrade.Add(verified, tap.End());
  if (!verified) {
    std::printf("gaps, %s: upgrade: %s\n", load,
                window.errors.empty() ? (window.infos.empty() ? "no result" : window.infos.front().c_str())
                                      : window.errors.front().c_str());
  }
  WaitTurn() = nullptr;
  link.reset();

  std::printf("gaps, %s: %d/%d downloads, %d/%d uploads of 256 bytes, 15 KB upgrade %s; longest "
              "gap between two bytes: downloads %.1f ms, uploads %.1f ms, upgrade %.1f ms "
              "(link thread: %s; tap thread: %s)\n",
              load, downloads.done, downloads.tried, uploads.done, uploads.tried,
              verified ? "verified" : "FAILED", downloads.longestGapMs, uploads.longestGapMs,
              upgrade.longestGapMs, linkPriority.c_str(), tap.Priority().c_str());
  std::fflush(stdout);
  const auto line = sim.WaitForLine("serving thread priority", 100);
  if (line) std::printf("gaps, %s: zorv-sim %s\n", load, line->toUtf8().constData());
}

}  // namespace

void ByteGapFigures() {
  // ZORV_GAP_ONLY=raised: only the run under load with the priorities raised.
  const bool onlyRaised = qEnvironmentVariable("ZORV_GAP_ONLY") == "raised";
  if (!onlyRaised) Run("quiet", false);
  QProcess stress;
  stress.start("stress-ng", {"--cpu", "4", "--quiet"});
  if (!stress.waitForStarted(5000)) {
    std::printf("gaps: stress-ng did not start (scripts/deps.sh installs it)\n");
    return;
  }
  if (!onlyRaised) Run("under stress-ng --cpu 4, priorities as before", false);
  Run("under stress-ng --cpu 4, priorities raised", true);
  stress.terminate();
  if (!stress.waitForFinished(5000)) stress.kill();
}

}  // namespace zorv::bench
