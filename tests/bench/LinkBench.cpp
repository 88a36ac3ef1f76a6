// zorvtrim-bench: the link's figures against zorv-sim with 9600-baud wire time.
//   transfers: seconds for a 256-byte download and upload, and the ratio to 256 x 10 ms
//   firmware:  seconds to program and verify a file, and the ratio to the wire time of the
//              bytes exchanged (10 bits a byte at 9600 baud)
//   idle CPU:  CPU used by the link thread while connected and idle for 10 s
//   window:    RefreshControls time, start-up to the about window, resident memory
//   stall:     the window thread's longest stall during a 64 KB upgrade (per latency)
//   readback:  seconds to read a chip's whole flash back into a HEX file, and the ratio to the
//              wire time of the read-back frames
// Arguments choose sections: transfers, firmware (firmware15, firmware64 for one size), readback,
// idle, window, gaps (default: all); latency=0,1,16 runs transfers and firmware against an adapter
// that holds each byte that long (zorv-sim --latency; default 0).
// Run it from a Release build: build/release/tests/bench/zorvtrim-bench
#include <QApplication>
#include <QTemporaryDir>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTimer>
#include <QEventLoop>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "tests/bench/ByteGapBench.h"
#include "tests/bench/HistoryBench.h"
#include "tests/bench/WindowBench.h"
#include "tests/bench/WindowStallBench.h"
#include "tests/e2e/LinkHarness.h"

