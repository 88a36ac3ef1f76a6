#pragma once
// Sends the events waiting in the local file to the shared register, on a thread of its own, so
// that local writes never wait for the register (a name lookup or a connection that hangs).
// An event the register refuses on its own is set aside with the reason; marks that can never be
// sent are set aside too, so the events behind them always go.
#include <QString>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "history/RecorderLine.h"
#include "history/RegisterAddress.h"

namespace zorv::history {

inline constexpr const char* kRegisterUnreachable =
    "History register unreachable: recording on this laptop";

class RegisterSender {
 public:
  // Events sent to the register in one transaction.
  static constexpr int kSendBatch = 500;

  // Starts sending what waits in `file` (already open and up to date).
  RegisterSender(QString file, RegisterAddress address, int retryMs,
                 std::shared_ptr<RecorderLine> line);
  ~RegisterSender();
  RegisterSender(const RegisterSender&) = delete;
  RegisterSender& operator=(const RegisterSender&) = delete;

  // New events wait: send them now.
  void Wake();
  // Stops within `waitMs`; a thread still held by the register after that ends on its own.
  void Stop(int waitMs);

  struct State {
    QString file;
    RegisterAddress address;
    int retryMs = 0;
    std::shared_ptr<RecorderLine> line;
    std::mutex mutex;
    std::condition_variable wake;
    bool due = true;
    bool stop = false;
    bool ended = false;
  };

 private:
  std::shared_ptr<State> state_;
  std::thread thread_;
};

}  // namespace zorv::history
