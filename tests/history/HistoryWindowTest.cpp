// The history window on a real file: newest first, the filters, the named differences to the
// window's image, "Restore into window", "Compare two events", "Save as switch file...".
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QFileInfo>
#include <QSqlQuery>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <tuple>
#include <QThread>

#include "history/HistoryRecorder.h"
#include "history/HistoryStore.h"
#include "image/Catalogue.h"
#include "image/DefaultImage.h"
#include "image/SwitchFile.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TempFolder.h"
#include "ui/history/HistoryWindow.h"
#include "ui/history/VisitsWindow.h"

namespace zorv::test {
namespace {

using history::EventKind;

struct Recorded {
  EventKind kind;
  const char* truck;
  std::uint8_t byte10;  // the image differs from the defaults here
};

class HistoryWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LoadDefaultImage(window, trims);
    history::HistoryRecorder recorder(file, nullptr, {});
    for (const Recorded& r : events) {
      history::Event event = history::NewEvent(r.kind, window.bytes);
      event.image[10] = r.byte10;
      event.truck = r.truck;
      event.product = "Zorv v1.1";
      recorder.Record(event);
      ids.push_back(event.id);
      ASSERT_TRUE(recorder.Flush(5000));
      QThread::msleep(2);  // distinct times
    }
  }

  void Filter(HistoryWindow& w, const char* box, const QString& text) {
    auto* combo = w.findChild<QComboBox*>(box);
    ASSERT_NE(combo, nullptr);
    const int index = combo->findText(text);
    ASSERT_GE(index, 0) << text.toStdString();
    combo->setCurrentIndex(index);
    emit combo->activated(index);
  }

  // The one named difference between the window's image with byte 10 at `from` and at `to`.
  std::string Byte10Line(std::uint8_t from, std::uint8_t to) const {
    SettingsImage a = window;
    a[10] = from;
    SettingsImage b = window;
    b[10] = to;
    const auto differences = zorv::Compare(a, b, product::kZorv11);
    return differences.size() == 1 ? differences.front().Line() : "(not one difference)";
  }

  TempFolder folder;
  QString file = QString::fromStdString(folder.File("history.sqlite"));
  SettingsImage window;
  GlobalTrimPair trims;
  ScriptedPrompts prompts;
  const std::vector<Recorded> events = {{EventKind::Downloaded, "Unit 42", 3},
                                        {EventKind::Uploaded, "Unit 7", 4},
                                        {EventKind::ReplacedUnsent, "Unit 42", 5}};
  std::vector<QString> ids;
};

TEST_F(HistoryWindowTest, FiltersListNewestFirst) {
  struct Row {
    const char* box;
    const char* item;
    int rows;
  } rows[] = {{"TruckFilter", "(all)", 3},
              {"TruckFilter", "Unit 42", 2},
              {"TruckFilter", "Unit 7", 1},
              {"KindFilter", "Replaced while holding unsent edits", 1},
              {"ProductFilter", "Zorv v1.1", 3}};
  for (const Row& row : rows) {
    HistoryWindow w(file, window, product::kZorv11, prompts);
    Filter(w, row.box, row.item);
    EXPECT_EQ(w.RowCount(), row.rows) << row.box << " " << row.item;
  }
  HistoryWindow w(file, window, product::kZorv11, prompts);
  // Newest first, selected at once, its differences to the window shown by name.
  const QString text = w.findChild<QPlainTextEdit*>("DifferencesMemo")->toPlainText();
  EXPECT_FALSE(text.isEmpty());
  EXPECT_NE(text, "No differences.");
  EXPECT_TRUE(text.contains("-> ")) << text.toStdString();
}

TEST_F(HistoryWindowTest, RestoreHandsBackTheSelectedImage) {
  HistoryWindow w(file, window, product::kZorv11, prompts);
  w.SelectRows({2});  // the oldest
  ASSERT_TRUE(w.findChild<QPushButton*>("RestoreButton")->isEnabled());
  w.findChild<QPushButton*>("RestoreButton")->click();
  EXPECT_EQ(w.result(), HistoryWindow::kRestore);
  ASSERT_TRUE(w.Chosen().has_value());
  EXPECT_EQ(w.Chosen()->id, ids[0]);
  EXPECT_EQ(w.Chosen()->image[10], 3);
}

