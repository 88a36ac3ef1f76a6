#include "app/ProductionLink.h"

#include <atomic>

#include "app/LinkNotice.h"
#include "app/ZorvForm.h"
#include "link/LinkThread.h"

namespace zorv {
namespace {

std::atomic<std::uint64_t> nextSource{1};

// Passes everything to the window's bridge and tags the notices.
class TaggingBridge final : public WindowBridge {
 public:
  TaggingBridge(TZorvForm& form, std::uint64_t source)
      : form_(form), window_(form.Bridge()), source_(source) {}

  void PostNotice(std::uint8_t code, std::uint8_t value) override {
    PostLinkNotice(code, value, source_);
  }
  void RefreshStatus(const StatusSnapshot& status) override { window_.RefreshStatus(status); }
  void ShowLinkError(const std::string& text) override { window_.ShowLinkError(text); }
  void ShowLinkInfo(const std::string& text) override { window_.ShowLinkInfo(text); }
  void LoadBufferFromImage(ImageBytes& buffer) override { window_.LoadBufferFromImage(buffer); }
  void StoreBufferToImage(const ImageBytes& buffer) override {
    window_.StoreBufferToImage(buffer);
    form_.NoteImageStored(source_);
  }
  std::string SelectFirmwareFile() override { return window_.SelectFirmwareFile(); }

 private:
  TZorvForm& form_;
  WindowBridge& window_;
  std::uint64_t source_;
};

class ProductionLink final : public LinkControl {
 public:
  ProductionLink(TZorvForm& form, int port)
      : source_(nextSource.fetch_add(1)),
        bridge_(form, source_),
        thread_(bridge_, &form, port, form.Flash(), form.ProductCodeCell()) {}

  void SetCommand(std::uint8_t command, std::uint8_t argument) override {
    thread_.SetCommand(command, argument);
  }
  std::uint8_t LinkState() const override { return thread_.LinkState(); }
  void ClearProgress() override { thread_.ClearProgress(); }
  int PortNumber() const override { return thread_.PortNumber(); }
  std::uint64_t NoticeSource() const override { return source_; }

 private:
  std::uint64_t source_;
  TaggingBridge bridge_;
  LinkThread thread_;  // last: stopped before the bridge it calls goes away
};

}  // namespace

std::unique_ptr<LinkControl> StartProductionLink(TZorvForm& form, int port) {
  return std::make_unique<ProductionLink>(form, port);
}

}  // namespace zorv
