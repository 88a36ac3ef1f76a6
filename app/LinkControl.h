#pragma once
// What the window uses of a running link: its command mailbox, its state, clearing the
// progress. Production runs a LinkThread behind it; window tests use a recording fake.
#include <cstdint>
#include <functional>
#include <memory>

#include "link/LinkState.h"

namespace zorv {

class LinkControl {
 public:
  virtual ~LinkControl() = default;  // stops the link and waits for its end

  // Kept only while the link takes it (connected and idle, or an upgrade while held in the
  // boot loader); dropped otherwise.
  virtual void SetCommand(std::uint8_t command, std::uint8_t argument) = 0;
  virtual LinkState State() const = 0;
  virtual void ClearProgress() = 0;
  virtual int PortNumber() const = 0;
  // Tag of the notices this link posts; 0 when it does not tag them.
  virtual std::uint64_t NoticeSource() const { return 0; }
};

// Starts a new link on the port.
using LinkFactory = std::function<std::unique_ptr<LinkControl>(int port)>;

}  // namespace zorv
