#pragma once
// The "Custom" tab under test.
#include "tests/ui/TabFixture.h"
#include "ui/pages/custom/CustomTab.h"

namespace zorv::test {

class CustomTabTest : public TabTest<CustomTab> {
 protected:
  // What the joystick tab does when the joystick type changes: the byte, then a refresh.
  void SetJoystickType(std::uint8_t type) {
    host.image[33] = type;
    host.RefreshControls(0);
  }
};

}  // namespace zorv::test
