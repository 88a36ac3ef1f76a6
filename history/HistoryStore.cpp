#include "history/HistoryStore.h"

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSet>
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

// The log is cut back to this after a checkpoint, however large a long read let it grow.
constexpr int kLogLimitBytes = 4 * 1024 * 1024;

constexpr QFile::Permissions kUserOnlyFile = QFile::ReadOwner | QFile::WriteOwner;
constexpr QFile::Permissions kUserOnlyFolder = kUserOnlyFile | QFile::ExeOwner;

// Creates the folder (and its parents) readable by the user only: the images are the
// customer's settings. A folder that was there already keeps its rights. On Windows these
// rights set only the read-only flag; the per-user application data folder's access list,
// which what is made inside it inherits, already keeps other users out.
bool MakeFolder(const QString& path) {
  QStringList missing;
  for (QDir dir(path); !dir.exists(); dir.setPath(QFileInfo(dir.path()).path())) {
    missing.prepend(dir.path());
    if (dir.isRoot()) break;
  }
  for (const QString& folder : missing) {
    if (!QDir().mkdir(folder) && !QFileInfo(folder).isDir()) return false;
    QFile::setPermissions(folder, kUserOnlyFolder);
  }
  return true;
}

// SQLite gives its log files the rights of the database file, so this covers them too.
void MakeFileUsersOnly(const QString& file) {
  if (QFileInfo::exists(file)) return;
  QFile made(file);
  if (made.open(QIODevice::WriteOnly)) made.setPermissions(kUserOnlyFile);
}

}  // namespace

Fault FaultOf(const QSqlError& error) {
  if (!error.isValid()) return Fault::None;
  const int code = error.nativeErrorCode().toInt() & 0xFF;
  if (code == kSqliteBusy || code == kSqliteLocked) return Fault::Busy;
  if (code == kSqliteCorrupt || code == kSqliteNotADatabase) return Fault::Damaged;
  return Fault::Other;
}

namespace {

WriteResult Commit(QSqlDatabase& db) {
  if (!db.commit()) {
    const WriteResult failed{FaultOf(db.lastError()), db.lastError().text()};
    db.rollback();
    return failed;
  }
  return {};
}

}  // namespace

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
  if (!MakeFolder(info.absolutePath())) {
    return {StoreMode::Closed, Fault::Other, "cannot create the folder " + info.absolutePath(), {}};
  }
  MakeFileUsersOnly(file_);
  OpenResult result = Prepare();
  if (result.fault != Fault::Damaged) return result;
  return Recover();
}

QString HistoryStore::MoveAside() {
  // Never deleted: moved aside, with its log, so it can still be looked at.
  Close();
  const QString aside = AsideName(file_, QDateTime::currentDateTime());
  for (const char* suffix : {"-wal", "-shm"}) {
    if (QFile::exists(file_ + suffix)) QFile::rename(file_ + suffix, aside + suffix);
  }
  return QFile::rename(file_, aside) ? aside : QString();
}

namespace {

// Every event of the damaged file that can be read, with the ids still waiting: a scan from
// each end, so rows on both sides of a damaged page are kept.
void ReadWhatCan(const QString& file, std::vector<Event>& events, QStringList& waiting) {
  HistoryStore old(file);
  if (old.OpenForReading().mode == StoreMode::Closed) return;
  QSet<QString> seen;
  for (const char* order : {"ASC", "DESC"}) {
    QSqlQuery query(old.Database());
    query.setForwardOnly(true);
    if (!query.exec("SELECT " + EventColumns() + " FROM events ORDER BY rowid " + order)) continue;
    while (query.next()) {
      auto event = EventFromRow(query);
      if (!event || seen.contains(event->id)) continue;
      seen.insert(event->id);
      events.push_back(std::move(*event));
    }
  }
  QSqlQuery marks(old.Database());
  if (marks.exec("SELECT id FROM unsent")) {
    while (marks.next()) waiting << marks.value(0).toString();
  }
}

}  // namespace

