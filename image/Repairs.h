#pragma once
// What the refresh repairs in an image before showing it: values no control can show become
// ones it can. Pure functions of the image; the pages apply them to the refresh's copy and then
// only show. Each names the part of a layout whose controls it serves.
#include "SettingsImage.h"

namespace zorv {

// Quirn: "Use Math Setup" other than 1 becomes 0.
void RepairQuirn(SettingsImage& image);

// Zorv "Global" options: an on/off byte other than 0 or 1 becomes 0 (SafeStick, stored
// inverted, then shows ticked); an automatic blade-up time above 10 becomes 0; a start-up delay
// above 80 becomes 1 (21..80 stay, outside the spin edit's range, as they always have).
void RepairZorvOptions(SettingsImage& image);

// Zorv "Float Modes": a float output beyond the 16 outputs becomes "None" (0); an on/off byte
// other than 0 or 1 becomes 0; a float delay outside 1..10 becomes 1.
void RepairZorvFloats(SettingsImage& image);

// Zorv "Joysticks" tab: a joystick type the drop-down does not know becomes "4 Button HG" (1).
void RepairJoystickType(SettingsImage& image);

// Zorv "4 HFX" page, with that joystick type only: a stick's safety byte (the red, green, blue
// and yellow button modes) other than "Safety" becomes 0.
void RepairFourStickSafeties(SettingsImage& image);

// Zorv "Axis Switch Setup": a switch number of 12 or more becomes "none" (200).
void RepairSwitchGroups(SettingsImage& image);

// Tarnovex "Global" options and stick safeties: an on/off byte other than 0 or 1 becomes 0.
void RepairTarnovexOptions(SettingsImage& image);

// Halverston: "Use Prox Sensors" other than 0 becomes 1.
void RepairHalverston(SettingsImage& image);

}  // namespace zorv
