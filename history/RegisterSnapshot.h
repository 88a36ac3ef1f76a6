#pragma once
// What the history window lists when a register is set: the register's newest events that the
// window's filter lets through (filtered by the server, at most one list's worth) and this
// laptop's events the register does not hold, copied into a file of their own (the window then
// reads it as it reads the local file). Built off the window's thread; nothing in it grows with
// the register's size.
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>

#include "history/HistoryStore.h"
#include "history/RegisterAddress.h"

namespace zorv::history {

struct Snapshot {
  bool registerRead = false;
  // False while only the register's page is in the copy: the count, the trucks and products and
  // this laptop's events not in the register follow.
  bool complete = false;
  bool encrypted = false;     // the register's connection, as the server says
  long long fromRegister = 0; // the register's events the filter lets through
  long long listed = 0;       // of those, copied (the newest)
  long long waiting = 0;      // this laptop's events not in the register
  QStringList trucks;         // every truck and product the register holds
  QStringList products;
  QString error;              // why the register was not read
};

// Fills `snapshotFile` (new) from the register and `localFile`; `cancel` stops it early.
// `firstRows` is told as soon as the register's page is in the copy (the window lists it while
// the rest, which takes longer on a large register, is read).
Snapshot BuildSnapshot(const QString& localFile, const RegisterAddress& shared,
                       const Filter& filter, const QString& snapshotFile,
                       const std::atomic<bool>& cancel,
                       const std::function<void(const Snapshot&)>& firstRows = {});

}  // namespace zorv::history
