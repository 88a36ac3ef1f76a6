#include "IDSpinChange.h"

#include <algorithm>

#include "image/ZorvLayout.h"
#include "ui/PageHost.h"

namespace zorv {

void IDSpinChange(PageHost& host, int value) {
  // A number typed past the range would otherwise wrap into another controller's ID.
  host.Image()[zorvfield::ControllerID] = static_cast<std::uint8_t>(std::clamp(value, 0, 255));
  host.RefreshControls(0);
}

}  // namespace zorv
