#pragma once
// A truck's visits at a glance: the events of one truck on one day (the user's own day) are a
// visit. For each: the controller's image as found (the first download before the first upload)
// and as left (the last upload), and the named differences between them.
#include <QDate>
#include <QStringList>
#include <vector>

#include "history/HistoryEvent.h"

namespace zorv::history {

struct Visit {
  QString truck;
  QDate day;
  std::vector<Event> events;  // oldest first

  // The image before the first change; null when no download came before the first upload.
  const Event* Before() const;
  // The image after the last upload; null when nothing was uploaded.
  const Event* After() const;
  // The named differences from Before() to After(), or one line saying why there are none.
  QStringList Differences() const;
};

// The events (in any order) grouped into visits, the newest visit first.
std::vector<Visit> GroupVisits(std::vector<Event> events);

// The named differences from `from`'s image to `to`'s, under the layout of `from`'s product.
QStringList NamedDifferences(const Event& from, const Event& to);

}  // namespace zorv::history
