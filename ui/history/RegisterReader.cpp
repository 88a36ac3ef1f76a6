#include "ui/history/RegisterReader.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QPointer>
#include <mutex>
#include <vector>

namespace zorv {
namespace {

std::mutex retiredMutex;
std::vector<std::thread> retired;

// Before Qt's own globals go (the SQL drivers among them).
void JoinRetired() {
  std::vector<std::thread> all;
  {
    std::lock_guard lock(retiredMutex);
    all.swap(retired);
  }
  for (std::thread& thread : all) thread.join();
}

void Retire(std::thread thread) {
  static const bool registered = (qAddPostRoutine(JoinRetired), true);
  (void)registered;
  std::lock_guard lock(retiredMutex);
  retired.push_back(std::move(thread));
}

}  // namespace

RegisterReader::RegisterReader(const QString& localFile, const history::RegisterAddress& shared,
                               const history::Filter& filter, QObject* context, Done done)
    : cancel_(std::make_shared<std::atomic<bool>>(false)) {
  auto folder = std::make_shared<QTemporaryDir>();
  QPointer<QObject> guard(context);
  thread_ = std::thread([localFile, shared, filter, folder, cancel = cancel_, guard, done] {
    const QString file = folder->filePath("register.sqlite");
    const auto hand = [&](const history::Snapshot& snapshot) {
      if (cancel->load()) return;
      QMetaObject::invokeMethod(
          QCoreApplication::instance(),
          [guard, done, snapshot, folder, file] {
            if (guard) done(snapshot, folder, file);
          },
          Qt::QueuedConnection);
    };
    history::Snapshot snapshot;
    if (folder->isValid()) {
      snapshot = history::BuildSnapshot(localFile, shared, filter, file, *cancel, hand);
    } else {
      snapshot.error = "cannot create a temporary folder";
    }
    hand(snapshot);
  });
}

RegisterReader::~RegisterReader() {
  cancel_->store(true);
  if (thread_.joinable()) Retire(std::move(thread_));
}

}  // namespace zorv
