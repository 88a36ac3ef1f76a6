#include "history/RegisterStore.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <atomic>

#include "history/EventRow.h"
#include "history/HistorySchema.h"

namespace zorv::history {
namespace {

std::atomic<int> connectionCount{0};

// Held while one laptop creates or migrates the tables, so two starting at once do not both.
constexpr const char* kSchemaLock = "SELECT pg_advisory_xact_lock(7301715)";

QString ErrorText(const QSqlError& error) {
  // libpq's first line says what failed; the rest is advice about servers, not for the user.
  const QString first = error.databaseText().section('\n', 0, 0).trimmed();
  return first.isEmpty() ? error.text().simplified() : first;
}

}  // namespace

RegisterStore::RegisterStore(RegisterAddress address)
    : address_(std::move(address)),
      connection_("zorv-register-" + QString::number(++connectionCount)) {}

RegisterStore::~RegisterStore() { Close(); }

void RegisterStore::Close() {
  if (QSqlDatabase::contains(connection_)) {
    {
      QSqlDatabase db = QSqlDatabase::database(connection_, false);
      db.close();
    }
    QSqlDatabase::removeDatabase(connection_);
  }
  open_ = false;
}

bool RegisterStore::Open(QString& error) {
  Close();
  QSqlDatabase db = QSqlDatabase::addDatabase("QPSQL", connection_);
  if (!db.isValid()) {
    error = "the PostgreSQL driver of Qt is not installed (libqt6sql6-psql)";
    return false;
  }
  db.setHostName(address_.host.trimmed());
  db.setPort(address_.port);
  db.setDatabaseName(address_.database);
  if (!address_.user.isEmpty()) db.setUserName(address_.user);
  // No password given: libpq looks it up in PGPASSFILE or ~/.pgpass itself.
  db.setConnectOptions("connect_timeout=" + QString::number(kConnectTimeoutS) +
                       ";application_name=ZorvTrim");
  if (!db.open()) {
    error = ErrorText(db.lastError());
    return false;
  }
  QSqlQuery query(db);
  if (!db.transaction() || !query.exec(kSchemaLock)) {
    error = ErrorText(query.lastError().isValid() ? query.lastError() : db.lastError());
    db.rollback();
    return false;
  }
  const int version = ReadSchemaVersion(db, error);
  bool ready = version >= 0;
  if (version > kSchemaVersion) {
    error = "it is from a newer ZorvTrim (schema " + QString::number(version) + ")";
    ready = false;
  } else if (ready && version < kSchemaVersion) {
    ready = RunSteps(db, version, error);
  }
  if (!ready || !db.commit()) {
    if (ready) error = ErrorText(db.lastError());
    db.rollback();
    return false;
  }
  open_ = true;
  return true;
}

bool RegisterStore::Send(const std::vector<Event>& events, QString& error) {
  QSqlDatabase db = QSqlDatabase::database(connection_, false);
  if (!open_ || !db.transaction()) {
    error = open_ ? ErrorText(db.lastError()) : QString("not connected");
    return false;
  }
  QSqlQuery query(db);
  query.prepare(InsertEventSql("ON CONFLICT (id) DO NOTHING"));
  for (const Event& event : events) {
    BindEvent(query, event);
    if (!query.exec()) {
      error = ErrorText(query.lastError());
      db.rollback();
      return false;
    }
  }
  if (!db.commit()) {
    error = ErrorText(db.lastError());
    db.rollback();
    return false;
  }
  return true;
}

bool RegisterStore::ReadAll(const std::function<bool(const Event&)>& each, QString& error) {
  QSqlQuery query(QSqlDatabase::database(connection_, false));
  query.setForwardOnly(true);
  if (!open_ || !query.exec("SELECT " + EventColumns() + " FROM events ORDER BY time_utc")) {
    error = open_ ? ErrorText(query.lastError()) : QString("not connected");
    return false;
  }
  while (query.next()) {
    if (const auto event = EventFromRow(query); event && !each(*event)) return false;
  }
  if (query.lastError().isValid()) {
    error = ErrorText(query.lastError());
    return false;
  }
  return true;
}

long long RegisterStore::Count() const {
  QSqlQuery query(QSqlDatabase::database(connection_, false));
  if (!open_ || !query.exec("SELECT COUNT(*) FROM events") || !query.next()) return -1;
  return query.value(0).toLongLong();
}

}  // namespace zorv::history
