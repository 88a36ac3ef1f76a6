#pragma once
// Reads what the history window lists from the shared register off the window's thread, into a
// copy the window then lists. A window closed while the register is still being reached does not wait
// for it: the reading goes on by itself, its result is dropped, and the thread is joined when
// the application ends.
#include <QObject>
#include <QTemporaryDir>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include "history/RegisterAddress.h"
#include "history/RegisterSnapshot.h"

namespace zorv {

class RegisterReader {
 public:
  // `done` runs on `context`'s thread with the result and the copy's file (in `folder`, which
  // the caller keeps while it reads the file), unless `context` is gone by then: once with the
  // register's first rows (not yet complete), then with the whole result.
  using Done = std::function<void(const history::Snapshot& snapshot,
                                  std::shared_ptr<QTemporaryDir> folder, const QString& file)>;

  RegisterReader(const QString& localFile, const history::RegisterAddress& shared,
                 const history::Filter& filter, QObject* context, Done done);
  ~RegisterReader();
  RegisterReader(const RegisterReader&) = delete;
  RegisterReader& operator=(const RegisterReader&) = delete;

 private:
  std::shared_ptr<std::atomic<bool>> cancel_;
  std::thread thread_;
};

}  // namespace zorv
