#include "app/ProductionLink.h"

#include <atomic>

#include "app/ZorvForm.h"
#include "link/LinkThread.h"

namespace zorv {
namespace {

std::atomic<std::uint64_t> nextSource{1};

class ProductionLink final : public LinkControl {
 public:
  ProductionLink(TZorvForm& form, int port)
      : source_(nextSource.fetch_add(1)),
        thread_(form.Bridge(), &form, port, form.Flash(), form.ProductCodeCell(), source_) {}

  void SetCommand(std::uint8_t command, std::uint8_t argument) override {
    thread_.SetCommand(command, argument);
  }
  LinkState State() const override { return thread_.State(); }
  void ClearProgress() override { thread_.ClearProgress(); }
  int PortNumber() const override { return thread_.PortNumber(); }
  std::uint64_t NoticeSource() const override { return source_; }

 private:
  std::uint64_t source_;
  LinkThread thread_;
};

}  // namespace

std::unique_ptr<LinkControl> StartProductionLink(TZorvForm& form, int port) {
  return std::make_unique<ProductionLink>(form, port);
}

}  // namespace zorv
