// The recorder against a real SQLite file and real faults: a read-only folder, a full disk, a
// damaged file, a file another process holds, a file of a newer schema. Whatever happens, what
// was recorded before stays, and the line says what went wrong.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <cstdlib>
#include <functional>
#include <memory>

#include "history/HistoryRecorder.h"
#include "history/HistoryStore.h"
#include "tests/history/HistoryFixture.h"
#include "tests/support/TempFolder.h"

namespace zorv::test {
namespace {

using history::Event;
using history::EventKind;
using history::HistoryRecorder;
using history::HistoryStore;

bool Shell(const QString& command) { return std::system(command.toLocal8Bit().constData()) == 0; }

struct FaultRow {
  const char* name;
  // Spoils the folder or the file that already holds one event; false: cannot here (skip).
  std::function<bool(const TempFolder&, const QString& file, LockHolder&)> spoil;
  const char* line;         // what the line says while the fault lasts
  bool recording;           // whether recording goes on
  std::function<void(const TempFolder&, LockHolder&)> mend;  // the fault goes away
  long long eventsAtEnd;    // in the file in use at the end
  bool firstInAFile = true;  // false: the fault destroyed it (the garbage file is kept instead)
};

void PrintTo(const FaultRow& row, std::ostream* out) { *out << row.name; }

class HistoryFaultTest : public ::testing::TestWithParam<FaultRow> {};

TEST_P(HistoryFaultTest, WorkGoesOnAndNothingRecordedIsLost) {
  const FaultRow& row = GetParam();
  TempFolder folder;
  const QString file = QString::fromStdString(folder.File("history.sqlite"));
  const Event first = Sample(1);
  ASSERT_TRUE(RecordOne(file, first));
  LockHolder holder;
  if (!row.spoil(folder, file, holder)) GTEST_SKIP() << "this machine cannot make the fault";

  {
    QString lastLine;
    QObject context;
    HistoryRecorder recorder(file, &context, [&](const QString& line) { lastLine = line; });
    const Event second = Sample(2);
    recorder.Record(second);
    recorder.Flush(2500);  // a held file makes this wait out
    for (int i = 0; i < 100 && lastLine.isEmpty(); ++i) {
      QCoreApplication::processEvents();
      QThread::msleep(20);
    }
    EXPECT_TRUE(lastLine.contains(row.line)) << lastLine.toStdString();
    EXPECT_EQ(recorder.Recording(), row.recording);
    if (row.mend) row.mend(folder, holder);
    EXPECT_TRUE(recorder.Flush(10000));
  }
  Shell("chattr -i " + QString::fromStdString(folder.Path().string()) + " 2>/dev/null");
  EXPECT_EQ(CountIn(file), row.eventsAtEnd);
  // The first event is still there, byte for byte, wherever the file went.
  bool found = false;
  for (const QString& name : QDir(QString::fromStdString(folder.Path().string()))
                                 .entryList({"*.sqlite"}, QDir::Files)) {
    HistoryStore store(QString::fromStdString(folder.File(name.toStdString())));
    if (store.OpenForReading().mode == history::StoreMode::Closed) continue;
    if (auto kept = store.Load(first.id)) found = kept->image == first.image;
  }
  if (row.firstInAFile) {
    EXPECT_TRUE(found) << "the event recorded before the fault";
  } else {
    const QStringList aside = QDir(QString::fromStdString(folder.Path().string()))
                                  .entryList({"history-damaged-*.sqlite"}, QDir::Files);
    ASSERT_EQ(aside.size(), 1) << "moved aside, never deleted";
    QFile kept(QString::fromStdString(folder.File(aside.front().toStdString())));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray(4096, '\x5A'));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, HistoryFaultTest,
    ::testing::Values(
        FaultRow{"ReadOnlyFolder",
                 [](const TempFolder& folder, const QString&, LockHolder&) {
                   return Shell("chattr +i " + QString::fromStdString(folder.Path().string()) +
                              " 2>/dev/null");
                 },
                 "History off until the next start", false, nullptr, 1},
        FaultRow{"DamagedFile",
                 [](const TempFolder&, const QString& file, LockHolder&) {
                   QFile::remove(file);
                   QFile garbage(file);
                   if (!garbage.open(QIODevice::WriteOnly)) return false;
                   garbage.write(QByteArray(4096, '\x5A'));
                   return true;
                 },
                 "History file was damaged: moved to history-damaged-", true, nullptr, 1, false},
        FaultRow{"NewerSchema",
                 [](const TempFolder&, const QString& file, LockHolder&) {
                   auto db = QSqlDatabase::addDatabase("QSQLITE", "newer");
                   db.setDatabaseName(file);
                   const bool ok = db.open() &&
                                   QSqlQuery(db).exec(
                                       "UPDATE meta SET value = '99' WHERE key = 'schema_version'");
                   db.close();
                   db = QSqlDatabase();
                   QSqlDatabase::removeDatabase("newer");
                   return ok;
                 },
                 "History file is from a newer ZorvTrim (schema 99): read only", false, nullptr, 1},
        FaultRow{"HeldByAnotherProgram",
                 [](const TempFolder&, const QString& file, LockHolder& holder) {
                   return holder.Hold(file);
                 },
                 "History file in use by another program: 1 event(s) waiting", true,
                 [](const TempFolder&, LockHolder& holder) { holder.Release(); }, 2}),
    [](const ::testing::TestParamInfo<FaultRow>& row) { return std::string(row.param.name); });

// A full disk: a small tmpfs fills up; the events written before it filled are all there.
TEST(HistoryFullDiskTest, RecordingStopsAndEarlierEventsStay) {
  TempFolder folder;
  const QString mount = QString::fromStdString(folder.Path().string());
  // Room for the WAL index (32 KB) and some dozens of events.
  if (!Shell("mount -t tmpfs -o size=384k tmpfs " + mount + " 2>/dev/null")) {
    GTEST_SKIP() << "mount is not permitted here";
  }
  struct Unmount {
    QString at;
    ~Unmount() { Shell("umount " + at); }
  } unmount{mount};
  const QString file = mount + "/history.sqlite";
  QString lastLine;
  std::vector<Event> sent;
  {
    QObject context;
    HistoryRecorder recorder(file, &context, [&](const QString& line) { lastLine = line; });
    for (int i = 0; i < 400 && recorder.Recording(); ++i) {
      sent.push_back(Sample(static_cast<std::uint8_t>(i)));
      recorder.Record(sent.back());
      recorder.Flush(10000);
    }
    EXPECT_FALSE(recorder.Recording());
    QCoreApplication::processEvents();
  }
  EXPECT_TRUE(lastLine.startsWith("History off until the next start:")) << lastLine.toStdString();
  EXPECT_TRUE(lastLine.contains("full")) << lastLine.toStdString();
  {
    HistoryStore store(file);
    const auto opened = store.OpenForReading();
    ASSERT_NE(opened.mode, history::StoreMode::Closed)
        << opened.line.toStdString() << "\n" << QDir(mount).entryList().join(' ').toStdString();
    const long long kept = store.Count();
    EXPECT_GT(kept, 10);
    for (long long i = 0; i < kept; ++i) {
      const auto event = store.Load(sent[static_cast<std::size_t>(i)].id);
      ASSERT_TRUE(event.has_value()) << i;
      EXPECT_EQ(event->image, sent[static_cast<std::size_t>(i)].image);
    }
  }
}

}  // namespace
}  // namespace zorv::test
