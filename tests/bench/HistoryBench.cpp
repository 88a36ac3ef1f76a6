// The history's figures: one event recorded (queued and written, each in its own transaction),
// the history window opened on 100,000 events, the file size per 1,000 events, and recording
// with a shared register (a PostgreSQL server of the bench's own on this machine).
#include "tests/bench/HistoryBench.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "history/HistoryRecorder.h"
#include "history/HistoryStore.h"
#include "history/RegisterStore.h"
#include "tests/support/PgServer.h"
#include "image/DefaultImage.h"
#include "ui/QuietPrompts.h"
#include "ui/history/HistoryWindow.h"

namespace zorv::bench {
namespace {

// Bytes of the files below `path`.
qint64 FolderBytes(const QString& path) {
  qint64 bytes = 0;
  QDirIterator it(path, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    it.next();
    bytes += it.fileInfo().size();
  }
  return bytes;
}

// The machine's load at the time of a figure: the 1, 5 and 15 minute averages.
QString LoadAverage() {
  QFile file("/proc/loadavg");
  if (!file.open(QIODevice::ReadOnly)) return "unknown";
  return QString::fromLatin1(file.readLine()).section(' ', 0, 2);
}

history::Event Sample(int i) {
  SettingsImage image;
  GlobalTrimPair trims;
  LoadDefaultImage(image, trims);
  image[10] = static_cast<std::uint8_t>(i);
  history::Event event = history::NewEvent(history::EventKind::Downloaded, image.bytes);
  event.truck = "Unit " + QString::number(i % 40);
  event.product = "Zorv";
  event.linkText = "Connected to Zorv v1.1";
  return event;
}

// Starts the bench's own server with a new database `name`; false (and says so) when it cannot.
bool StartRegister(zorvtest::PgServer& server, const QString& name,
                   history::RegisterAddress& address) {
  const QString started = server.Start();
  const QString made = started.isEmpty() ? server.CreateDatabase(name) : started;
  if (!made.isEmpty()) {
    std::printf("history: register figures not measured: %s\n", qPrintable(made));
    return false;
  }
  address.host = zorvtest::PgServer::Host();
  address.port = server.Port();
  address.user = zorvtest::PgServer::User();
  address.database = name;
  return true;
}

// One event at a time through the recorder, until the register committed it; and one event
// sent straight in its own transaction.
void RegisterFigures() {
  zorvtest::PgServer server;
  history::RegisterAddress address;
  if (!StartRegister(server, "bench", address)) return;
  QTemporaryDir folder;
  constexpr int kEvents = 200;
  {
    history::HistoryRecorder recorder(folder.filePath("laptop.sqlite"), nullptr, {}, address);
    recorder.Record(Sample(0));  // connects and makes the tables
    while (recorder.Waiting() != 0) QThread::usleep(100);
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < kEvents; ++i) {
      recorder.Record(Sample(i));
      recorder.Flush(10000);
      while (recorder.Waiting() != 0) QThread::usleep(100);
    }
    std::printf("history: record one event with a register (written here, sent, committed "
                "there, marked sent): %.2f ms\n",
                static_cast<double>(timer.nsecsElapsed()) / 1e6 / kEvents);
  }
  history::RegisterStore shared(address);
  QString error;
  if (!shared.Open(error)) return;
  QElapsedTimer timer;
  timer.start();
  for (int i = 0; i < kEvents; ++i) shared.Send({Sample(i)}, error);
  std::printf("history: send one event to the register (one transaction): %.2f ms\n",
              static_cast<double>(timer.nsecsElapsed()) / 1e6 / kEvents);
}

// The history window on a register of 100,000 events: how long until it is shown and until the
// register's rows are listed, and how many bytes the window copies to list them.
void RegisterWindowFigures() {
  zorvtest::PgServer server;
  history::RegisterAddress address;
  if (!StartRegister(server, "window", address)) return;
  constexpr int kEvents = 100000;
  {
    history::RegisterStore shared(address);
    QString error;
    if (!shared.Open(error)) {
      std::printf("history: register window figures not measured: %s\n", qPrintable(error));
      return;
    }
    std::vector<history::Event> batch;
    for (int i = 0; i < kEvents; ++i) {
      batch.push_back(Sample(i));
      if (batch.size() == 1000) {
        shared.Send(batch, error);
        batch.clear();
      }
    }
  }
  SettingsImage window;
  GlobalTrimPair trims;
  LoadDefaultImage(window, trims);
  QuietPrompts prompts;
  // The first opening after the register was filled also pays the server's one-off work on the
  // new rows; the later ones are what a technician sees every day.
  constexpr int kOpenings = 5;
  std::vector<double> listed;
  for (int round = 0; round < kOpenings; ++round) {
    QTemporaryDir folder;
    // The window's copy goes to a temporary folder of this bench's own, so it alone is counted.
    QTemporaryDir scratch;
    const QByteArray tmpBefore = qgetenv("TMPDIR");
    qputenv("TMPDIR", scratch.path().toLocal8Bit());
    QElapsedTimer open;
    open.start();
    HistoryWindow dialog(folder.filePath("laptop.sqlite"), window, 0, prompts, nullptr, address);
    dialog.show();
    QApplication::processEvents();
    const qint64 shownMs = open.elapsed();  // with this laptop's own events, before the register's
    qint64 copied = 0;
    double listedMs = -1;
    while (!dialog.SourceSettled() && open.elapsed() < 120000) {
      QApplication::processEvents();
      if (listedMs < 0 && dialog.RegisterListed()) {
        listedMs = static_cast<double>(open.nsecsElapsed()) / 1e6;
      }
      QThread::msleep(1);
      copied = std::max(copied, FolderBytes(scratch.path()));
    }
    const double settledMs = static_cast<double>(open.nsecsElapsed()) / 1e6;
    if (listedMs < 0) listedMs = settledMs;
    QApplication::processEvents();
    qputenv("TMPDIR", tmpBefore);
    listed.push_back(listedMs);
    std::printf("history: window on a register of %d events, opening %d: shown after %lld ms, the "
                "register's first rows listed after %.0f ms, all read after %.0f ms (%d rows), %.1f MB "
                "copied to list them; load average %s\n",
                kEvents, round + 1, shownMs, listedMs, settledMs, dialog.RowCount(),
                static_cast<double>(copied) / 1024.0 / 1024.0, qPrintable(LoadAverage()));
    std::fflush(stdout);
  }
  std::sort(listed.begin(), listed.end());
  std::printf("history: the register's first rows listed after %.0f ms (median of %d openings)\n",
              listed[listed.size() / 2], kOpenings);
}

}  // namespace

