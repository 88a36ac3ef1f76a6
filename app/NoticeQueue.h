#pragma once
// The link's events in the order they came, one box at a time: a box runs its own event loop,
// so what arrives meanwhile waits for it to close. The status never opens one: it is handled at
// once, so a long box does not freeze the strip. The link's own life goes on under a box too:
// an unplug is watched for and a restart made now, so the link comes back whatever box is open.
#include <cstdint>
#include <deque>
#include <functional>

#include "link/LinkJobs.h"

namespace zorv {

class NoticeQueue {
 public:
  using Handler = std::function<void(const LinkEvent& event, std::uint64_t source)>;
  explicit NoticeQueue(Handler handle) : handle_(std::move(handle)) {}

  void Deliver(const LinkEvent& event, std::uint64_t source);

 private:
  struct Pending {
    LinkEvent event;
    std::uint64_t source;
  };
  Handler handle_;
  bool inNotice_ = false;
  std::deque<Pending> pending_;
};

}  // namespace zorv
