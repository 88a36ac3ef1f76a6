// The history window with a shared register set: it lists the register's events and this
// laptop's events still waiting to be sent; the register is read without holding the window,
// and when it never answers the window lists this laptop's events and says so.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QTableView>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QThread>
#include <functional>

#include "history/HistoryStore.h"
#include "history/RegisterStore.h"
#include "image/DefaultImage.h"
#include "tests/history/RegisterServer.h"
#include "tests/support/PgServer.h"
#include "tests/support/SilentListener.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TempFolder.h"
#include "ui/history/HistoryWindow.h"

namespace zorv::test {
namespace {

using history::Event;

// The window is up long before any register could answer.
constexpr qint64 kOpenMaxMs = 500;

Event Sample(const char* truck, std::uint8_t byte10) {
  ImageBytes image{};
  image[10] = byte10;
  Event event = history::NewEvent(history::EventKind::Downloaded, image);
  event.truck = truck;
  event.product = "Zorv v1.1";
  QThread::msleep(2);  // distinct times
  return event;
}

bool WaitUntilSettled(HistoryWindow& w) {
  return WaitFor([&] { return w.SourceSettled(); }, history::kConnectTimeoutS * 1000 + 5000);
}

struct WindowRow {
  const char* name;
  bool serverUp;  // else a listener that never answers
  int rows;       // listed once the register was read or given up
  const char* lineStart;
};
void PrintTo(const WindowRow& row, std::ostream* out) { *out << row.name; }

class RegisterWindowTest : public ::testing::TestWithParam<WindowRow> {};

TEST_P(RegisterWindowTest, ListsTheRegisterAndWhatWaits) {
  const WindowRow& row = GetParam();
  TempFolder folder;
  const QString file = QString::fromStdString(folder.File("laptop.sqlite"));
  // This laptop: one event the register has, two waiting, one recorded before the register was
  // set (never marked waiting). Another laptop: three more.
  const Event sent = Sample("Unit 42", 1);
  const Event earlier = Sample("Unit 42", 7);
  const std::vector<Event> waiting = {Sample("Unit 42", 2), Sample("Unit 42", 3)};
  const std::vector<Event> others = {Sample("Unit 9", 4), Sample("Unit 9", 5), Sample("Unit 9", 6)};
  {
    history::HistoryStore local(file);
    ASSERT_EQ(local.OpenForWriting().mode, history::StoreMode::ReadWrite);
    ASSERT_TRUE(local.Insert(sent).ok());
    ASSERT_TRUE(local.Insert(earlier).ok());
    ASSERT_TRUE(local.InsertAll(waiting, true, false).ok());
  }

  zorvtest::PgServer server;
  history::RegisterAddress address;
  address.host = "127.0.0.1";
  address.user = zorvtest::PgServer::User();
  zorvtest::SilentListener silent;
  if (row.serverUp) {
    const QString started = server.Start();
    ASSERT_TRUE(started.isEmpty()) << started.toStdString();
    ASSERT_TRUE(server.CreateDatabase(address.database).isEmpty());
    address.port = server.Port();
    history::RegisterStore shared(address);
    std::vector<Event> held = others;
    held.push_back(sent);
    QString error;
    ASSERT_TRUE(shared.Open(error) && shared.Send(held, error)) << error.toStdString();
  } else {
    ASSERT_NE(silent.Port(), 0);
    address.port = silent.Port();
  }

  SettingsImage window;
  GlobalTrimPair trims;
  LoadDefaultImage(window, trims);
  ScriptedPrompts prompts;
  QElapsedTimer opening;
  opening.start();
  {
    HistoryWindow w(file, window, product::kZorv11, prompts, nullptr, address);
    w.show();
    QApplication::processEvents();
    EXPECT_LT(opening.elapsed(), kOpenMaxMs);
    EXPECT_EQ(w.RowCount(), 4);  // this laptop's own file, until the register answers
    while (!w.SourceSettled() && opening.elapsed() < history::kConnectTimeoutS * 1000 + 5000) {
      QApplication::processEvents();
      QThread::msleep(10);
    }
    ASSERT_TRUE(w.SourceSettled());
    const QString line = w.findChild<QLabel*>("SourceLine")->text();
    EXPECT_TRUE(line.startsWith(row.lineStart)) << line.toStdString();
    // The test's server has no certificate: the line says the connection is plain.
    EXPECT_EQ(line.contains("connection NOT encrypted"), row.serverUp) << line.toStdString();
    EXPECT_EQ(w.RowCount(), row.rows);
    if (row.serverUp) {
      // This laptop's events the register does not hold are listed too, and marked so.
      auto* table = w.findChild<QTableView*>("HistoryTable");
      ASSERT_NE(table, nullptr);
      int marked = 0;
      for (int r = 0; r < table->model()->rowCount(); ++r) {
        const QString id = table->model()->index(r, 0).data().toString();
        const QString mark = table->model()->index(r, 7).data().toString();
        const bool mine = id == earlier.id || id == waiting[0].id || id == waiting[1].id;
        EXPECT_EQ(mark, mine ? "Not in the register" : "") << r;
        marked += mine ? 1 : 0;
      }
      EXPECT_EQ(marked, 3);
      // Another laptop's event, restored from the register's copy byte for byte.
      auto* trucks = w.findChild<QComboBox*>("TruckFilter");
      const int unit9 = trucks->findText("Unit 9");
      ASSERT_GE(unit9, 0);
      trucks->setCurrentIndex(unit9);
      emit trucks->activated(unit9);
      ASSERT_EQ(w.RowCount(), 3);
      w.SelectRows({0});
      w.findChild<QPushButton*>("RestoreButton")->click();
      ASSERT_TRUE(w.Chosen().has_value());
      EXPECT_EQ(w.Chosen()->image, others.back().image);
    }
  }
  if (!row.serverUp) {
    // Closed before the register answered: the window goes at once.
    QElapsedTimer closing;
    {
      HistoryWindow early(file, window, product::kZorv11, prompts, nullptr, address);
      early.show();
      QApplication::processEvents();
      closing.start();
    }
    EXPECT_LT(closing.elapsed(), kOpenMaxMs);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Registers, RegisterWindowTest,
    ::testing::Values(WindowRow{"RegisterUp", true, 7, "History register zorv@127.0.0.1:"},
                      WindowRow{"NeverAnswers", false, 4, "History register unreachable"}),
    [](const ::testing::TestParamInfo<WindowRow>& row) { return std::string(row.param.name); });

// A register larger than one list: the window copies only the newest list's worth, and a truck
// whose events are all older than that is found by the server when the filter is chosen.
TEST(RegisterWindowPageTest, ListsTheNewestAndTheServerFilters) {
  TempFolder folder;
  const QString file = QString::fromStdString(folder.File("laptop.sqlite"));
  zorvtest::PgServer server;
  const QString started = server.Start();
  ASSERT_TRUE(started.isEmpty()) << started.toStdString();
  history::RegisterAddress address;
  address.host = "127.0.0.1";
  address.user = zorvtest::PgServer::User();
  ASSERT_TRUE(server.CreateDatabase(address.database).isEmpty());
  address.port = server.Port();
  constexpr int kNewer = history::HistoryStore::kListRows + 200;
  {
    history::RegisterStore shared(address);
    QString error;
    ASSERT_TRUE(shared.Open(error)) << error.toStdString();
    ImageBytes image{};
    std::vector<Event> events;
    for (int i = 0; i < 3; ++i) {  // the oldest: a truck seen long ago
      Event event = history::NewEvent(history::EventKind::Uploaded, image);
      event.truck = "Old Unit";
      event.timeUtc = QDateTime::currentDateTimeUtc().addDays(-400 + i);
      events.push_back(event);
    }
    for (int i = 0; i < kNewer; ++i) {
      Event event = history::NewEvent(history::EventKind::Downloaded, image);
      event.truck = "Unit " + QString::number(i % 5);
      event.timeUtc = QDateTime::currentDateTimeUtc().addSecs(-kNewer + i);
      events.push_back(event);
    }
    ASSERT_TRUE(shared.Send(events, error)) << error.toStdString();
  }
  SettingsImage window;
  GlobalTrimPair trims;
  LoadDefaultImage(window, trims);
  ScriptedPrompts prompts;
  HistoryWindow w(file, window, product::kZorv11, prompts, nullptr, address);
  w.show();
  ASSERT_TRUE(WaitUntilSettled(w));
  EXPECT_EQ(w.RowCount(), history::HistoryStore::kListRows);
  auto* limitLine = w.findChild<QLabel*>("ListLimitLine");
  ASSERT_NE(limitLine, nullptr);
  const QString limit = limitLine->text();
  EXPECT_TRUE(limit.contains(QString::number(kNewer + 3))) << limit.toStdString();

  auto* trucks = w.findChild<QComboBox*>("TruckFilter");
  const int old = trucks->findText("Old Unit");  // named by the server, though not listed
  ASSERT_GE(old, 0);
  trucks->setCurrentIndex(old);
  emit trucks->activated(old);
  ASSERT_TRUE(WaitUntilSettled(w));
  EXPECT_EQ(w.RowCount(), 3);
  EXPECT_TRUE(limitLine->isHidden());

  // The search box, too, is answered by the server.
  trucks->setCurrentIndex(0);
  emit trucks->activated(0);
  w.findChild<QLineEdit*>("TruckSearch")->setText("OLDUNIT");
  ASSERT_TRUE(WaitFor([&] { return w.SourceSettled() && w.RowCount() == 3; }, 10000))
      << w.RowCount();
}

}  // namespace
}  // namespace zorv::test
