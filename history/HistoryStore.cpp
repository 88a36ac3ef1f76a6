#include "history/HistoryStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <atomic>

#include "history/EventRow.h"
#include "history/HistorySchema.h"

namespace zorv::history {
namespace {

std::atomic<int> connectionCount{0};

// SQLite's primary result codes that matter here.
constexpr int kSqliteBusy = 5;
constexpr int kSqliteLocked = 6;
constexpr int kSqliteCorrupt = 11;
constexpr int kSqliteNotADatabase = 26;

}  // namespace

Fault FaultOf(const QSqlError& error) {
  if (!error.isValid()) return Fault::None;
  const int code = error.nativeErrorCode().toInt() & 0xFF;
  if (code == kSqliteBusy || code == kSqliteLocked) return Fault::Busy;
  if (code == kSqliteCorrupt || code == kSqliteNotADatabase) return Fault::Damaged;
  return Fault::Other;
}

HistoryStore::HistoryStore(QString file)
    : file_(std::move(file)),
      connection_("zorv-history-" + QString::number(++connectionCount)) {}

HistoryStore::~HistoryStore() { Close(); }

QSqlDatabase HistoryStore::Database() const { return QSqlDatabase::database(connection_, false); }

void HistoryStore::Close() {
  if (QSqlDatabase::contains(connection_)) {
    {
      QSqlDatabase db = QSqlDatabase::database(connection_, false);
      db.close();
    }
    QSqlDatabase::removeDatabase(connection_);
  }
  mode_ = StoreMode::Closed;
}

bool HistoryStore::OpenConnection(bool readOnly, QString& error) {
  Close();
  QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", connection_);
  db.setDatabaseName(file_);
  QString options = "QSQLITE_BUSY_TIMEOUT=" + QString::number(kBusyWaitMs);
  if (readOnly) options += ";QSQLITE_OPEN_READONLY";
  db.setConnectOptions(options);
  if (!db.open()) {
    error = db.lastError().text();
    return false;
  }
  return true;
}

QString HistoryStore::AsideName(const QString& file, const QDateTime& when) {
  const QFileInfo info(file);
  return info.dir().filePath(info.completeBaseName() + "-damaged-" +
                             when.toString("yyyyMMdd-HHmmss") + "." + info.suffix());
}

OpenResult HistoryStore::OpenForWriting() {
  const QFileInfo info(file_);
  if (!QDir().mkpath(info.absolutePath())) {
    return {StoreMode::Closed, Fault::Other, "cannot create the folder " + info.absolutePath(), {}};
  }
  OpenResult result = Prepare();
  if (result.fault != Fault::Damaged) return result;

  // Never deleted: moved aside, with its journal, so it can still be looked at.
  Close();
  const QString aside = AsideName(file_, QDateTime::currentDateTime());
  for (const char* suffix : {"-wal", "-shm"}) {
    if (QFile::exists(file_ + suffix)) QFile::rename(file_ + suffix, aside + suffix);
  }
  if (!QFile::rename(file_, aside)) {
    return {StoreMode::Closed, Fault::Damaged,
            "the history file is damaged and could not be moved aside", {}};
  }
  OpenResult fresh = Prepare();
  fresh.movedAside = aside;
  if (fresh.fault == Fault::None) {
    fresh.line = "History file was damaged: moved to " + QFileInfo(aside).fileName() +
                 ", a new one is started";
  }
  return fresh;
}

OpenResult HistoryStore::Prepare() {
  QString error;
  if (!OpenConnection(false, error)) return {StoreMode::Closed, Fault::Other, error, {}};
  QSqlDatabase db = Database();
  QSqlQuery query(db);
  if (!query.exec("PRAGMA journal_mode=WAL")) {
    const Fault fault = FaultOf(query.lastError());
    error = query.lastError().text();
    Close();
    return {StoreMode::Closed, fault, error, {}};
  }
  query.finish();
  const int version = ReadSchemaVersion(db, error);
  if (version < 0) {
    // Tables of another kind or no version: as good as damaged for the history.
    const Fault fault = FaultOf(db.lastError()) == Fault::Busy ? Fault::Busy : Fault::Damaged;
    Close();
    return {StoreMode::Closed, fault, error, {}};
  }
  if (version > kSchemaVersion) {
    if (!OpenConnection(true, error)) return {StoreMode::Closed, Fault::Other, error, {}};
    mode_ = StoreMode::ReadOnly;
    return {StoreMode::ReadOnly, Fault::None,
            "History file is from a newer ZorvTrim (schema " + QString::number(version) +
                "): read only, nothing is recorded",
            {}};
  }
  if (version < kSchemaVersion && !Migrate(db, version, error)) {
    Close();
    return {StoreMode::Closed, Fault::Other, error, {}};
  }
  mode_ = StoreMode::ReadWrite;
  return {StoreMode::ReadWrite, Fault::None, {}, {}};
}

OpenResult HistoryStore::OpenForReading() {
  if (!QFileInfo::exists(file_)) return {StoreMode::Closed, Fault::None, {}, {}};
  QString error;
  if (!OpenConnection(true, error)) return {StoreMode::Closed, Fault::Other, error, {}};
  QSqlDatabase db = Database();
  const int version = ReadSchemaVersion(db, error);
  if (version < 1) {
    Close();
    return {StoreMode::Closed, Fault::Other, error, {}};
  }
  mode_ = StoreMode::ReadOnly;
  return {StoreMode::ReadOnly, Fault::None, {}, {}};
}

WriteResult HistoryStore::Insert(const Event& event, bool unsent) {
  return InsertAll({event}, unsent, false);
}

WriteResult HistoryStore::InsertAll(const std::vector<Event>& events, bool unsent,
                                    bool skipKnown) {
  if (mode_ != StoreMode::ReadWrite) return {Fault::Other, "the history is not open for writing"};
  QSqlDatabase db = Database();
  if (!db.transaction()) return {FaultOf(db.lastError()), db.lastError().text()};
  QSqlQuery query(db);
  QSqlQuery mark(db);
  query.prepare(skipKnown ? InsertEventSql().replace("INSERT INTO", "INSERT OR IGNORE INTO")
                          : InsertEventSql());
  mark.prepare("INSERT OR IGNORE INTO unsent (id) VALUES (?)");
  for (const Event& event : events) {
    BindEvent(query, event);
    bool ok = query.exec();
    QSqlError error = query.lastError();
    if (ok && unsent) {
      mark.addBindValue(event.id);
      ok = mark.exec();
      error = mark.lastError();
    }
    if (!ok) {
      db.rollback();
      return {FaultOf(error), error.text()};
    }
  }
  if (!db.commit()) {
    const WriteResult failed{FaultOf(db.lastError()), db.lastError().text()};
    db.rollback();
    return failed;
  }
  return {};
}

std::vector<Event> HistoryStore::Unsent(int limit) const {
  std::vector<Event> events;
  QSqlQuery query(Database());
  query.prepare("SELECT " + EventColumns() +
                " FROM events WHERE id IN (SELECT id FROM unsent) ORDER BY time_utc LIMIT ?");
  query.addBindValue(limit);
  if (!query.exec()) return events;
  while (query.next()) {
    if (auto event = EventFromRow(query)) events.push_back(*event);
  }
  return events;
}

long long HistoryStore::UnsentCount() const {
  QSqlQuery query(Database());
  if (!query.exec("SELECT COUNT(*) FROM unsent") || !query.next()) return -1;
  return query.value(0).toLongLong();
}

WriteResult HistoryStore::MarkSent(const std::vector<QString>& ids) {
  QSqlDatabase db = Database();
  if (!db.transaction()) return {FaultOf(db.lastError()), db.lastError().text()};
  QSqlQuery query(db);
  query.prepare("DELETE FROM unsent WHERE id = ?");
  for (const QString& id : ids) {
    query.addBindValue(id);
    if (!query.exec()) {
      const WriteResult failed{FaultOf(query.lastError()), query.lastError().text()};
      db.rollback();
      return failed;
    }
  }
  if (!db.commit()) {
    const WriteResult failed{FaultOf(db.lastError()), db.lastError().text()};
    db.rollback();
    return failed;
  }
  return {};
}

std::optional<Event> HistoryStore::Load(const QString& id) const {
  QSqlQuery query(Database());
  query.prepare("SELECT " + EventColumns() + " FROM events WHERE id = ?");
  query.addBindValue(id);
  if (!query.exec() || !query.next()) return std::nullopt;
  return EventFromRow(query);
}

QString HistoryStore::ListSql(const Filter& filter) const {
  QStringList where;
  if (filter.truck) where << "truck = :truck";
  if (filter.product) where << "product = :product";
  if (filter.kind) where << "kind = :kind";
  return "SELECT id, time_utc, kind, truck, product, link_text, file_path FROM events" +
         (where.isEmpty() ? QString() : " WHERE " + where.join(" AND ")) +
         " ORDER BY time_utc DESC, rowid DESC";
}

QSqlQuery HistoryStore::ListQuery(const Filter& filter) const {
  QSqlQuery query(Database());
  query.setForwardOnly(false);
  query.prepare(ListSql(filter));
  if (filter.truck) query.bindValue(":truck", *filter.truck);
  if (filter.product) query.bindValue(":product", *filter.product);
  if (filter.kind) query.bindValue(":kind", KindKey(*filter.kind));
  query.exec();
  return query;
}

namespace {

QStringList Distinct(const QSqlDatabase& db, const char* column) {
  QStringList values;
  QSqlQuery query(db);
  if (query.exec(QString("SELECT DISTINCT %1 FROM events ORDER BY %1").arg(column))) {
    while (query.next()) values << query.value(0).toString();
  }
  return values;
}

}  // namespace

QStringList HistoryStore::Trucks() const { return Distinct(Database(), "truck"); }
QStringList HistoryStore::Products() const { return Distinct(Database(), "product"); }

long long HistoryStore::Count() const {
  QSqlQuery query(Database());
  if (!query.exec("SELECT COUNT(*) FROM events") || !query.next()) return -1;
  return query.value(0).toLongLong();
}

}  // namespace zorv::history
