#include "history/HistorySchema.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace zorv::history {
namespace {

// Step n brings version n to n + 1.
const QStringList kSteps[kSchemaVersion] = {
    {
        // IF NOT EXISTS: of two programs starting on a new file, the second finds them made.
        "CREATE TABLE IF NOT EXISTS meta (key TEXT PRIMARY KEY, value TEXT NOT NULL)",
        "CREATE TABLE IF NOT EXISTS events ("
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
        "CREATE INDEX IF NOT EXISTS events_by_time ON events (time_utc)",
        "CREATE INDEX IF NOT EXISTS events_by_truck ON events (truck, time_utc)",
        "INSERT INTO meta (key, value) VALUES ('schema_version', '0') ON CONFLICT DO NOTHING",
    },
    {
        // An event recorded here and not yet committed by the register; the row goes once the
        // register has it (so a crash in between sends it again, and the register ignores it).
        "CREATE TABLE IF NOT EXISTS unsent (id TEXT PRIMARY KEY)",
    },
    {
        // NULL where the refresh changed nothing (or for kinds that have no repairs).
        "ALTER TABLE events ADD COLUMN repaired_image BLOB",
        "ALTER TABLE events ADD COLUMN flash_crc32 INTEGER",
        "ALTER TABLE events ADD COLUMN image_product TEXT NOT NULL DEFAULT ''",
        // An event the register refused on its own: kept here, listed with the reason, and no
        // longer in the way of the events behind it.
        "CREATE TABLE IF NOT EXISTS set_aside (id TEXT PRIMARY KEY, reason TEXT NOT NULL,"
        " time_utc TEXT NOT NULL)",
    },
};

// The register's types where SQLite's names mean something else there: a 32-bit INTEGER
// cannot hold every CRC-32, and PostgreSQL has no BLOB.
QString ForRegister(QString statement) {
  static const QRegularExpression integer("\\bINTEGER\\b");
  static const QRegularExpression blob("\\bBLOB\\b");
  // IF NOT EXISTS: the administrator's setup script may run on a register of any version.
  return statement.replace(integer, "BIGINT")
      .replace(blob, "BYTEA")
      .replace("ADD COLUMN ", "ADD COLUMN IF NOT EXISTS ");
}



// This tool's tables and their columns at version `version` (a table appears in the list from
// the version that adds it).
struct TableColumns {
  const char* table;
  int since;
  QStringList columns;
};

const TableColumns kTables[] = {
    {"meta", 1, {"key", "value"}},
    {"events", 1, {"id", "time_utc", "kind", "product", "link_text", "chip_line", "file_crc32",
                   "file_path", "image", "truck"}},
    {"unsent", 2, {"id"}},
    {"set_aside", 3, {"id", "reason", "time_utc"}},
};
const QStringList kColumnsOfThree = {"repaired_image", "flash_crc32", "image_product"};

QStringList ColumnsOf(QSqlDatabase& db, const QString& table) {
  QSqlQuery query(db);
  if (IsRegister(db)) {
    // The catalogue, not information_schema: a table of another role is seen even without rights.
    query.prepare("SELECT attname FROM pg_attribute WHERE attrelid = to_regclass(?)"
                  " AND attnum > 0 AND NOT attisdropped");
    query.addBindValue(table);
    query.exec();
  } else {
    query.exec("PRAGMA table_info(" + table + ")");
  }
  const int name = IsRegister(db) ? 0 : 1;
  QStringList columns;
  while (query.next()) columns << query.value(name).toString();
  return columns;
}

}  // namespace

bool TablesAreOurs(QSqlDatabase& db, int version, QString& error) {
  for (const TableColumns& t : kTables) {
    QStringList expected = t.columns;
    if (QString(t.table) == "events" && version >= 3) expected << kColumnsOfThree;
    QStringList found = ColumnsOf(db, t.table);
    if (found.isEmpty() && version < t.since) continue;
    found.sort();
    expected.sort();
    if (found != expected) {
      error = QString("the table %1 is not ZorvTrim's (its columns are %2)")
                  .arg(t.table, found.isEmpty() ? QString("missing") : found.join(", "));
      return false;
    }
  }
  return true;
}

bool IsRegister(const QSqlDatabase& db) { return db.driverName() == "QPSQL"; }

