#pragma once
// One connection to the shared register (Qt's QPSQL), used on one thread: connecting within
// kConnectTimeoutS, bringing its tables up to date, sending events, reading them all back.
#include <QString>
#include <functional>
#include <vector>

#include "history/HistoryEvent.h"
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

  const RegisterAddress& Address() const { return address_; }

 private:
  RegisterAddress address_;
  QString connection_;
  bool open_ = false;
  bool answered_ = false;
};

}  // namespace zorv::history
