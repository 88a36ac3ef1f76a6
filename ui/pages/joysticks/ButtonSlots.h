#pragma once
// The seven button slots of a grip: where each keeps its mode and label, its default mode, and
// the controls that edit it on the button pages.
#include <array>
#include <cstddef>
#include <cstdint>

#include "image/ZorvLayout.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace zorv {

struct ButtonSlot {
  std::size_t modeByte;
  std::size_t labelOffset;
  std::uint8_t defaultMode;
};

inline constexpr int kSlotCount = 7;
namespace slot {
inline constexpr int kNoButton = 0, kRed = 1, kGreen = 2, kBlue = 3, kYellow = 4, kOrange = 5,
                     kPurple = 6;
}  // namespace slot

inline constexpr std::array<ButtonSlot, kSlotCount> kButtonSlots = {{
    {zorvfield::NoButtonMode, zorvfield::NoButtonLabel, mode::kInactive},
    {zorvfield::RedButtonMode, zorvfield::RedButtonLabel, mode::kHoist},
    {zorvfield::GreenButtonMode, zorvfield::GreenButtonLabel, mode::kPlow},
    {zorvfield::BlueButtonMode, zorvfield::BlueButtonLabel, mode::kWing},
    {zorvfield::YellowButtonMode, zorvfield::YellowButtonLabel, mode::kBlade},
    {zorvfield::OrangeButtonMode, zorvfield::OrangeButtonLabel, mode::kInactive},
    {zorvfield::PurpleButtonMode, zorvfield::PurpleButtonLabel, mode::kInactive},
}};

// The controls of one slot; a page without the slot leaves its pointer null.
struct SlotControls {
  QComboBox* four = nullptr;
  QComboBox* six = nullptr;
  QLineEdit* sixLabel = nullptr;
  QComboBox* eight = nullptr;
  QLineEdit* eightLabel = nullptr;
  QComboBox* slave = nullptr;
};

// Everything the button pages edit, gathered from the four pages.
struct ButtonPageControls {
  std::array<SlotControls, kSlotCount> slotControls;
  std::array<QCheckBox*, 3> trigger{};  // ModeButtonsAreTriggerCheckbox, ...2, ...3
  std::array<QCheckBox*, 3> multi{};    // MultiModeCheckbox, MultiModeCheckBox2, MultiModeCheckbox3
  QComboBox* alwayslive = nullptr;
  QComboBox* alwayslive2 = nullptr;
  QLineEdit* alwayslivetext = nullptr;
  QLineEdit* alwayslivetext2 = nullptr;
};

}  // namespace zorv
