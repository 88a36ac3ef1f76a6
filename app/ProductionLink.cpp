#include "app/ProductionLink.h"

#include <atomic>

#include "app/LinkNotice.h"
#include "link/HeldStore.h"
#include "link/LinkThread.h"

namespace zorv {
namespace {

std::atomic<std::uint64_t> nextSource{1};

class ProductionLink final : public LinkControl {
 public:
  explicit ProductionLink(int port)
      : source_(nextSource.fetch_add(1)),
        events_(source_),
        held_(HeldStore::DefaultFile()),
        thread_(events_, port, &held_) {}

  bool Submit(LinkJob job) override { return thread_.Submit(std::move(job)); }
  LinkState State() const override { return thread_.State(); }
  int PortNumber() const override { return thread_.PortNumber(); }
  std::uint64_t NoticeSource() const override { return source_; }

 private:
  std::uint64_t source_;
  PostedLinkEvents events_;
  HeldStore held_;
  LinkThread thread_;
};

}  // namespace

std::unique_ptr<LinkControl> StartProductionLink(int port) {
  return std::make_unique<ProductionLink>(port);
}

}  // namespace zorv
