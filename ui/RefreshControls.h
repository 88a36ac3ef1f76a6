#pragma once
// The image-to-controls refresh: shows the whole settings image in the window and repairs the
// values it knows to be invalid. Not re-entered while it runs. Every control shows with its
// signals blocked, so it fires no handler and works on the image itself: what it writes there
// are the repairs.
#include <functional>
#include <vector>

#include "ui/PageHost.h"
#include "ui/RefreshSteps.h"

namespace zorv {

class Refresher {
 public:
  // `showProductPage` shows a page of ProductNotebook before its controls are set.
  Refresher(PageHost& host, std::function<void(int)> showProductPage);

  void AddZorvTarget(ZorvRefreshTarget* target);
  void SetProductPage(int page, ProductPageRefreshTarget* target);

  void RefreshControls(int flag);
  bool Running() const { return running_; }

 private:
  PageHost& host_;
  std::function<void(int)> showProductPage_;
  std::vector<ZorvRefreshTarget*> zorvTargets_;
  ProductPageRefreshTarget* productPages_[4] = {};
  bool running_ = false;
};

// Which page of ProductNotebook shows this image; the Tarnovex path also resets the product
// code to 0 and sets the marker in byte 33 of `local`.
int SelectProductPage(std::uint8_t& productCode, SettingsImage& local);

}  // namespace zorv
