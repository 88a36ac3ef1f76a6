#pragma once
// An event as one row of the events table, the same in the local file and in the register.
#include <QSqlQuery>
#include <QString>
#include <optional>

#include "history/HistoryEvent.h"

namespace zorv::history {

// The columns in the order BindEvent binds and EventFromRow reads them.
QString EventColumns();
// "INSERT INTO events (...) VALUES (?, ...)"; `tail` follows it ("ON CONFLICT ...").
QString InsertEventSql(const QString& tail = {});
// Binds the event's values to a query prepared with InsertEventSql.
void BindEvent(QSqlQuery& query, const Event& event);
// The event on the query's current row (selected with EventColumns); nullopt for an unknown kind.
std::optional<Event> EventFromRow(const QSqlQuery& query);

}  // namespace zorv::history
