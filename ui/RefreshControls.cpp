#include "RefreshControls.h"

#include <utility>

namespace zorv {

int SelectProductPage(std::uint8_t& productCode, SettingsImage& local) {
  switch (SelectLayout(productCode, local)) {
    case Layout::Halverston: return productpage::kHalverston;
    case Layout::Quirn: return productpage::kQuirn;
    case Layout::Tarnovex:
      productCode = product::kZorvPages;
      local[kTarnovexMarkerOffset] = kTarnovexMarker;
      return productpage::kTarnovex;
    case Layout::Zorv: break;
  }
  return productpage::kZorv;
}

Refresher::Refresher(PageHost& host, std::function<void(int)> showProductPage)
    : host_(host), showProductPage_(std::move(showProductPage)) {}

void Refresher::AddZorvTarget(ZorvRefreshTarget* target) { zorvTargets_.push_back(target); }

void Refresher::SetProductPage(int page, ProductPageRefreshTarget* target) {
  if (page >= 0 && page < 4) productPages_[page] = target;
}

void Refresher::RefreshControls(int /*flag: callers pass it, it changes nothing*/) {
  if (running_) return;
  running_ = true;
  // Showing stores nothing (every control shows with its signals blocked), so the refresh works
  // on the image itself and what it writes there are the repairs.
  SettingsImage& image = host_.Image();

  std::uint8_t productCode = host_.ProductCode();
  const int page = SelectProductPage(productCode, image);
  if (productCode != host_.ProductCode()) host_.SetProductCode(productCode);
  if (showProductPage_) showProductPage_(page);

  if (page == productpage::kZorv) {
    for (int step = kFirstZorvStep; step <= kLastZorvStep; ++step) {
      for (ZorvRefreshTarget* target : zorvTargets_) target->Refresh(static_cast<ZorvStep>(step), image);
    }
  } else if (productPages_[page] != nullptr) {
    productPages_[page]->Refresh(image);
  }
  running_ = false;
}

}  // namespace zorv
