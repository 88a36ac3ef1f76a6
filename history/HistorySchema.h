#pragma once
// The tables of the history and the steps that bring a store of any older version up to date.
// The local file (SQLite) and the shared register (PostgreSQL) hold the same tables.
#include <QSqlDatabase>
#include <QString>

namespace zorv::history {

// The version this tool writes. Each version the tool has shipped keeps its migration step.
// 1: events. 2: the events waiting to be sent to the shared register. 3: the repaired image
// beside the bytes as received, the flash CRC-32, the image's own product, and the events the
// register refused (set aside, with the reason).
inline constexpr int kSchemaVersion = 3;

// True for a PostgreSQL connection (the register), false for the SQLite file.
bool IsRegister(const QSqlDatabase& db);

// The script an administrator runs once on the register (packaging/register-setup.sql): the
// owner and laptop roles, the tables of this version, and the laptops' rights (add and read only).
QString RegisterSetupSql();

// The version a store holds: 0 for a new, empty one; -1 when it holds tables that are not a
// history (then `error` says so).
int ReadSchemaVersion(QSqlDatabase& db, QString& error);

// True when every table of this tool the store holds has exactly this tool's columns at
// `version`; else `error` names the first that does not.
bool TablesAreOurs(QSqlDatabase& db, int version, QString& error);

// Runs the steps from `from` (0..kSchemaVersion-1) to kSchemaVersion and sets the version, inside
// a transaction the caller holds.
bool RunSteps(QSqlDatabase& db, int from, QString& error);

// Brings a store of `from` to kSchemaVersion in one transaction.
bool Migrate(QSqlDatabase& db, int from, QString& error);

}  // namespace zorv::history
