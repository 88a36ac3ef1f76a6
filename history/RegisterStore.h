#pragma once
// One connection to the shared register (Qt's QPSQL), used on one thread: connecting within
// kConnectTimeoutS, bringing its tables up to date, sending events, reading them all back.
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <functional>
#include <optional>
#include <vector>

#include "history/HistoryEvent.h"
#include "history/HistoryStore.h"
#include "history/RegisterAddress.h"

namespace zorv::history {

class RegisterStore {
 public:
  explicit RegisterStore(RegisterAddress address);
  ~RegisterStore();
  RegisterStore(const RegisterStore&) = delete;
  RegisterStore& operator=(const RegisterStore&) = delete;

  // Connects and creates or migrates the tables; false with what went wrong.
  bool Open(QString& error);
  bool IsOpen() const { return open_; }
  // Whether the last Open reached a server (then its error is the server's refusal).
  bool Answered() const { return answered_; }
  // Whether the connection still answers (after a statement failed).
  bool Alive() const;
  // Whether the open connection is encrypted, as the server says.
  bool Encrypted() const;
  void Close();

  // All of them in one transaction; an event the register already holds (same id) is left as
  // it is, so sending again after a lost answer is harmless.
  bool Send(const std::vector<Event>& events, QString& error);
  // Every event, oldest first; `each` returns false to stop early.
  bool ReadAll(const std::function<bool(const Event&)>& each, QString& error);
  long long Count() const;

  // What the history window lists, filtered by the server: the newest `limit` events the filter
  // lets through, newest first; how many it lets through; the trucks and products there are;
  // which of `ids` the register holds. Nothing here grows with the register's size on this side.
  bool ReadNewest(const Filter& filter, int limit, const std::function<bool(const Event&)>& each,
                  QString& error);
  long long Count(const Filter& filter) const;
  QStringList Trucks() const;
  QStringList Products() const;
  // nullopt (and why) when the register could not be asked.
  std::optional<QSet<QString>> Holding(const std::vector<QString>& ids, QString& error) const;

  const RegisterAddress& Address() const { return address_; }

 private:
  // Runs `sql` (selecting EventColumns) with `values` bound in order, each row to `each`.
  bool ReadEvents(const QString& sql, const QVariantList& values,
                  const std::function<bool(const Event&)>& each, QString& error);

  RegisterAddress address_;
  QString connection_;
  bool open_ = false;
  bool answered_ = false;
};

}  // namespace zorv::history
