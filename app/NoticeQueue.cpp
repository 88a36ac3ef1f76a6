#include "app/NoticeQueue.h"

#include <utility>

namespace zorv {

void NoticeQueue::Deliver(const LinkEvent& event, std::uint64_t source) {
  const bool quiet = std::holds_alternative<StatusEvent>(event) ||
                     std::holds_alternative<ProgressEvent>(event) ||
                     std::holds_alternative<UnpluggedEvent>(event) ||
                     std::holds_alternative<RestartWantedEvent>(event);
  if (quiet) {
    handle_(event, source);
    return;
  }
  if (inNotice_) {
    pending_.push_back({event, source});
    return;
  }
  inNotice_ = true;
  handle_(event, source);
  while (!pending_.empty()) {
    const Pending next = std::move(pending_.front());
    pending_.pop_front();
    handle_(next.event, next.source);
  }
  inNotice_ = false;
}

}  // namespace zorv