OpenResult HistoryStore::Recover() {
  const QString aside = MoveAside();
  if (aside.isEmpty()) {
    return {StoreMode::Closed, Fault::Damaged,
            "the history file is damaged and could not be moved aside", {}};
  }
  std::vector<Event> readable;
  QStringList waiting;
  ReadWhatCan(aside, readable, waiting);
  MakeFileUsersOnly(file_);
  OpenResult fresh = Prepare();
  fresh.movedAside = aside;
  if (fresh.fault != Fault::None) return fresh;
  std::vector<Event> sent;
  std::vector<Event> unsent;
  for (Event& event : readable) (waiting.contains(event.id) ? unsent : sent).push_back(event);
  const bool copied = InsertAll(sent, false, true).ok() && InsertAll(unsent, true, true).ok();
  fresh.line = "History file was damaged: moved to " + QFileInfo(aside).fileName() +
               ", a new one is started" +
               (copied ? " with the " + QString::number(readable.size()) + " event(s) it could read"
                       : QString(" (its events could not be copied)"));
  return fresh;
}

bool HistoryStore::FindsDamage() {
  QSqlQuery query(Database());
  if (!query.exec("PRAGMA quick_check")) return FaultOf(query.lastError()) == Fault::Damaged;
  return query.next() && query.value(0).toString() != "ok";
}

void HistoryStore::Checkpoint() {
  if (mode_ == StoreMode::ReadWrite) {
    QSqlQuery(Database()).exec("PRAGMA wal_checkpoint(PASSIVE)");
    return;
  }
  // A read-only connection may not write the log back; a short one of its own may. It changes
  // no table and waits for no one (PASSIVE, no busy wait).
  if (mode_ != StoreMode::ReadOnly) return;
  const QString name = connection_ + "-checkpoint";
  {
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", name);
    db.setDatabaseName(file_);
    db.setConnectOptions("QSQLITE_BUSY_TIMEOUT=0");
    if (db.open()) QSqlQuery(db).exec("PRAGMA wal_checkpoint(PASSIVE)");
    db.close();
  }
  QSqlDatabase::removeDatabase(name);
}

OpenResult HistoryStore::Prepare() {
  QString error;
  if (!OpenConnection(false, error)) return {StoreMode::Closed, Fault::Other, error, {}};
  QSqlDatabase db = Database();
  QSqlQuery query(db);
  if (!query.exec("PRAGMA journal_mode=WAL") ||
      !query.exec("PRAGMA journal_size_limit=" + QString::number(kLogLimitBytes))) {
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
    // An event left as it was (already there) keeps its own mark.
    if (ok && unsent && (!skipKnown || query.numRowsAffected() > 0)) {
      mark.addBindValue(event.id);
      ok = mark.exec();
      error = mark.lastError();
    }
    if (!ok) {
      db.rollback();
      return {FaultOf(error), error.text()};
    }
  }
  return Commit(db);
}

int HistoryStore::MarkAllWaiting() {
  QSqlQuery query(Database());
  if (!query.exec("INSERT OR IGNORE INTO unsent (id) SELECT id FROM events"
                  " WHERE id NOT IN (SELECT id FROM set_aside)")) {
    return -1;
  }
  return query.numRowsAffected();
}

long long HistoryStore::NotWaitingCount() const {
  QSqlQuery query(Database());
  if (!query.exec("SELECT COUNT(*) FROM events WHERE id NOT IN (SELECT id FROM unsent)"
                  " AND id NOT IN (SELECT id FROM set_aside)") ||
      !query.next()) {
    return -1;
  }
  return query.value(0).toLongLong();
}

std::vector<std::pair<QString, QString>> HistoryStore::Unsendable() const {
  std::vector<std::pair<QString, QString>> marks;
  QSqlQuery query(Database());
  if (query.exec("SELECT unsent.id, events.kind FROM unsent LEFT JOIN events"
                 " ON events.id = unsent.id")) {
    while (query.next()) {
      if (query.value(1).isNull()) {
        marks.emplace_back(query.value(0).toString(), "the event is not in the history file");
      } else if (!KindFromKey(query.value(1).toString())) {
        marks.emplace_back(query.value(0).toString(),
                           "an event of a kind this version does not know (" +
                               query.value(1).toString() + ")");
      }
    }
  }
  return marks;
}

