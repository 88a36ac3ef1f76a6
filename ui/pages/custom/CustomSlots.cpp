#include "CustomSlots.h"

#include "image/Catalogue.h"

namespace zorv {

QStringList AxisItems() {
  QStringList items;
  for (const std::string& item : CustomAxisItems()) items << QString::fromStdString(item);
  return items;
}

}  // namespace zorv
