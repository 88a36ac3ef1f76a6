#pragma once
// The seven button slots of custom mode: where each keeps its mode and its three axis bytes,
// and how its group on the "Custom" tab is named and coloured.
#include <QColor>
#include <QStringList>
#include <array>
#include <cstddef>

#include "image/ZorvLayout.h"

namespace zorv {

struct CustomSlot {
  const char* prefix;   // object names: prefix + "CustomGroup", "XAxis", ..., "Custom"
  const char* caption;  // group caption
  std::size_t modeByte;
  std::size_t axesByte;  // X; Y and Z follow
  QRgb colour;           // caption colour while the group applies
  bool eightButtonOnly;  // usable only with the "8 Button HG" joystick
};

// In slot order, which is also the order in which the switch-group window reads the axes.
inline constexpr std::array<CustomSlot, 7> kCustomSlots = {{
    {"NoButton", "No Button Mode", zorvfield::NoButtonMode, zorvfield::NoButtonAxes, 0x000000,
     false},
    {"RedButton", "Red Button Mode", zorvfield::RedButtonMode, zorvfield::RedButtonAxes, 0xFF0000,
     false},
    {"GreenButton", "Green Button Mode", zorvfield::GreenButtonMode, zorvfield::GreenButtonAxes,
     0x008000, false},
    {"BlueButton", "Blue Button Mode", zorvfield::BlueButtonMode, zorvfield::BlueButtonAxes,
     0x000080, false},
    {"YellowButton", "Yellow Button Mode", zorvfield::YellowButtonMode, zorvfield::YellowButtonAxes,
     0x808000, false},
    {"OrangeButton", "Orange Button Mode", zorvfield::OrangeButtonMode, zorvfield::OrangeButtonAxes,
     0x800000, true},
    {"PurpleButton", "Purple Button Mode", zorvfield::PurpleButtonMode, zorvfield::PurpleButtonAxes,
     0x800080, true},
}};
inline constexpr std::size_t kNoButtonSlot = 0;
inline constexpr int kAxesPerSlot = 3;  // X, Y, Z
inline constexpr const char* kAxisNames[kAxesPerSlot] = {"X", "Y", "Z"};

// Axis function values: 0 inactive, 1..8 valve groups, 9..20 switch groups 1..12.
inline constexpr int kFirstSwitchAxis = 9;
inline constexpr int kLastSwitchAxis = 20;
inline constexpr int kSwitchGroups = 12;

// The 21 items of every axis drop-down; the item number is the stored value.
QStringList AxisItems();

}  // namespace zorv
