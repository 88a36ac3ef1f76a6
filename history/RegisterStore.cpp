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

QStringList Distinct(const QString& connection, bool open, const char* column) {
  QStringList values;
  QSqlQuery query(QSqlDatabase::database(connection, false));
  query.setForwardOnly(true);
  if (open && query.exec(QString("SELECT DISTINCT %1 FROM events ORDER BY %1").arg(column))) {
    while (query.next()) values << query.value(0).toString();
  }
  return values;
}

// Ids asked about in one statement.
constexpr std::size_t kIdsPerQuery = 500;

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
  return ReadEvents("SELECT " + EventColumns() + " FROM events ORDER BY time_utc", {}, each, error);
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

bool RegisterStore::ReadNewest(const Filter& filter, int limit,
                               const std::function<bool(const Event&)>& each, QString& error) {
  QVariantList values;
  const QString where = FilterSql(filter, values);
  return ReadEvents("SELECT " + EventColumns() + " FROM events" + where +
                        " ORDER BY time_utc DESC, id DESC LIMIT " + QString::number(limit),
                    values, each, error);
}

bool RegisterStore::ReadEvents(const QString& sql, const QVariantList& values,
                               const std::function<bool(const Event&)>& each, QString& error) {
  QSqlQuery query(QSqlDatabase::database(connection_, false));
  query.setForwardOnly(true);
  bool ran = open_ && query.prepare(sql);
  if (ran) {
    for (const QVariant& value : values) query.addBindValue(value);
    ran = query.exec();
  }
  if (!ran) {
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

long long RegisterStore::Count(const Filter& filter) const {
  QSqlQuery query(QSqlDatabase::database(connection_, false));
  QVariantList values;
  if (!open_ || !query.prepare("SELECT COUNT(*) FROM events" + FilterSql(filter, values))) return -1;
  for (const QVariant& value : values) query.addBindValue(value);
  if (!query.exec() || !query.next()) return -1;
  return query.value(0).toLongLong();
}

QStringList RegisterStore::Trucks() const { return Distinct(connection_, open_, "truck"); }
QStringList RegisterStore::Products() const { return Distinct(connection_, open_, "product"); }

std::optional<QSet<QString>> RegisterStore::Holding(const std::vector<QString>& ids, QString& error) const {
  QSet<QString> held;
  for (std::size_t start = 0; open_ && start < ids.size(); start += kIdsPerQuery) {
    const std::size_t end = std::min(ids.size(), start + kIdsPerQuery);
    QStringList marks;
    for (std::size_t i = start; i < end; ++i) marks << "?";
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.setForwardOnly(true);
    if (!query.prepare("SELECT id FROM events WHERE id IN (" + marks.join(", ") + ")")) {
      error = ErrorText(query.lastError());
      return std::nullopt;
    }
    for (std::size_t i = start; i < end; ++i) query.addBindValue(ids[i]);
    if (!query.exec()) {
      error = ErrorText(query.lastError());
      return std::nullopt;
    }
    while (query.next()) held.insert(query.value(0).toString());
  }
  if (!open_) {
    error = "not connected";
    return std::nullopt;
  }
  return held;
}

}  // namespace zorv::history