namespace zorv::test {
namespace {

// Counts every byte the link moves, besides what the test window records.
class CountingWindow {
 public:
  static double WireSeconds(long bytes) { return static_cast<double>(bytes) * 10.0 / 9600.0; }
};

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// CPU seconds of every thread of this process except the main one.
double OtherThreadsCpuSeconds() {
  const long ticks = sysconf(_SC_CLK_TCK);
  double total = 0;
  const QString self = QString::number(getpid());
  for (const QString& tid : QDir("/proc/self/task").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
    if (tid == self) continue;
    std::ifstream stat("/proc/self/task/" + tid.toStdString() + "/stat");
    std::string content((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const auto close = content.rfind(')');
    if (close == std::string::npos) continue;
    std::istringstream fields(content.substr(close + 2));
    std::string field;
    std::vector<std::string> values;
    while (fields >> field) values.push_back(field);
    if (values.size() < 13) continue;
    // After the name: state is field 3, utime field 14, stime field 15 (1-based, whole line).
    total += (std::stod(values[11]) + std::stod(values[12])) / static_cast<double>(ticks);
  }
  return total;
}

bool Connect(LinkHarness& h, const QStringList& args) {
  if (!h.Start(args)) return false;
  return h.WaitForFirstDownload(20000) && h.WaitForIdle();
}

QStringList LatencyArgs(int latencyMs) { return {"--latency", QString::number(latencyMs)}; }

void Transfers(int latencyMs) {
  LinkHarness h;
  if (!Connect(h, LatencyArgs(latencyMs))) {
    std::printf("transfers: could not connect\n");
    return;
  }
  std::vector<double> download, upload;
  for (int round = 0; round < 3; ++round) {
    const int before = h.window.NoticeCount(notice::kDownloadDone);
    h.WaitForIdle();
    QElapsedTimer timer;
    timer.start();
    h.Request(253);
    WaitUntil([&] { return h.window.NoticeCount(notice::kDownloadDone) > before; }, 20000);
    download.push_back(static_cast<double>(timer.elapsed()) / 1000.0);

    const int uploads = h.window.NoticeCount(notice::kUploadDone);
    h.WaitForIdle();
    timer.restart();
    h.Request(254);
    WaitUntil([&] { return h.window.NoticeCount(notice::kUploadDone) > uploads; }, 20000);
    upload.push_back(static_cast<double>(timer.elapsed()) / 1000.0);
  }
  const double cycle = 256 * 0.010;
  std::printf("latency %2d ms: download 256 bytes: %.3f s (median of 3), %.3f x 256 x 10 ms\n",
              latencyMs, Median(download), Median(download) / cycle);
  std::printf("latency %2d ms: upload 256 bytes:   %.3f s (median of 3), %.3f x 256 x 10 ms\n",
              latencyMs, Median(upload), Median(upload) / cycle);
}

// Bytes on the wire for programming and verifying `highest + 1` bytes with this page size.
long ExchangedBytes(long highest, long pageSize) {
  const long pages = highest / pageSize + 1;
  const long blocks = pageSize / 64;
  const long written = pages * (5 + 3 + 67 * blocks + 3);  // A, E, D..., F
  const long acks = pages * (3 + blocks);
  const long verify = pages * blocks * (5 + 67);
  return written + acks + verify;
}

void Firmware(const char* chip, std::size_t size, long pageSize, int latencyMs) {
  LinkHarness h;
  if (!Connect(h, QStringList{"--chip", chip} + LatencyArgs(latencyMs))) {
    std::printf("firmware %s: could not connect\n", chip);
    return;
  }
  std::mt19937 random(11);
  std::string bytes(size, '\0');
  for (auto& b : bytes) b = static_cast<char>(random());
  const std::string bin = h.files.Write("fw.bin", bytes);
  h.window.firmwareFile = h.files.File("fw.hex");
  QProcess::execute("objcopy", {"-I", "binary", "-O", "ihex", QString::fromStdString(bin),
                                QString::fromStdString(h.window.firmwareFile)});
  h.WaitForIdle();
  h.Request(251);
  // Programming starts when the file has been chosen; it ends with the final message box.
  WaitUntil([&] { return h.window.firmwareDialogs > 0; }, 20000);
  QElapsedTimer timer;
  timer.start();
  WaitUntil([&] { return !h.window.infos.empty() || !h.window.errors.empty(); }, 600000);
  const double seconds = static_cast<double>(timer.elapsed()) / 1000.0;
  const long highest = static_cast<long>(size) - 1;
  const long exchanged = ExchangedBytes(highest, pageSize);
  std::printf("latency %2d ms: firmware %s, %zu-byte file (highest address 0x%lX): %.2f s to program "
              "and verify, %ld bytes on the wire = %.2f s at 9600 baud, ratio %.3f; result: %s\n",
              latencyMs, chip, size, highest, seconds, exchanged, CountingWindow::WireSeconds(exchanged),
              seconds / CountingWindow::WireSeconds(exchanged),
              h.window.infos.empty() ? h.window.errors.front().c_str()
                                     : h.window.infos.front().c_str());
}

// Reads the whole flash of `chip` back into a HEX file; the figure runs from the file choice to
// the final box, against the wire time of one read-back request and answer a 64-byte block.
void ReadFirmware(const char* chip, long flashBytes) {
  LinkHarness h;
  if (!Connect(h, {"--chip", chip})) {
    std::printf("read firmware %s: could not connect\n", chip);
    return;
  }
  h.window.firmwareReadFile = h.files.File("read.hex");
  h.WaitForIdle();
  // The target was chosen before the job: the figure runs from the job to the final box.
  QElapsedTimer timer;
  timer.start();
  h.Request(250);
  WaitUntil([&] { return !h.window.infos.empty() || !h.window.errors.empty(); }, 600000);
  const double seconds = static_cast<double>(timer.elapsed()) / 1000.0;
  const long exchanged = flashBytes / 64 * (5 + 67);
  std::printf("read firmware %s, %ld bytes: %.2f s, %ld bytes on the wire = %.2f s at 9600 baud, "
              "ratio %.2f; result: %s\n",
              chip, flashBytes, seconds, exchanged, CountingWindow::WireSeconds(exchanged),
              seconds / CountingWindow::WireSeconds(exchanged),
              h.window.infos.empty() ? h.window.errors.front().c_str()
                                     : h.window.infos.front().c_str());
}

void IdleCpu() {
  LinkHarness h;
  if (!Connect(h, {})) {
    std::printf("idle CPU: could not connect\n");
    return;
  }
  const double before = OtherThreadsCpuSeconds();
  QElapsedTimer timer;
  timer.start();
  QEventLoop idle;
  QTimer::singleShot(10000, &idle, &QEventLoop::quit);
  idle.exec();
  const double cpu = OtherThreadsCpuSeconds() - before;
  const double wall = static_cast<double>(timer.elapsed()) / 1000.0;
  std::printf("link thread CPU while connected and idle: %.3f s in %.1f s = %.2f %% of one core\n",
              cpu, wall, 100.0 * cpu / wall);
}

}  // namespace
}  // namespace zorv::test

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  // The windows started here record a history: never in the user's own data folder.
  QTemporaryDir dataHome;
  qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
  const QStringList args = app.arguments().mid(1);
  if (!args.isEmpty() && args.front().startsWith("child-")) {
    return zorv::bench::WindowChild(args.front());
  }
  // "latency=0,1,16": the simulated adapter latencies to measure transfers and firmware with.
  std::vector<int> latencies{0};
  for (const QString& arg : args) {
    if (!arg.startsWith("latency=")) continue;
    latencies.clear();
    for (const QString& ms : arg.mid(8).split(',')) latencies.push_back(ms.toInt());
  }
  const bool all = args.isEmpty();
  if (all || args.contains("window")) zorv::bench::WindowFigures(app.applicationFilePath());
  for (const int latency : latencies) {
    if (all || args.contains("transfers")) zorv::test::Transfers(latency);
    if (all || args.contains("firmware") || args.contains("firmware15")) {
      zorv::test::Firmware("ATmega16 BOOT", 15 * 1024, 128, latency);
    }
    // 16-bit record addresses reach 64 KB: a larger file cannot be placed above it.
    if (all || args.contains("firmware") || args.contains("firmware64")) {
      zorv::test::Firmware("AT90CAN128", 64 * 1024, 256, latency);
    }
    if (all || args.contains("stall")) {
      zorv::bench::WindowStallFigures(zorv::test::LatencyArgs(latency));
    }
  }
  if (all || args.contains("readback")) {
    zorv::test::ReadFirmware("ATmega16 BOOT", 0x3C00);
    zorv::test::ReadFirmware("AT90CAN128", 0x10000);
  }
  if (all || args.contains("idle")) zorv::test::IdleCpu();
  if (all || args.contains("history")) zorv::bench::HistoryFigures();
  if (all || args.contains("gaps")) zorv::bench::ByteGapFigures();
  return 0;
}
