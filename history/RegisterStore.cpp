#include "history/RegisterStore.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <atomic>

#include "history/EventRow.h"
#include "history/HistorySchema.h"
#include "history/HostLookup.h"

namespace zorv::history {
namespace {

std::atomic<int> connectionCount{0};

// Held while one laptop creates or migrates the tables, so two starting at once do not both.
constexpr const char* kSchemaLock = "SELECT pg_advisory_xact_lock(7301715)";

QString FirstLine(const QString& text);

QString ErrorText(const QSqlError& error) {
  // libpq's first line says what failed; the rest is advice about servers, not for the user.
  return FirstLine(error.databaseText().isEmpty() ? error.text() : error.databaseText());
}

QString FirstLine(const QString& text) {
  QString first = text.section('\n', 0, 0).trimmed();
  if (first.startsWith("ERROR:")) first = first.mid(6).trimmed();
  return first;
}

// The register's schema may only be changed by its owner: a laptop's role that may not says what
// the administrator has to do.
constexpr const char* kNeedsUpdate =
    "The register needs an update: ask your administrator to run register-setup.sql";

// libpq's own connection parameters, beside the host name (kept for the certificate check).
QString ConnectOptions(const RegisterAddress& address, const QString& hostAddress) {
  QStringList options{"connect_timeout=" + QString::number(kConnectTimeoutS),
                      "application_name=ZorvTrim", "hostaddr=" + hostAddress};
  if (address.requireEncryption) {
    options << "sslmode=verify-full";
    if (!address.caFile.isEmpty()) options << "sslrootcert=" + address.caFile;
  } else {
    options << "sslmode=prefer";
  }
  return options.join(';');
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
  answered_ = false;
  QSqlDatabase db = QSqlDatabase::addDatabase("QPSQL", connection_);
  if (!db.isValid()) {
    error = "the PostgreSQL driver of Qt is not installed (libqt6sql6-psql)";
    return false;
  }
  // The name is looked up with a limit of its own: libpq's lookup has none.
  const QString hostAddress = ResolveHost(address_.host.trimmed(), kResolveTimeoutMs, error);
  if (hostAddress.isEmpty()) return false;
  if (address_.requireEncryption && !address_.caFile.isEmpty() &&
      !QFileInfo(address_.caFile).isReadable()) {
    error = "the CA certificate file " + address_.caFile + " cannot be read";
    return false;
  }
  db.setHostName(address_.host.trimmed());
  db.setPort(address_.port);
  db.setDatabaseName(address_.database);
  if (!address_.user.isEmpty()) db.setUserName(address_.user);
  // No password given: libpq looks it up in PGPASSFILE or ~/.pgpass itself.
  db.setConnectOptions(ConnectOptions(address_, hostAddress));
  if (!db.open()) {
    error = ErrorText(db.lastError());
    // A server that turned this laptop away still answered.
    answered_ = error.contains("permission denied") || error.contains("authentication failed") ||
                error.contains("does not exist");
    return false;
  }
  answered_ = true;
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
    error = FirstLine(error);
    // Tables of an older version that this laptop's role may not change; a register with no
    // tables at all and no right to make them says "permission denied" as it is.
    if (!ready && version >= 1 &&
        (error.contains("must be owner", Qt::CaseInsensitive) ||
         error.contains("permission denied", Qt::CaseInsensitive))) {
      error = kNeedsUpdate;
    }
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

bool RegisterStore::Alive() const {
  QSqlQuery query(QSqlDatabase::database(connection_, false));
  return open_ && query.exec("SELECT 1") && query.next();
}

bool RegisterStore::Encrypted() const {
  QSqlQuery query(QSqlDatabase::database(connection_, false));
  return open_ && query.exec("SELECT ssl FROM pg_stat_ssl WHERE pid = pg_backend_pid()") &&
         query.next() && query.value(0).toBool();
}

long long RegisterStore::Count() const {
  QSqlQuery query(QSqlDatabase::database(connection_, false));
  if (!open_ || !query.exec("SELECT COUNT(*) FROM events") || !query.next()) return -1;
  return query.value(0).toLongLong();
}

}  // namespace zorv::history
