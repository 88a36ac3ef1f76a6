#include "SettingsImage.h"

namespace zorv {

Layout SelectLayout(std::uint8_t productCode, const SettingsImage& image) {
  if (productCode == product::kHalverston) return Layout::Halverston;
  if (productCode == product::kQuirn) return Layout::Quirn;
  if (productCode == product::kTarnovex || image[kTarnovexMarkerOffset] == kTarnovexMarker) {
    return Layout::Tarnovex;
  }
  return Layout::Zorv;
}

}  // namespace zorv
