#include "history/RegisterSnapshot.h"

#include <QSqlQuery>
#include <limits>
#include <vector>

#include "history/HistoryStore.h"
#include "history/RegisterStore.h"

namespace zorv::history {
namespace {

constexpr std::size_t kCopyBatch = 2000;

}  // namespace

Snapshot BuildSnapshot(const QString& localFile, const RegisterAddress& shared,
                       const QString& snapshotFile, const std::atomic<bool>& cancel) {
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
  std::vector<Event> batch;
  bool written = true;
  const bool read = source.ReadAll(
      [&](const Event& event) {
        batch.push_back(event);
        if (batch.size() >= kCopyBatch) {
          written = copy.InsertAll(batch, false, true).ok();
          batch.clear();
        }
        return written && !cancel.load();
      },
      result.error);
  if (read && written) written = copy.InsertAll(batch, false, true).ok();
  if (read && !written) result.error = "cannot write a copy of the register's events";
  result.registerRead = read && written;
  if (result.registerRead) result.fromRegister = source.Count();
  // Then every event of this laptop the register does not hold (still waiting, or recorded
  // before the register was set), marked as not in the register.
  HistoryStore local(localFile);
  if (result.registerRead && local.OpenForReading().mode != StoreMode::Closed) {
    const std::vector<Event> mine = local.All();
    const long long before = copy.Count();
    copy.InsertAll(mine, true, true);
    result.waiting = copy.Count() - before;
  }
  return result;
}

}  // namespace zorv::history
