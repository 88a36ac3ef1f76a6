#pragma once
// The tables of the history and the steps that bring a file of any older version up to date.
#include <QSqlDatabase>
#include <QString>

namespace zorv::history {

// The version this tool writes. Each version the tool has shipped keeps its migration step.
inline constexpr int kSchemaVersion = 1;

// The version a file holds: 0 for a new, empty file; -1 when the file holds tables that are not
// a history (then `error` says so).
int ReadSchemaVersion(QSqlDatabase& db, QString& error);

// Brings a file of `from` (0..kSchemaVersion-1) to kSchemaVersion in one transaction.
bool Migrate(QSqlDatabase& db, int from, QString& error);

}  // namespace zorv::history