QString RegisterSetupSql() {
  QStringList tableSteps;
  for (const QStringList& step : kSteps) {
    for (const QString& statement : step) tableSteps << ForRegister(statement) + ";";
  }
  return QString(R"(-- ZorvTrim's shared history register: roles and tables.
-- Run once as a PostgreSQL superuser, connected to the register's database, and again after
-- each ZorvTrim update that says "The register needs an update":
--   psql -h HOST -U postgres -d zorvtrim -f register-setup.sql
-- zorvtrim_owner owns the tables (only this script changes them); zorvtrim_laptop may only add
-- events and read them. Give each laptop a login of its own in that role:
--   CREATE ROLE laptop_unit1 LOGIN PASSWORD '...' IN ROLE zorvtrim_laptop;
\set ON_ERROR_STOP on
BEGIN;
DO $$ BEGIN
  IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'zorvtrim_owner') THEN
    CREATE ROLE zorvtrim_owner NOLOGIN;
  END IF;
  IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'zorvtrim_laptop') THEN
    CREATE ROLE zorvtrim_laptop NOLOGIN;
  END IF;
END $$;
REVOKE CREATE ON SCHEMA public FROM PUBLIC;
GRANT USAGE, CREATE ON SCHEMA public TO zorvtrim_owner;
GRANT USAGE ON SCHEMA public TO zorvtrim_laptop;
-- Tables a laptop created before these roles existed pass to the owner.
DO $$ DECLARE t text; BEGIN
  FOREACH t IN ARRAY ARRAY['meta', 'events', 'unsent', 'set_aside'] LOOP
    IF to_regclass(t) IS NOT NULL THEN
      EXECUTE format('ALTER TABLE %I OWNER TO zorvtrim_owner', t);
    END IF;
  END LOOP;
END $$;
SET ROLE zorvtrim_owner;
%1
UPDATE meta SET value = '%2' WHERE key = 'schema_version';
REVOKE ALL ON meta, events, unsent, set_aside FROM PUBLIC;
GRANT SELECT ON meta, unsent, set_aside TO zorvtrim_laptop;
GRANT SELECT, INSERT ON events TO zorvtrim_laptop;
RESET ROLE;
COMMIT;
)")
      .arg(tableSteps.join('\n'), QString::number(kSchemaVersion));
}

int ReadSchemaVersion(QSqlDatabase& db, QString& error) {
  QSqlQuery tables(db);
  if (!tables.exec(IsRegister(db) ? "SELECT tablename FROM pg_tables"
                                    " WHERE schemaname = current_schema()"
                                  : "SELECT name FROM sqlite_master WHERE type = 'table'")) {
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
  // A table of the same name made by another program is never written to.
  if (value <= kSchemaVersion && !TablesAreOurs(db, value, error)) return -1;
  return value;
}

bool RunSteps(QSqlDatabase& db, int from, QString& error) {
  QSqlQuery query(db);
  for (int step = from; step < kSchemaVersion; ++step) {
    for (const QString& statement : kSteps[step]) {
      if (!query.exec(IsRegister(db) ? ForRegister(statement) : statement)) {
        error = query.lastError().text();
        return false;
      }
    }
  }
  query.prepare("UPDATE meta SET value = ? WHERE key = 'schema_version'");
  query.addBindValue(QString::number(kSchemaVersion));
  if (!query.exec()) {
    error = query.lastError().text();
    return false;
  }
  return true;
}

bool Migrate(QSqlDatabase& db, int from, QString& error) {
  // Immediate: of two programs starting at once, one waits for the other's tables and then
  // reads the version again, instead of both creating them.
  QSqlQuery begin(db);
  const bool immediate = !IsRegister(db);
  if (immediate ? !begin.exec("BEGIN IMMEDIATE") : !db.transaction()) {
    error = immediate ? begin.lastError().text() : db.lastError().text();
    return false;
  }
  if (immediate) {
    from = ReadSchemaVersion(db, error);
    if (from < 0) {
      db.rollback();
      return false;
    }
  }
  if (from < kSchemaVersion && !RunSteps(db, from, error)) {
    db.rollback();
    return false;
  }
  if (!db.commit()) {
    error = db.lastError().text();
    db.rollback();
    return false;
  }
  return true;
}

}  // namespace zorv::history