void HistoryFigures() {
  RegisterWindowFigures();
  // Only the window on a register (the figure with a goal), when asked so.
  if (qEnvironmentVariable("ZORV_HISTORY_ONLY") == "register-window") return;
  RegisterFigures();
  QTemporaryDir folder;
  const QString file = folder.filePath("history.sqlite");
  {
    // One event at a time, as the window records them: queued, then written and committed.
    history::HistoryRecorder recorder(file, nullptr, {});
    constexpr int kSingles = 200;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < kSingles; ++i) {
      recorder.Record(Sample(i));
      recorder.Flush(10000);
    }
    std::printf("history: record one event (queued, written, committed): %.2f ms\n",
                static_cast<double>(timer.nsecsElapsed()) / 1e6 / kSingles);
    QElapsedTimer queue;
    queue.start();
    recorder.Record(Sample(0));
    std::printf("history: window thread's share of recording one event: %.3f ms\n",
                static_cast<double>(queue.nsecsElapsed()) / 1e6);
    recorder.Flush(10000);
  }
  const qint64 before = QFileInfo(file).size();
  {
    history::HistoryStore store(file);
    store.OpenForWriting();
    for (int i = 0; i < 1000; ++i) store.Insert(Sample(i));
  }
  const qint64 after = QFileInfo(file).size();
  std::printf("history: file size per 1,000 events: %.0f KB\n",
              static_cast<double>(after - before) / 1024.0);
  {
    history::HistoryStore store(file);
    store.OpenForWriting();
    // Filling only: without waiting for the disk after each event (the figures above do wait).
    QSqlQuery(store.Database()).exec("PRAGMA synchronous=OFF");
    QElapsedTimer fill;
    fill.start();
    for (long long n = store.Count(); n < 100000; ++n) store.Insert(Sample(static_cast<int>(n)));
    std::printf("history: %lld events written in %.1f s (one transaction each, no disk wait)\n",
                store.Count(),
                static_cast<double>(fill.elapsed()) / 1000.0);
  }
  SettingsImage window;
  GlobalTrimPair trims;
  LoadDefaultImage(window, trims);
  QuietPrompts prompts;
  QElapsedTimer open;
  open.start();
  HistoryWindow dialog(file, window, 0, prompts);
  dialog.show();
  QApplication::processEvents();
  std::printf("history: open the history window on 100,000 events: %.1f ms\n",
              static_cast<double>(open.nsecsElapsed()) / 1e6);
  std::printf("history: file of 100,000 events: %.1f MB\n",
              static_cast<double>(QFileInfo(file).size()) / 1024.0 / 1024.0);
}

}  // namespace zorv::bench
