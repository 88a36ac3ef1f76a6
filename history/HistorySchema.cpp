#include "history/HistorySchema.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace zorv::history {
namespace {

// Step n brings version n to n + 1.
const QStringList kSteps[kSchemaVersion] = {
    {
        "CREATE TABLE meta (key TEXT PRIMARY KEY, value TEXT NOT NULL)",
        "CREATE TABLE events ("
        " id TEXT PRIMARY KEY,"
        " time_utc TEXT NOT NULL,"  // ISO 8601 with milliseconds and Z: sorts as it reads
        " kind TEXT NOT NULL,"
        " product TEXT NOT NULL,"
        " link_text TEXT NOT NULL,"
        " chip_line TEXT NOT NULL,"
        " file_crc32 INTEGER,"
        " file_path TEXT NOT NULL,"
        " image BLOB NOT NULL,"
        " truck TEXT NOT NULL)",
        "CREATE INDEX events_by_time ON events (time_utc)",
        "CREATE INDEX events_by_truck ON events (truck, time_utc)",
        "INSERT INTO meta (key, value) VALUES ('schema_version', '0')",
    },
};

}  // namespace

int ReadSchemaVersion(QSqlDatabase& db, QString& error) {
  QSqlQuery tables(db);
  if (!tables.exec("SELECT name FROM sqlite_master WHERE type = 'table'")) {
    error = tables.lastError().text();
    return -1;
  }
  bool any = false;
  bool meta = false;
  while (tables.next()) {
    any = true;
    if (tables.value(0).toString() == "meta") meta = true;
  }
  if (!any) return 0;
  if (!meta) {
    error = "the file holds tables of another program";
    return -1;
  }
  QSqlQuery version(db);
  if (!version.exec("SELECT value FROM meta WHERE key = 'schema_version'") || !version.next()) {
    error = version.lastError().text().isEmpty() ? QString("the file names no schema version")
                                                  : version.lastError().text();
    return -1;
  }
  bool ok = false;
  const int value = version.value(0).toString().toInt(&ok);
  if (!ok || value < 1) {
    error = "the file names no schema version";
    return -1;
  }
  return value;
}

bool Migrate(QSqlDatabase& db, int from, QString& error) {
  if (!db.transaction()) {
    error = db.lastError().text();
    return false;
  }
  QSqlQuery query(db);
  for (int step = from; step < kSchemaVersion; ++step) {
    for (const QString& statement : kSteps[step]) {
      if (!query.exec(statement)) {
        error = query.lastError().text();
        db.rollback();
        return false;
      }
    }
  }
  query.prepare("UPDATE meta SET value = ? WHERE key = 'schema_version'");
  query.addBindValue(QString::number(kSchemaVersion));
  if (!query.exec() || !db.commit()) {
    error = query.lastError().text().isEmpty() ? db.lastError().text() : query.lastError().text();
    db.rollback();
    return false;
  }
  return true;
}

}  // namespace zorv::history
