// The shared register against a real PostgreSQL server the test starts itself: laptops with
// files of their own write to one register; the server stops and comes back; a register that
// never answers. Every event reaches the register exactly once, and recording never waits.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <algorithm>
#include <functional>
#include <memory>

#include "history/HistoryRecorder.h"
#include "history/HistoryStore.h"
#include "history/RegisterStore.h"
#include "tests/history/RegisterServer.h"
#include "tests/support/PgServer.h"
#include "tests/support/SilentListener.h"
#include "tests/support/TempFolder.h"

namespace zorv::test {
namespace {

using history::Event;
using history::HistoryRecorder;
using history::RegisterAddress;

// Recording is a hand-over to the recorder's thread: far below a frame, whatever the register.
constexpr qint64 kRecordCallMaxMs = 50;
constexpr int kRetryMs = 300;

Event Sample(int n) {
  ImageBytes image{};
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(n + i * 3);
  Event event = history::NewEvent(history::EventKind::Downloaded, image);
  event.truck = "Unit " + QString::number(n % 5);
  event.product = "Zorv v1.1";
  event.crc = 0xF00DF00Du;  // above 2^31: the register's column must hold it
  return event;
}

// The ids the register holds, sorted; a duplicate would show twice.
std::vector<QString> IdsIn(const RegisterAddress& address) {
  std::vector<QString> ids;
  for (const Event& e : EventsIn(address)) ids.push_back(e.id);
  std::sort(ids.begin(), ids.end());
  return ids;
}

long long WaitingIn(const QString& file) {
  history::HistoryStore store(file);
  if (store.OpenForReading().mode == history::StoreMode::Closed) return -1;
  return store.UnsentCount();
}


struct RoundRow {
  const char* name;
  int laptops;
  bool stopMidway;
  bool eventAfterRestart;  // else the periodic retry must send what waits
};
void PrintTo(const RoundRow& row, std::ostream* out) { *out << row.name; }

class RegisterRoundTest : public RegisterServer, public ::testing::WithParamInterface<RoundRow> {};

TEST_P(RegisterRoundTest, EveryEventReachesTheRegisterOnce) {
  const RoundRow& row = GetParam();
  std::vector<QString> files;
  std::vector<std::unique_ptr<HistoryRecorder>> laptops;
  for (int i = 0; i < row.laptops; ++i) {
    files.push_back(QString::fromStdString(folder_.File("laptop" + std::to_string(i) + ".sqlite")));
    laptops.push_back(
        std::make_unique<HistoryRecorder>(files.back(), nullptr, nullptr, address_, kRetryMs));
  }
  std::vector<QString> recorded;
  qint64 slowestRecordMs = 0;
  auto recordOnEach = [&](int count) {
    for (int n = 0; n < count; ++n) {
      for (auto& laptop : laptops) {
        const Event event = Sample(static_cast<int>(recorded.size()));
        recorded.push_back(event.id);
        QElapsedTimer call;
        call.start();
        laptop->Record(event);
        slowestRecordMs = std::max(slowestRecordMs, call.elapsed());
      }
    }
  };

  recordOnEach(3);
  ASSERT_TRUE(WaitFor([&] { return IdsIn(address_).size() == recorded.size(); }, 15000));
  if (row.stopMidway) {
    ASSERT_TRUE(server_->Stop());
    recordOnEach(3);
    for (auto& laptop : laptops) {
      EXPECT_TRUE(laptop->Flush(10000));
      EXPECT_TRUE(WaitFor([&] { return laptop->Line() == history::kRegisterUnreachable; }, 10000))
          << laptop->Line().toStdString();
    }
    for (const QString& file : files) EXPECT_EQ(WaitingIn(file), 3) << file.toStdString();
    const QString restarted = server_->Start();
    ASSERT_TRUE(restarted.isEmpty()) << restarted.toStdString();
    if (row.eventAfterRestart) recordOnEach(1);
  }
  std::sort(recorded.begin(), recorded.end());
  EXPECT_TRUE(WaitFor([&] { return IdsIn(address_).size() >= recorded.size(); }, 15000));
  EXPECT_EQ(IdsIn(address_), recorded);
  for (std::size_t i = 0; i < laptops.size(); ++i) {
    EXPECT_TRUE(WaitFor([&] { return laptops[i]->Line().isEmpty(); }, 5000))
        << laptops[i]->Line().toStdString();
    EXPECT_EQ(WaitingIn(files[i]), 0);
  }
  EXPECT_LT(slowestRecordMs, kRecordCallMaxMs);
}

INSTANTIATE_TEST_SUITE_P(
    Rounds, RegisterRoundTest,
    ::testing::Values(RoundRow{"TwoLaptops", 2, false, false},
                      RoundRow{"StoppedThenNewEvent", 1, true, true},
                      RoundRow{"StoppedThenRetriedByTheClock", 1, true, false},
                      RoundRow{"TwoLaptopsStoppedThenNewEvent", 2, true, true}),
    [](const ::testing::TestParamInfo<RoundRow>& row) { return std::string(row.param.name); });

// Events waiting from an earlier run (one of them committed by the register just before that
// run ended, its local mark not yet cleared) go at the start, and none twice.
TEST_F(RegisterServer, WaitingFromAnEarlierRunAreSentAtStart) {
  const QString file = QString::fromStdString(folder_.File("laptop.sqlite"));
  const std::vector<Event> earlier = {Sample(1), Sample(2)};
  {
    history::HistoryStore store(file);
    ASSERT_EQ(store.OpenForWriting().mode, history::StoreMode::ReadWrite);
    ASSERT_TRUE(store.InsertAll(earlier, true, false).ok());
    history::RegisterStore shared(address_);
    QString error;
    ASSERT_TRUE(shared.Open(error) && shared.Send({earlier[0]}, error)) << error.toStdString();
  }
  HistoryRecorder recorder(file, nullptr, nullptr, address_, kRetryMs);
  ASSERT_TRUE(WaitFor([&] { return WaitingIn(file) == 0; }, 15000));
  std::vector<QString> expected = {earlier[0].id, earlier[1].id};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(IdsIn(address_), expected);
  const auto back = [&] {
    history::RegisterStore shared(address_);
    QString error;
    std::optional<Event> found;
    shared.Open(error);
    shared.ReadAll([&](const Event& e) { return e.id == earlier[1].id ? (found = e, false) : true; },
                   error);
    return found;
  }();
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->image, earlier[1].image);
  EXPECT_EQ(back->crc, earlier[1].crc);
  EXPECT_EQ(back->truck, earlier[1].truck);
}

struct SilentRow {
  const char* name;
  bool listening;     // else nothing listens on the port
  int minimumFailMs;  // a listener holds the attempt until the time-out
};
void PrintTo(const SilentRow& row, std::ostream* out) { *out << row.name; }

class RegisterUnreachableTest : public ::testing::TestWithParam<SilentRow> {};

TEST_P(RegisterUnreachableTest, GivesUpWithinTheTimeOutAndRecordsHere) {
  const SilentRow& row = GetParam();
  TempFolder folder;
  const QString file = QString::fromStdString(folder.File("laptop.sqlite"));
  zorvtest::SilentListener listener;
  ASSERT_NE(listener.Port(), 0);
  if (!row.listening) listener.Close();
  RegisterAddress address;
  address.host = "127.0.0.1";
  address.port = listener.Port();
  address.user = "zorv";

  QElapsedTimer since;
  since.start();
  auto recorder = std::make_unique<HistoryRecorder>(file, nullptr, nullptr, address, kRetryMs);
  const Event event = Sample(7);
  QElapsedTimer call;
  call.start();
  recorder->Record(event);
  EXPECT_LT(call.elapsed(), kRecordCallMaxMs);
  ASSERT_TRUE(WaitFor([&] { return recorder->Line() == history::kRegisterUnreachable; },
                      history::kConnectTimeoutS * 1000 + 3000));
  EXPECT_LE(since.elapsed(), history::kConnectTimeoutS * 1000 + 2000);
  EXPECT_GE(since.elapsed(), row.minimumFailMs);
  EXPECT_TRUE(recorder->Flush(history::kConnectTimeoutS * 1000 + 2000));
  QElapsedTimer closing;
  closing.start();
  recorder.reset();
  EXPECT_LE(closing.elapsed(), history::kConnectTimeoutS * 1000 + 1000);

  history::HistoryStore store(file);
  ASSERT_NE(store.OpenForReading().mode, history::StoreMode::Closed);
  ASSERT_TRUE(store.Load(event.id).has_value());
  EXPECT_EQ(store.Load(event.id)->image, event.image);
  EXPECT_EQ(store.UnsentCount(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Registers, RegisterUnreachableTest,
    ::testing::Values(SilentRow{"NothingListens", false, 0},
                      // libpq times connect_timeout on the whole seconds of time(), so it may
                      // give up up to a second early (2092 ms was seen under load).
                      SilentRow{"NeverAnswers", true, (history::kConnectTimeoutS - 1) * 1000}),
    [](const ::testing::TestParamInfo<SilentRow>& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace zorv::test
