#include "history/HistoryStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <atomic>

#include "history/HistorySchema.h"

namespace zorv::history {
namespace {

std::atomic<int> connectionCount{0};

// SQLite's primary result codes that matter here.
constexpr int kSqliteBusy = 5;
constexpr int kSqliteLocked = 6;
constexpr int kSqliteCorrupt = 11;
constexpr int kSqliteNotADatabase = 26;

// An empty text is stored as "", never as NULL (the columns refuse NULL).
QString Text(const QString& text) { return text.isNull() ? QString("") : text; }

const char* kTimeFormat = "yyyy-MM-ddTHH:mm:ss.zzzZ";

QString Columns() {
  return "id, time_utc, kind, product, link_text, chip_line, file_crc32, file_path, image, truck";
}

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

WriteResult HistoryStore::Insert(const Event& event) {
  if (mode_ != StoreMode::ReadWrite) return {Fault::Other, "the history is not open for writing"};
  QSqlDatabase db = Database();
  if (!db.transaction()) return {FaultOf(db.lastError()), db.lastError().text()};
  QSqlQuery query(db);
  query.prepare("INSERT INTO events (" + Columns() + ") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
  query.addBindValue(event.id);
  query.addBindValue(event.timeUtc.toUTC().toString(kTimeFormat));
  query.addBindValue(KindKey(event.kind));
  query.addBindValue(Text(event.product));
  query.addBindValue(Text(event.linkText));
  query.addBindValue(Text(event.chipLine));
  query.addBindValue(event.crc ? QVariant(static_cast<qlonglong>(*event.crc))
                               : QVariant(QMetaType(QMetaType::LongLong)));
  query.addBindValue(Text(event.filePath));
  query.addBindValue(QByteArray(reinterpret_cast<const char*>(event.image.data()),
                                static_cast<qsizetype>(event.image.size())));
  query.addBindValue(Text(event.truck));
  if (!query.exec()) {
    const WriteResult failed{FaultOf(query.lastError()), query.lastError().text()};
    db.rollback();
    return failed;
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
  query.prepare("SELECT " + Columns() + " FROM events WHERE id = ?");
  query.addBindValue(id);
  if (!query.exec() || !query.next()) return std::nullopt;
  Event event;
  event.id = query.value(0).toString();
  event.timeUtc = QDateTime::fromString(query.value(1).toString(), Qt::ISODateWithMs);
  event.timeUtc.setTimeSpec(Qt::UTC);
  const auto kind = KindFromKey(query.value(2).toString());
  if (!kind) return std::nullopt;
  event.kind = *kind;
  event.product = query.value(3).toString();
  event.linkText = query.value(4).toString();
  event.chipLine = query.value(5).toString();
  if (!query.value(6).isNull()) event.crc = static_cast<std::uint32_t>(query.value(6).toLongLong());
  event.filePath = query.value(7).toString();
  const QByteArray image = query.value(8).toByteArray();
  for (qsizetype i = 0; i < image.size() && i < static_cast<qsizetype>(kImageSize); ++i) {
    event.image[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(image[i]);
  }
  event.truck = query.value(9).toString();
  return event;
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
