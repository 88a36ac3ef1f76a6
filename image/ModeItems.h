#pragma once
// The items of the button-mode drop-downs, and how many of them each drop-down offers: the
// window fills its drop-downs from here, the report without a window reads the same texts.
#include <array>
#include <string>
#include <string_view>

namespace zorv::modeitems {

// Four-button and always-live lists take the first 5, No Button and slave lists the first 6,
// colour-button lists all 8 (items 5..7 are codes 8..10).
inline constexpr int kBasicModeCount = 5, kNoButtonModeCount = 6, kColourModeCount = 8;
inline constexpr std::array<const char*, kColourModeCount> kModeItems = {
    "Inactive",       "Hoist (port A)", "Plow (port A)", "Wing (port B)",
    "Blade (port C)", "Custom",         "Remote Button", "Slave Hydraulics"};

// Items the drop-down of this objectName offers ("FourButton2DropDown": 5).
int ItemCount(std::string_view dropDown);

// The text the drop-down shows at item `position`; "" when it has no such item.
std::string ItemText(std::string_view dropDown, int position);

}  // namespace zorv::modeitems
