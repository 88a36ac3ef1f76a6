#pragma once
// The item lists of the "Joysticks" tab and the codes each item stands for.
#include <array>
#include <cstdint>

#include "image/ModeItems.h"

namespace zorv::joysticklists {

// JoystickCombo items and JoystickNotebook pages (the type byte each item writes is the
// catalogue row's).
inline constexpr int kJoystickCount = 8;
inline constexpr std::array<const char*, kJoystickCount> kJoystickItems = {
    "4 Button HG", "6 Button HG", "8 Button HG", "2 HFX", "3 HFX", "Slave Mode", "Sevrik", "4 HFX"};
inline constexpr std::array<const char*, kJoystickCount> kPageCaptions = {
    "FourButton", "SixButton", "EightButton", "TwoStick",
    "ThreeStick", "SlaveMode", "Sevrik",      "4 HFX"};

namespace page {
inline constexpr int kFourButton = 0, kSixButton = 1, kEightButton = 2, kTwoStick = 3,
                     kThreeStick = 4, kSlaveMode = 5, kSevrik = 6, kFourStick = 7;
}  // namespace page

// Pages whose slots are edited with mode drop-downs.
bool IsButtonPage(int page);

// Mode drop-downs: their items and counts are shared with the report (image/ModeItems.h).
using modeitems::kBasicModeCount;
using modeitems::kColourModeCount;
using modeitems::kModeItems;
using modeitems::kNoButtonModeCount;

// Stick function drop-downs; the byte holds the item number.
inline constexpr std::array<const char*, 7> kThreeStickFunctions = {
    "None",          "Hoist (HYD A)", "Plow (HYD A)",      "Wing (HYD B)",
    "Blade (HYD C)", "Hook (HYD C)",  "Wing Slide (HYD B)"};
inline constexpr std::array<const char*, 7> kFourStickFunctions = {
    "None",          "Hoist (HYD A)", "Plow (HYD A)",      "Wing (HYD B)",
    "Blade (HYD C)", "Hook (HYD C)",  "Slide/Tilt (HYD B)"};

// Stick button drop-downs: items and the mode code each writes.
inline constexpr std::array<const char*, 3> kHoistButtonItems = {"None", "Safety",
                                                                 "Hoist Limit Override"};
inline constexpr std::array<std::uint8_t, 3> kHoistButtonCodes = {0, 5, 7};
inline constexpr std::array<const char*, 3> kPlowOptionItems = {"None", "Safety", "Pass Button"};
inline constexpr std::array<std::uint8_t, 3> kPlowOptionCodes = {0, 5, 12};
inline constexpr std::array<const char*, 4> kWingButtonItems = {
    "Disabled (Primary only)", "Safety (Primary)", "Primary / Button Secondary",
    "Toggle Primary/Secondary"};
inline constexpr std::array<std::uint8_t, 4> kWingButtonCodes = {0, 5, 6, 11};

// Item showing a stored code in one of the lists above; `fallback` when the code is not listed.
template <std::size_t N>
int ItemOfCode(const std::array<std::uint8_t, N>& codes, std::uint8_t code, int fallback = 0) {
  for (std::size_t i = 0; i < N; ++i) {
    if (codes[i] == code) return static_cast<int>(i);
  }
  return fallback;
}

// Two-stick variants.
struct TwoStickVariant {
  const char* text;
  std::uint8_t type;
  std::uint8_t redMode;    // byte 35
  std::uint8_t greenMode;  // byte 36
};
inline constexpr std::array<TwoStickVariant, 3> kTwoStickVariants = {{
    {"Stick 1: Plow (port A)               Stick 2:  Hoist (port A)", 21, 5, 0},
    {"Stick 1: Plow/Hoist (port A)      Stick 2:  Blade or Wing (port C)", 22, 0, 6},
    {"Stick 1: Plow (port A)               Stick 2: Hook (port C)", 25, 0, 0},
}};

// Three-stick variants.
inline constexpr std::array<const char*, 3> kThreeStickItems = {
    "Stick 1 : Plow        Stick 2 : Wing/Blade        Stick 3 : Hoist",
    "Stick 1 : Wing       Stick 2 : Plow/Blade         Stick 3 : Hoist",
    "****************************CUSTOM******************************"};
inline constexpr std::array<std::uint8_t, 3> kThreeStickTypes = {23, 24, 26};

inline constexpr const char* kStickNotes =
    "NOTES: 1.  Do not set multiple joysticks to the same function.  They will cancel each other "
    "out at run time.                 2.  Joystick mounting locations may not match the layout of "
    "setup screen. ";

}  // namespace zorv::joysticklists
