#include "ui/pages/global/OptionBoxes.h"

#include "ui/pages/global/PageControls.h"

namespace zorv {

std::vector<QCheckBox*> MakeOptionBoxes(const std::vector<const Setting*>& rows, QWidget* parent) {
  std::vector<QCheckBox*> boxes;
  for (const Setting* row : rows) {
    boxes.push_back(MakeCheckBox(row->controls.front().c_str(),
                                 QString::fromStdString(row->caption), parent));
  }
  return boxes;
}

}  // namespace zorv
