#include "JoystickLists.h"

namespace zorv::joysticklists {

bool IsButtonPage(int page) {
  return page == page::kFourButton || page == page::kSixButton || page == page::kEightButton ||
         page == page::kSlaveMode;
}

}  // namespace zorv::joysticklists
