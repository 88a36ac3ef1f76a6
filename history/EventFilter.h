#pragma once
// What the history window lists: all of it, or one truck, product or kind, trucks whose label
// holds a text (case and spacing ignored), and a time range. The same rule as SQL for the local
// file and the register (so the server does the filtering) and in memory.
#include <QDateTime>
#include <QString>
#include <QVariantList>
#include <optional>
#include <utility>

#include "history/HistoryEvent.h"

namespace zorv::history {

struct Filter {
  Filter() = default;
  // The window's three boxes: callers written before the search and the dates keep their form.
  Filter(std::optional<QString> truckIs, std::optional<QString> productIs,
         std::optional<EventKind> kindIs)
      : truck(std::move(truckIs)), product(std::move(productIs)), kind(kindIs) {}

  std::optional<QString> truck;
  std::optional<QString> product;
  std::optional<EventKind> kind;
  QString truckSearch;               // "" for any truck
  std::optional<QDateTime> from;     // events at or after
  std::optional<QDateTime> before;   // events before
};

// A label as the search compares it: lower case, without spaces.
QString SearchKey(const QString& text);
// " WHERE ..." with `?` for each value (appended to `values` in order), or "".
QString FilterSql(const Filter& filter, QVariantList& values);
bool Passes(const Event& event, const Filter& filter);

}  // namespace zorv::history
