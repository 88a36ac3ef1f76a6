#pragma once
// The test program's own PostgreSQL server (one cluster for the program) and a new database for
// each test, with the address a laptop would use; and what the register holds.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <functional>
#include <vector>

#include "history/HistoryEvent.h"
#include "history/RegisterAddress.h"
#include "history/RegisterStore.h"
#include "tests/support/PgServer.h"
#include "tests/support/TempFolder.h"

namespace zorv::test {

// Polls `done` (running queued calls meanwhile) until it holds or `timeoutMs` passed.
inline bool WaitFor(const std::function<bool()>& done, int timeoutMs) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > timeoutMs) return false;
    QCoreApplication::processEvents();
    QThread::msleep(20);
  }
  return true;
}

// Every event the register holds, in the order it gives them.
inline std::vector<history::Event> EventsIn(const history::RegisterAddress& address) {
  history::RegisterStore store(address);
  std::vector<history::Event> events;
  QString error;
  if (!store.Open(error) ||
      !store.ReadAll([&](const history::Event& e) { return events.push_back(e), true; }, error)) {
    ADD_FAILURE() << "register: " << error.toStdString();
  }
  return events;
}

class RegisterServer : public ::testing::Test {
 protected:
  // One cluster for the whole program (started once, stopped at its end).
  static void SetUpTestSuite() {
    server_ = &zorvtest::PgServer::Shared();
    startError_ = server_->Start();
  }
  static void TearDownTestSuite() { server_ = nullptr; }
  void SetUp() override {
    ASSERT_TRUE(startError_.isEmpty()) << "the test's PostgreSQL server did not start: "
                                       << startError_.toStdString();
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    address_.database = "t" + QString::number(++databases_);
    address_.host = zorvtest::PgServer::Host();
    address_.port = server_->Port();
    address_.user = zorvtest::PgServer::User();
    const QString made = server_->CreateDatabase(address_.database);
    ASSERT_TRUE(made.isEmpty()) << name << ": " << made.toStdString();
  }
  void TearDown() override {
    // A test that stopped the server leaves it running for the next.
    if (startError_.isEmpty()) server_->Start();
  }

  static inline zorvtest::PgServer* server_ = nullptr;
  static inline QString startError_;
  static inline int databases_ = 0;
  history::RegisterAddress address_;
  TempFolder folder_;
};

}  // namespace zorv::test
