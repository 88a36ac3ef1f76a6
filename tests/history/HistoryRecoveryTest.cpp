// What must never be lost: events waiting while another program holds the file, the readable
// events of a file damaged inside its events table, and the events of two programs that start
// on a new file at the same moment. Plus the one rule for truck labels.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QThread>
#include <cstdlib>
#include <sys/stat.h>

#include "history/HistoryRecorder.h"
#include "history/HistoryStore.h"
#include "history/TruckLabel.h"
#include "tests/history/HistoryFixture.h"
#include "tests/support/TempFolder.h"

namespace zorv::test {
namespace {

using history::Event;
using history::EventKind;
using history::HistoryRecorder;
using history::HistoryStore;

// Held at exit: the events go into the journal beside the file, the exit says so, and the next
// start writes them in.
TEST(HistoryHeldAtExitTest, WaitingEventsAreKeptAndWrittenByTheNextStart) {
  TempFolder folder;
  const QString file = QString::fromStdString(folder.File("history.sqlite"));
  ASSERT_TRUE(RecordOne(file, Sample(1)));
  LockHolder holder("BEGIN IMMEDIATE");  // as the sqlite3 shell user did
  ASSERT_TRUE(holder.Hold(file));
  const Event a = Sample(2);
  const Event b = Sample(3);
  QString exitLine;
  {
    HistoryRecorder held(file, nullptr, nullptr);
    held.Record(a);
    held.Record(b);
    exitLine = held.Finish(500);
  }
  EXPECT_TRUE(exitLine.contains("2 event(s) kept in history.sqlite-waiting")) << exitLine.toStdString();
  EXPECT_TRUE(QFile::exists(file + "-waiting"));
  holder.Release();
  EXPECT_EQ(CountIn(file), 1);  // not yet: the next start writes them

  {
    QString startLine;
    QObject context;
    HistoryRecorder next(file, &context, [&](const QString& line) { startLine = line; });
    ASSERT_TRUE(next.Flush(10000));
    EXPECT_TRUE(next.Finish(2000).isEmpty());
  }
  EXPECT_EQ(CountIn(file), 3);
  EXPECT_FALSE(QFile::exists(file + "-waiting"));
  HistoryStore store(file);
  ASSERT_NE(store.OpenForReading().mode, history::StoreMode::Closed);
  for (const Event& e : {a, b}) {
    const auto back = store.Load(e.id);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->image, e.image);
    EXPECT_EQ(back->truck, e.truck);
  }
}

// The file and its folder hold a customer's settings: the user's alone.
TEST(HistoryModesTest, FileAndFolderAreTheUsersOnly) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows has no such modes: the per-user data folder's access list keeps others out";
#endif
  TempFolder folder;
  const QString file = QString::fromStdString(folder.File("new/folder/history.sqlite"));
  ASSERT_TRUE(RecordOne(file, Sample(1)));
  struct stat info {};
  ASSERT_EQ(::stat(QFile::encodeName(file).constData(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  ASSERT_EQ(::stat(QFile::encodeName(QString::fromStdString(folder.File("new/folder"))).constData(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
}

// Overwrites the last page of the events table (its leaf, not the header) with garbage.
bool SpoilEventsPage(const QString& file) {
  int page = 0;
  int pageSize = 0;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "spoil");
    db.setDatabaseName(file);
    if (db.open()) {
      QSqlQuery q(db);
      q.exec("PRAGMA wal_checkpoint(TRUNCATE)");
      q.exec("PRAGMA journal_mode=DELETE");
      if (q.exec("PRAGMA page_size") && q.next()) pageSize = q.value(0).toInt();
      // The newest rows sit on the highest leaf page of the table's b-tree.
      if (q.exec("SELECT max(pageno) FROM dbstat WHERE name = 'events' AND pagetype = 'leaf'") &&
          q.next()) {
        page = q.value(0).toInt();
      }
      db.close();
    }
  }
  QSqlDatabase::removeDatabase("spoil");
  if (page < 2 || pageSize == 0) return false;
  QFile f(file);
  if (!f.open(QIODevice::ReadWrite)) return false;
  f.seek(static_cast<qint64>(page - 1) * pageSize + 16);
  f.write(QByteArray(pageSize - 32, '\xA5'));
  return true;
}

TEST(HistoryDamagedPageTest, FileIsMovedAsideWithTheReadableEvents) {
  TempFolder folder;
  const QString file = QString::fromStdString(folder.File("history.sqlite"));
  std::vector<Event> events;
  {
    HistoryRecorder recorder(file, nullptr, nullptr);
    for (int i = 0; i < 300; ++i) {
      events.push_back(Sample(i));
      recorder.Record(events.back());
    }
    ASSERT_TRUE(recorder.Flush(20000));
  }
  if (!SpoilEventsPage(file)) GTEST_SKIP() << "this SQLite has no dbstat table";

  QString line;
  {
    QObject context;
    HistoryRecorder recorder(file, &context, [&](const QString& l) { line = l; });
    const Event after = Sample(1000);
    recorder.Record(after);
    ASSERT_TRUE(recorder.Flush(20000));
    // The damage is found by the check off the start-up path, or by the write itself.
    for (int i = 0; i < 200 && !line.contains("damaged"); ++i) {
      QCoreApplication::processEvents();
      QThread::msleep(20);
    }
    EXPECT_TRUE(line.contains("History file was damaged: moved to history-damaged-"))
        << line.toStdString();
    recorder.Record(Sample(1001));
    ASSERT_TRUE(recorder.Flush(20000));
    EXPECT_TRUE(recorder.Recording()) << recorder.Line().toStdString();
  }
  const QStringList aside =
      QDir(QString::fromStdString(folder.Path().string()))
          .entryList({"history-damaged-*.sqlite"}, QDir::Files);
  EXPECT_EQ(aside.size(), 1);
  // The new file holds the events that could be read (most of them) and the new ones.
  const long long kept = CountIn(file);
  EXPECT_GT(kept, 200);
  EXPECT_LT(kept, 302);
  HistoryStore store(file);
  ASSERT_NE(store.OpenForReading().mode, history::StoreMode::Closed);
  const auto firstBack = store.Load(events.front().id);
  ASSERT_TRUE(firstBack.has_value());
  EXPECT_EQ(firstBack->image, events.front().image);
}

// A child run of this program: records one event in the file ZORV_RACE_FILE names. Only the race
// test below starts it; on its own it has nothing to do.
TEST(HistoryStartRaceChild, RecordsOneEvent) {
  const char* file = std::getenv("ZORV_RACE_FILE");
  if (file == nullptr) GTEST_SKIP() << "run by HistoryStartRaceTest only";
  HistoryRecorder recorder(QString::fromLocal8Bit(file), nullptr, nullptr);
  recorder.Record(Sample(7));
  ASSERT_TRUE(recorder.Flush(10000));
  EXPECT_TRUE(recorder.Recording()) << recorder.Line().toStdString();
  EXPECT_TRUE(recorder.Line().isEmpty()) << recorder.Line().toStdString();
}

TEST(HistoryStartRaceTest, TwoProgramsOnANewFileBothRecord) {
  constexpr int kRounds = 20;
  for (int round = 0; round < kRounds; ++round) {
    TempFolder folder;
    const QString file = QString::fromStdString(folder.File("history.sqlite"));
    QProcess children[2];
    for (QProcess& child : children) {
      QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
      env.insert("ZORV_RACE_FILE", file);
      // The child runs its one case, whatever shard of the suite this run is.
      env.remove("GTEST_TOTAL_SHARDS");
      env.remove("GTEST_SHARD_INDEX");
      child.setProcessEnvironment(env);
      child.setProcessChannelMode(QProcess::MergedChannels);
    }
    for (QProcess& child : children) {
      child.start(QCoreApplication::applicationFilePath(),
                  {"--gtest_filter=HistoryStartRaceChild.RecordsOneEvent"});
    }
    for (QProcess& child : children) {
      ASSERT_TRUE(child.waitForFinished(60000)) << "round " << round;
      EXPECT_EQ(child.exitCode(), 0) << "round " << round << "\n"
                                     << child.readAll().toStdString();
    }
    ASSERT_EQ(CountIn(file), 2) << "round " << round;
  }
}

struct TruckRow {
  const char* name;
  QString typed;
  QString label;    // what is recorded
  bool refused;
};
void PrintTo(const TruckRow& row, std::ostream* out) { *out << row.name; }
class TruckLabelTest : public ::testing::TestWithParam<TruckRow> {};

TEST_P(TruckLabelTest, OneRuleEverywhere) {
  const TruckRow& row = GetParam();
  QString error;
  const auto label = history::CheckTruckLabel(row.typed, error);
  EXPECT_EQ(!label.has_value(), row.refused) << error.toStdString();
  if (label) {
    EXPECT_EQ(*label, row.label);
  }
  if (row.refused) {
    EXPECT_TRUE(error.startsWith("The truck label")) << error.toStdString();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Labels, TruckLabelTest,
    ::testing::Values(TruckRow{"Plain", "Unit 42", "Unit 42", false},
                      TruckRow{"Trimmed", "  Unit 42 \t", "Unit 42", false},
                      TruckRow{"Empty", "", "", false},
                      TruckRow{"TwentyFour", QString(24, 'X'), QString(24, 'X'), false},
                      TruckRow{"TwentyFive", QString(25, 'X'), {}, true},
                      TruckRow{"TenThousand", QString(10000, 'a'), {}, true},
                      TruckRow{"Newline", "Unit\n42", {}, true},
                      TruckRow{"Tab", "Unit\t42", {}, true},
                      TruckRow{"Nul", QString("Unit") + QChar(0) + "42", {}, true}),
    [](const ::testing::TestParamInfo<TruckRow>& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace zorv::test
