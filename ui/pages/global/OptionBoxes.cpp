#include "ui/pages/global/OptionBoxes.h"

#include "ui/pages/global/PageControls.h"

namespace zorv {

std::vector<OptionBox> MakeOptionBoxes(const std::vector<const Setting*>& rows, QWidget* parent) {
  std::vector<OptionBox> boxes;
  for (const Setting* row : rows) {
    boxes.push_back({MakeCheckBox(row->controls.front().c_str(),
                                  QString::fromStdString(row->caption), parent),
                     row});
  }
  return boxes;
}

void ShowOption(const OptionBox& option, SettingsImage& local) {
  std::uint8_t& byte = local[option.row->ranges.front().offset];
  switch (option.row->encoding) {
    case Encoding::InvertedOnOff:
      // The byte says "off" only when it holds 1.
      if (byte != 1) byte = 0;
      option.box->setChecked(byte != 1);
      break;
    case Encoding::OnOffNonZero:
      option.box->setChecked(byte != 0);
      break;
    default:
      ShowFlag(option.box, byte);
      break;
  }
}

void StoreOption(const OptionBox& option, SettingsImage& image) {
  const bool ticked = option.box->isChecked();
  const bool inverted = option.row->encoding == Encoding::InvertedOnOff;
  image[option.row->ranges.front().offset] = (ticked != inverted) ? 1 : 0;
}

}  // namespace zorv
