#pragma once
// What the history window lists when a register is set: the register's events and this laptop's
// events still waiting to be sent, copied into a file of their own (the window then reads it as
// it reads the local file). Built off the window's thread.
#include <QString>
#include <atomic>

#include "history/RegisterAddress.h"

namespace zorv::history {

struct Snapshot {
  bool registerRead = false;
  long long fromRegister = 0;
  long long waiting = 0;  // this laptop's events not yet in the register
  QString error;          // why the register was not read
};

// Fills `snapshotFile` (new) from the register and `localFile`; `cancel` stops it early.
Snapshot BuildSnapshot(const QString& localFile, const RegisterAddress& shared,
                       const QString& snapshotFile, const std::atomic<bool>& cancel);

}  // namespace zorv::history
