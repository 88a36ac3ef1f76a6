#include "history/RegisterSender.h"

#include <chrono>
#include <vector>

#include "history/HistoryStore.h"
#include "history/RegisterStore.h"

namespace zorv::history {
namespace {

bool Stopping(RegisterSender::State& state) {
  std::lock_guard lock(state.mutex);
  return state.stop;
}

constexpr const char* kRecordingHere = ": recording on this laptop";

// What the user reads when the register could not be used: unreachable only when no server
// answered; a server that refused says why.
QString Unreached(const QString& error, bool answered) {
  if (error.startsWith("The register needs an update")) return error + kRecordingHere;
  if (error.contains("permission denied", Qt::CaseInsensitive) ||
      error.contains("authentication failed", Qt::CaseInsensitive)) {
    return "History register refused this laptop (" + error + ")" + kRecordingHere;
  }
  if (answered) return "History register not used (" + error + ")" + kRecordingHere;
  return kRegisterUnreachable;
}

// Marks that can never be sent leave the waiting list once, with the reason.
void SetAsideUnsendable(HistoryStore& store, RecorderLine& line) {
  const auto marks = store.Unsendable();
  int setAside = 0;
  for (const auto& [id, reason] : marks) {
    if (store.SetAside(id, reason).ok()) ++setAside;
  }
  if (setAside > 0) {
    line.Report("History: " + QString::number(setAside) +
                " waiting mark(s) that cannot be sent were set aside (" + marks.front().second +
                ")");
  }
}

// The batch failed as a whole on a live connection: one by one finds the event the register
// refuses on its own; the rest go. False when the connection went meanwhile.
bool SendOneByOne(const std::vector<Event>& batch, HistoryStore& store, RegisterStore& shared,
                  RecorderLine& line) {
  std::vector<QString> sent;
  int refused = 0;
  QString reason;
  for (const Event& event : batch) {
    QString error;
    if (shared.Send({event}, error)) {
      sent.push_back(event.id);
    } else if (shared.Alive()) {
      reason = error;
      if (store.SetAside(event.id, "The register refused it: " + error).ok()) ++refused;
    } else {
      store.MarkSent(sent);
      return false;
    }
  }
  store.MarkSent(sent);
  if (refused > 0) {
    line.Report("History register refused " + QString::number(refused) +
                " event(s), set aside (" + reason + ")");
  }
  return true;
}

// Sends what waits, in batches; false when the register could not take it now.
bool SendWaiting(RegisterSender::State& state, HistoryStore& store, RegisterStore& shared) {
  RecorderLine& line = *state.line;
  SetAsideUnsendable(store, line);
  QString error;
  bool reached = shared.IsOpen() || shared.Open(error);
  while (!Stopping(state)) {
    const long long waiting = store.UnsentCount();
    line.SetWaiting(waiting);
    if (!reached || waiting <= 0) break;
    const std::vector<Event> batch = store.Unsent(RegisterSender::kSendBatch);
    if (batch.empty()) break;  // only unsendable marks left: never spin on them
    if (shared.Send(batch, error)) {
      std::vector<QString> ids;
      ids.reserve(batch.size());
      for (const Event& event : batch) ids.push_back(event.id);
      // Only now that the register committed them; if this fails they are sent again, and the
      // register ignores ids it holds.
      if (!store.MarkSent(ids).ok()) break;
      continue;
    }
    // A connection the server dropped (a restart) is made anew once; a batch refused again on a
    // live connection holds an event the register will not take.
    reached = shared.Open(error);
    if (reached && !shared.Send(batch, error)) {
      reached = SendOneByOne(batch, store, shared, line);
    }
  }
  if (!reached) {
    shared.Close();
    line.Report(Unreached(error, shared.Answered()));
    return false;
  }
  // What said the register could not be used is over; a line about events set aside stays.
  line.Clear("", kRecordingHere);
  return store.UnsentCount() <= 0;
}

void Run(const std::shared_ptr<RegisterSender::State>& state) {
  {
    HistoryStore store(state->file);
    RegisterStore shared(state->address);
    if (store.OpenForWriting().mode == StoreMode::ReadWrite) {
      std::unique_lock lock(state->mutex);
      while (!state->stop) {
        const bool due = std::exchange(state->due, false);
        lock.unlock();
        const bool allSent = due ? SendWaiting(*state, store, shared) : true;
        lock.lock();
        if (state->stop || state->due) continue;
        if (allSent) {
          state->wake.wait(lock, [&] { return state->stop || state->due; });
        } else if (!state->wake.wait_for(lock, std::chrono::milliseconds(state->retryMs),
                                         [&] { return state->stop || state->due; })) {
          state->due = true;
        }
      }
    }
  }
  std::lock_guard lock(state->mutex);
  state->ended = true;
  state->wake.notify_all();
}

}  // namespace

RegisterSender::RegisterSender(QString file, RegisterAddress address, int retryMs,
                               std::shared_ptr<RecorderLine> line)
    : state_(std::make_shared<State>()) {
  state_->file = std::move(file);
  state_->address = std::move(address);
  state_->retryMs = retryMs;
  state_->line = std::move(line);
  thread_ = std::thread([state = state_] { Run(state); });
}

RegisterSender::~RegisterSender() { Stop(0); }

void RegisterSender::Wake() {
  {
    std::lock_guard lock(state_->mutex);
    state_->due = true;
  }
  state_->wake.notify_all();
}

void RegisterSender::Stop(int waitMs) {
  if (!thread_.joinable()) return;
  std::unique_lock lock(state_->mutex);
  state_->stop = true;
  state_->wake.notify_all();
  if (state_->wake.wait_for(lock, std::chrono::milliseconds(waitMs),
                            [this] { return state_->ended; })) {
    lock.unlock();
    thread_.join();
  } else {
    // Held in a connection or a name lookup that cannot be interrupted: it owns its state and
    // ends on its own; the user is told nothing more by it.
    lock.unlock();
    state_->line->Close();
    thread_.detach();
  }
}

}  // namespace zorv::history
