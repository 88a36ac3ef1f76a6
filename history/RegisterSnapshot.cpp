#include "history/RegisterSnapshot.h"

#include <QSqlQuery>
#include <vector>

#include "history/RegisterStore.h"

namespace zorv::history {
Snapshot BuildSnapshot(const QString& localFile, const RegisterAddress& shared,
                       const Filter& filter, const QString& snapshotFile,
                       const std::atomic<bool>& cancel,
                       const std::function<void(const Snapshot&)>& firstRows) {
  Snapshot result;
  HistoryStore copy(snapshotFile);
  if (copy.OpenForWriting().mode != StoreMode::ReadWrite) {
    result.error = "cannot write a copy of the register's events";
    return result;
  }
  // A scratch copy: nothing is lost if the machine stops while it is filled.
  QSqlQuery(copy.Database()).exec("PRAGMA synchronous=OFF");
  RegisterStore source(shared);
  if (!source.Open(result.error)) return result;
  result.encrypted = source.Encrypted();
  std::vector<Event> page;
  const bool read = source.ReadNewest(
      filter, HistoryStore::kListRows,
      [&](const Event& event) {
        page.push_back(event);
        return !cancel.load();
      },
      result.error);
  if (!read || cancel.load()) return result;
  if (!copy.InsertAll(page, false, true).ok()) {
    result.error = "cannot write a copy of the register's events";
    return result;
  }
  result.listed = static_cast<long long>(page.size());
  if (firstRows) {
    Snapshot first = result;
    first.registerRead = true;
    firstRows(first);
  }
  result.fromRegister = source.Count(filter);
  result.trucks = source.Trucks();
  result.products = source.Products();
  // Then every event of this laptop the register does not hold (still waiting, or recorded
  // before the register was set), marked as not in the register: the register is asked about
  // this laptop's ids, not read whole.
  HistoryStore local(localFile);
  if (local.OpenForReading().mode != StoreMode::Closed) {
    std::vector<Event> mine;
    for (Event& event : local.All()) {
      if (Passes(event, filter)) mine.push_back(std::move(event));
    }
    std::vector<QString> ids;
    for (const Event& event : mine) ids.push_back(event.id);
    const auto held = source.Holding(ids, result.error);
    if (!held) return result;
    std::vector<Event> missing;
    for (const Event& event : mine) {
      if (!held->contains(event.id)) missing.push_back(event);
    }
    if (!copy.InsertAll(missing, true, true).ok()) {
      result.error = "cannot write a copy of the register's events";
      return result;
    }
    result.waiting = static_cast<long long>(missing.size());
  }
  result.registerRead = true;
  result.complete = true;
  return result;
}

}  // namespace zorv::history