WriteResult HistoryStore::SetAside(const QString& id, const QString& reason) {
  QSqlDatabase db = Database();
  if (!db.transaction()) return {FaultOf(db.lastError()), db.lastError().text()};
  QSqlQuery keep(db);
  keep.prepare("INSERT INTO set_aside (id, reason, time_utc) VALUES (?, ?, ?)"
               " ON CONFLICT (id) DO UPDATE SET reason = excluded.reason");
  keep.addBindValue(id);
  keep.addBindValue(reason);
  keep.addBindValue(QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs));
  QSqlQuery drop(db);
  drop.prepare("DELETE FROM unsent WHERE id = ?");
  drop.addBindValue(id);
  if (!keep.exec() || !drop.exec()) {
    const QSqlError error = keep.lastError().isValid() ? keep.lastError() : drop.lastError();
    db.rollback();
    return {FaultOf(error), error.text()};
  }
  return Commit(db);
}

std::vector<std::pair<QString, QString>> HistoryStore::SetAsideList() const {
  std::vector<std::pair<QString, QString>> list;
  QSqlQuery query(Database());
  if (query.exec("SELECT id, reason FROM set_aside ORDER BY time_utc")) {
    while (query.next()) list.emplace_back(query.value(0).toString(), query.value(1).toString());
  }
  return list;
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
  return Commit(db);
}

std::vector<Event> HistoryStore::All() const {
  std::vector<Event> events;
  QSqlQuery query(Database());
  query.setForwardOnly(true);
  if (!query.exec("SELECT " + EventColumns() + " FROM events ORDER BY time_utc")) return events;
  while (query.next()) {
    if (auto event = EventFromRow(query)) events.push_back(std::move(*event));
  }
  return events;
}

std::vector<Event> HistoryStore::Events(const Filter& filter, int limit) const {
  std::vector<Event> events;
  QSqlQuery query(Database());
  query.setForwardOnly(true);
  QVariantList values;
  query.prepare("SELECT " + EventColumns() + " FROM events" + FilterSql(filter, values) +
                " ORDER BY time_utc DESC, rowid DESC LIMIT " + QString::number(limit));
  for (const QVariant& value : values) query.addBindValue(value);
  if (!query.exec()) return events;
  while (query.next()) {
    if (auto event = EventFromRow(query)) events.push_back(std::move(*event));
  }
  std::reverse(events.begin(), events.end());
  return events;
}

std::optional<Event> HistoryStore::Load(const QString& id) const {
  QSqlQuery query(Database());
  query.prepare("SELECT " + EventColumns() + " FROM events WHERE id = ?");
  query.addBindValue(id);
  if (!query.exec() || !query.next()) return std::nullopt;
  auto event = EventFromRow(query);
  // A file of an older version, read as it is, has no such table: nothing was set aside.
  QSqlQuery reason(Database());
  reason.prepare("SELECT reason FROM set_aside WHERE id = ?");
  reason.addBindValue(id);
  if (event && reason.exec() && reason.next()) event->setAsideReason = reason.value(0).toString();
  return event;
}

QString HistoryStore::ListSql(const Filter& filter) const {
  QVariantList values;
  // Where the event stands with the register: set aside (with the reason), or not in it yet.
  const QStringList tables = Database().tables();
  QString mark = "''";
  if (tables.contains("unsent")) {
    mark = "CASE WHEN id IN (SELECT id FROM unsent) THEN 'Not in the register' ELSE '' END";
  }
  if (tables.contains("set_aside")) {
    mark = "COALESCE((SELECT 'Set aside: ' || reason FROM set_aside WHERE set_aside.id = events.id), " +
           mark + ")";
  }
  return "SELECT id, time_utc, kind, truck, product, link_text, file_path, " + mark +
         " FROM events" + FilterSql(filter, values) + " ORDER BY time_utc DESC, rowid DESC LIMIT " +
         QString::number(kListRows);
}

QSqlQuery HistoryStore::ListQuery(const Filter& filter) const {
  QSqlQuery query(Database());
  query.setForwardOnly(false);
  query.prepare(ListSql(filter));
  QVariantList values;
  FilterSql(filter, values);
  for (const QVariant& value : values) query.addBindValue(value);
  query.exec();
  return query;
}

long long HistoryStore::Count(const Filter& filter) const {
  QSqlQuery query(Database());
  QVariantList values;
  query.prepare("SELECT COUNT(*) FROM events" + FilterSql(filter, values));
  for (const QVariant& value : values) query.addBindValue(value);
  if (!query.exec() || !query.next()) return -1;
  return query.value(0).toLongLong();
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
