// The text of the "Zorv Help" window. One entry per paragraph or step; the memo wraps them.
#include <QStringList>

#include "ui/pages/custom/THelpForm.h"

namespace zorv {

QString CustomHelpText() {
  static const char* const kParagraphs[] = {
      "HOW CUSTOM CONFIGURATION WORKS:",
      "",
      "A custom configuration decides what the truck does when the joystick is moved in a "
      "given direction: forward and back, left and right, and the clockwise or "
      "counter-clockwise twist of the handle.",
      "",
      "Each Zorv has 16 valve outputs that are broken up into 8 groups of 2.",
      "A group drives one hydraulic ram both ways, in and out. On the custom screen any of "
      "these groups can be placed on any axis of the joystick. The groups are:",
      "   HOIST (up / down)",
      "   PLOW (left / right)",
      "   PLOW (up / down)",
      "   WING HEEL (up / down)",
      "   WING TOE (up / down)",
      "   WING SLIDE (in / out)",
      "   BLADE (left / right)",
      "   BLADE (up / down)",
      "An axis set to \"Inactive\" does nothing while that button is held.",
      "",
      "The Zorv also has 12 switch groups. Through them it can work up to 24 switches of a "
      "Corvalder switch controller on the bus. To turn a switch on, push the joystick all the "
      "way (+ or -) along the axis that carries the switch group and let it return to the "
      "centre. Doing the same again turns the switch off. What the switch then does (on/off, "
      "momentary, delay on) is set up in the Corvalder itself.",
      "",
      "SETTING UP A CUSTOM CONFIGURATION:",
      "",
      "1. Decide which button you want to use and which outputs or switches it should work. "
      "One button can work up to 3 groups, one on each axis.",
      "2. In that button's box, pick a valve group or a switch group for the X, Y and Z axis "
      "from the pull-down lists.",
      "3. Tick \"Activate Custom Mode\" in the same box.",
      "4. If an axis carries a switch group, press \"Switch Group Setup\". Enter the switch "
      "numbers for full plus and full minus travel and the bus address (Target ID) of the "
      "Corvalder unit, then press \"Close\".",
      "5. Send the settings to the controller with \"Send Cal\".",
      "",
      "EXAMPLE CONFIGURATION:",
      "",
      "The blue button is to work the wing heel, the wing toe and the plow.",
      "1. In the Blue Button Mode box, set X to \"WING HEEL (up / down)\": moving the stick "
      "left and right now raises and lowers the wing heel.",
      "2. Set Y to \"WING TOE (up / down)\": moving the stick forward and back now raises and "
      "lowers the wing toe.",
      "3. Set Z to \"PLOW (up / down)\": twisting the stick clockwise or counter-clockwise now "
      "raises and lowers the plow.",
      "4. Tick \"Activate Custom Mode\" in the Blue Button Mode box and press \"Send Cal\" to "
      "store the configuration in the Zorv box.",
      "",
      "While the blue button is held, the three axes do what was chosen above; the other "
      "buttons keep their own settings.",
  };
  QStringList paragraphs;
  for (const char* paragraph : kParagraphs) paragraphs << QString::fromLatin1(paragraph);
  return paragraphs.join('\n');
}

}  // namespace zorv
