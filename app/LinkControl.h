#pragma once
// What the window holds of a running link: the link's jobs and state (link/LinkJobs.h), its port
// and the tag its events carry. Production runs a LinkThread behind it; window tests use a
// recording fake.
#include <cstdint>
#include <functional>
#include <memory>

#include "link/LinkJobs.h"

namespace zorv {

class LinkControl : public LinkJobs {
 public:
  virtual int PortNumber() const = 0;
  // Tag of the events this link posts; 0 when it does not tag them.
  virtual std::uint64_t NoticeSource() const { return 0; }
};

// Starts a new link on the port.
using LinkFactory = std::function<std::unique_ptr<LinkControl>(int port)>;

}  // namespace zorv
