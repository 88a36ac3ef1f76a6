#include "ModeItems.h"

namespace zorv::modeitems {

int ItemCount(std::string_view dropDown) {
  if (dropDown.starts_with("FourButton")) return kBasicModeCount;
  if (dropDown.starts_with("SlaveButton")) return kNoButtonModeCount;
  // SixButton0DropDown, EightButton0DropDown: the No Button slot.
  const std::size_t digit = dropDown.find_first_of("0123456789");
  if (digit != std::string_view::npos && dropDown[digit] == '0') return kNoButtonModeCount;
  return kColourModeCount;
}

std::string ItemText(std::string_view dropDown, int position) {
  if (position < 0 || position >= ItemCount(dropDown)) return {};
  return kModeItems[static_cast<std::size_t>(position)];
}

}  // namespace zorv::modeitems
