#include "CustomSlots.h"

namespace zorv {

QStringList AxisItems() {
  QStringList items = {"Inactive",
                       "HOIST (up / down)",
                       "PLOW (left / right)",
                       "PLOW (up / down)",
                       "WING HEEL (up / down)",
                       "WING TOE (up / down)",
                       "WING SLIDE (in / out)",
                       "BLADE (left / right)",
                       "BLADE (up / down)"};
  for (int group = 1; group <= kSwitchGroups; ++group) {
    items << QStringLiteral("SWITCH GROUP %1").arg(group);
  }
  return items;
}

}  // namespace zorv
