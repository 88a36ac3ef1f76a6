#pragma once
// A window's link on the in-process simulator: as the production link (tagged events, the held
// store beside the history), but on the simulator's clock and through its serial-device seam.
#include <atomic>
#include <cstdint>

#include "app/LinkControl.h"
#include "app/LinkNotice.h"
#include "link/HeldStore.h"
#include "link/LinkThread.h"
#include "tests/e2e/TestController.h"

namespace zorv::test {

class InProcessLink final : public LinkControl {
 public:
  InProcessLink(SharedSim& sim, int port)
      : source_(nextSource_.fetch_add(1)),
        events_(source_),
        held_(HeldStore::DefaultFile()),
        thread_(events_, port, &held_, sim.LinkClock(), sim) {}

  bool Submit(LinkJob job) override { return thread_.Submit(std::move(job)); }
  LinkState State() const override { return thread_.State(); }
  int PortNumber() const override { return thread_.PortNumber(); }
  std::uint64_t NoticeSource() const override { return source_; }

 private:
  // Apart from the production links' numbers, which start at 1.
  static inline std::atomic<std::uint64_t> nextSource_{1ull << 40};
  std::uint64_t source_;
  PostedLinkEvents events_;
  HeldStore held_;
  LinkThread thread_;
};

}  // namespace zorv::test
