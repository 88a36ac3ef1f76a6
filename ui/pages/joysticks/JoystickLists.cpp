#include "JoystickLists.h"

namespace zorv::joysticklists {

int ItemOfType(std::uint8_t type) {
  switch (type) {
    case 1:
      return page::kFourButton;
    case 2:
      return page::kSixButton;
    case 3:
      return page::kEightButton;
    case 21:
    case 22:
    case 25:
      return page::kTwoStick;
    case 23:
    case 24:
    case 26:
      return page::kThreeStick;
    case 19:
      return page::kSlaveMode;
    case 27:
      return page::kSevrik;
    case 28:
      return page::kFourStick;
    default:
      return -1;
  }
}

bool IsButtonPage(int page) {
  return page == page::kFourButton || page == page::kSixButton || page == page::kEightButton ||
         page == page::kSlaveMode;
}

}  // namespace zorv::joysticklists