TEST_F(HistoryWindowTest, CompareTwoAndSaveAs) {
  HistoryWindow w(file, window, product::kZorv11, prompts);
  w.SelectRows({0, 2});
  auto* compare = w.findChild<QPushButton*>("CompareTwoButton");
  ASSERT_TRUE(compare->isEnabled());
  EXPECT_FALSE(w.findChild<QPushButton*>("RestoreButton")->isEnabled());
  compare->click();
  EXPECT_EQ(w.findChild<QPlainTextEdit*>("DifferencesMemo")->toPlainText().toStdString(),
            Byte10Line(3, 5));

  w.SelectRows({1});
  const std::string saved = folder.File("saved.joy");
  prompts.ExpectSaveFile(QString::fromStdString(saved));
  w.findChild<QPushButton*>("SaveAsButton")->click();
  SettingsImage read;
  ASSERT_TRUE(ReadSwitchFile(saved, read).ok);
  EXPECT_EQ(read[10], 4);
}

// The search box (case and spacing ignored, its text taken as text) and the date range, each
// row on its own window; the list follows once typing pauses.
TEST_F(HistoryWindowTest, SearchAndDatesNarrowTheList) {
  const QDate today = QDate::currentDate();
  struct Row {
    const char* search;
    int fromDays;  // from this many days after today; kAny for no limit
    int toDays;
    int rows;
  };
  constexpr int kAny = 99999;
  const Row rows[] = {{"", kAny, kAny, 3},         {"unit42", kAny, kAny, 2},
                      {" UNIT 4 2 ", kAny, kAny, 2}, {"it 7", kAny, kAny, 1},
                      {"Unit 9", kAny, kAny, 0},    {"%", kAny, kAny, 0},
                      {"_", kAny, kAny, 0},         {"", 0, 0, 3},
                      {"", 1, kAny, 0},             {"", kAny, -1, 0},
                      {"unit 7", -1, 0, 1}};
  for (const Row& row : rows) {
    HistoryWindow w(file, window, product::kZorv11, prompts);
    auto* search = w.findChild<QLineEdit*>("TruckSearch");
    auto* from = w.findChild<QDateEdit*>("FromDate");
    auto* to = w.findChild<QDateEdit*>("ToDate");
    ASSERT_TRUE(search != nullptr && from != nullptr && to != nullptr);
    search->setText(row.search);
    if (row.fromDays != kAny) from->setDate(today.addDays(row.fromDays));
    if (row.toDays != kAny) to->setDate(today.addDays(row.toDays));
    QElapsedTimer pause;
    pause.start();
    while (pause.elapsed() < 600) {
      QApplication::processEvents();
      QThread::msleep(10);
    }
    EXPECT_EQ(w.RowCount(), row.rows)
        << "'" << row.search << "' " << row.fromDays << ".." << row.toDays;
  }
}

// While the window is open another connection keeps recording (the window's own recorder does):
// the window's list must not pin the log, so the log stays near its limit of 4 MB instead of
// growing with every event written.
TEST_F(HistoryWindowTest, LogStaysBoundedWhileTheWindowIsOpen) {
  {
    history::HistoryStore store(file);
    ASSERT_EQ(store.OpenForWriting().mode, history::StoreMode::ReadWrite);
    history::Event event = history::NewEvent(EventKind::Downloaded, window.bytes);
    std::vector<history::Event> many;
    for (int i = 0; i < 600; ++i) {  // more rows than a first fetch of the list
      event.id = history::NewEvent(EventKind::Downloaded, window.bytes).id;
      many.push_back(event);
    }
    ASSERT_TRUE(store.InsertAll(many, false, false).ok());
  }
  HistoryWindow w(file, window, product::kZorv11, prompts);
  w.show();
  QApplication::processEvents();
  history::HistoryStore writer(file);
  ASSERT_EQ(writer.OpenForWriting().mode, history::StoreMode::ReadWrite);
  QSqlQuery(writer.Database()).exec("PRAGMA synchronous=OFF");  // filling only
  qint64 largest = 0;
  for (int i = 0; i < 1500; ++i) {
    history::Event event = history::NewEvent(EventKind::Uploaded, window.bytes);
    event.truck = "Unit 3";
    ASSERT_TRUE(writer.Insert(event).ok());
    largest = std::max(largest, QFileInfo(file + "-wal").size());
  }
  EXPECT_LT(largest, 6 * 1024 * 1024) << "log of " << largest << " bytes";
}

// A writer that leaves the log to others (no automatic checkpoints): the window's reads are
// followed by a checkpoint of its own, which writes the log's pages back into the file.
TEST_F(HistoryWindowTest, ReadsAreFollowedByACheckpoint) {
  history::HistoryStore writer(file);
  ASSERT_EQ(writer.OpenForWriting().mode, history::StoreMode::ReadWrite);
  QSqlQuery(writer.Database()).exec("PRAGMA wal_autocheckpoint=0");
  for (int i = 0; i < 300; ++i) {
    ASSERT_TRUE(writer.Insert(history::NewEvent(EventKind::Uploaded, window.bytes)).ok());
  }
  const qint64 before = QFileInfo(file).size();
  {
    HistoryWindow w(file, window, product::kZorv11, prompts);
    EXPECT_EQ(w.RowCount(), 303);
  }
  EXPECT_GT(QFileInfo(file).size(), before + 100 * 1024) << before;
}

// "Visits...": a kind chosen in the list does not cut a visit; the visit shows the image as found
// and as left by name, and "Export truck history..." writes that truck's events, all kinds.
TEST_F(HistoryWindowTest, VisitsAndTheTrucksCsv) {
  const QDateTime found(QDate(2026, 3, 2), QTime(9, 0));
  {
    history::HistoryRecorder recorder(file, nullptr, {});
    for (auto [kind, minutes, byte10] : {std::tuple{EventKind::Downloaded, 0, 3},
                                         std::tuple{EventKind::Uploaded, 5, 4},
                                         std::tuple{EventKind::Uploaded, 9, 6}}) {
      history::Event event = history::NewEvent(kind, window.bytes);
      event.image[10] = static_cast<std::uint8_t>(byte10);
      event.truck = "Unit 9";
      event.product = "Zorv v1.1";
      event.timeUtc = found.addSecs(minutes * 60).toUTC();
      recorder.Record(event);
    }
    ASSERT_TRUE(recorder.Flush(5000));
  }
  HistoryWindow w(file, window, product::kZorv11, prompts);
  Filter(w, "KindFilter", "Uploaded");
  const std::string csv = folder.File("unit 9.csv");
  QString memo;
  int visits = 0;
  prompts.ExpectModal([&](QDialog& dialog) {
    auto& v = static_cast<VisitsWindow&>(dialog);
    visits = v.VisitCount();
    auto* table = v.findChild<QTableWidget*>("VisitsTable");
    const auto rows = table->findItems("Unit 9", Qt::MatchExactly);
    if (rows.size() != 1) return 0;
    v.SelectVisit(rows.front()->row());
    EXPECT_EQ(table->item(rows.front()->row(), 2)->text(), "3");
    memo = v.findChild<QPlainTextEdit*>("VisitDifferencesMemo")->toPlainText();
    prompts.ExpectSaveFile(QString::fromStdString(csv));
    v.findChild<QPushButton*>("ExportTruckButton")->click();
    // A folder that is not there: said, nothing written.
    prompts.ExpectSaveFile(QString::fromStdString(folder.File("gone/unit 9.csv")));
    prompts.ExpectMessage();
    v.findChild<QPushButton*>("ExportTruckButton")->click();
    return 0;
  });
  w.findChild<QPushButton*>("VisitsButton")->click();
  EXPECT_TRUE(prompts.AllUsed());
  const std::vector<QString> said = prompts.MessageTexts();
  ASSERT_EQ(said.size(), 1u);
  EXPECT_TRUE(said[0].startsWith("The truck's history could not be exported to ")) << said[0].toStdString();
  EXPECT_EQ(visits, 3);  // Unit 9 on its day, Unit 42 and Unit 7 today
  EXPECT_EQ(memo.toStdString(), Byte10Line(3, 6));
  QFile written(QString::fromStdString(csv));
  ASSERT_TRUE(written.open(QIODevice::ReadOnly));
  const QStringList lines = QString::fromUtf8(written.readAll()).split("\r\n", Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 4) << lines.join('|').toStdString();
  EXPECT_TRUE(lines[1].contains(",Downloaded,Unit 9,")) << lines[1].toStdString();
  EXPECT_TRUE(lines[3].contains(",Uploaded,Unit 9,")) << lines[3].toStdString();
}

}  // namespace
}  // namespace zorv::test
