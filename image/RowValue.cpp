#include "RowValue.h"

#include <algorithm>

#include "Encodings.h"
#include "TextFields.h"
#include "ZorvLayout.h"

namespace zorv {

void StoreNumber(const Setting& row, SettingsImage& image, long long value) {
  for (const ByteRange& place : row.ranges) {
    if (row.width == Width::Word16) {
      WriteWord(image, place.offset, value);
    } else {
      image[place.offset] = static_cast<std::uint8_t>(value & 0xFF);
    }
  }
}

void StoreText(const Setting& row, SettingsImage& image, std::string_view text) {
  for (const ByteRange& place : row.ranges) {
    if (row.width == Width::Label9) {
      WriteLabel(image, place.offset, text);
    } else {
      WriteFloatName(image, place.offset, text);
    }
  }
}

void StoreOnOff(const Setting& row, SettingsImage& image, bool on) {
  const bool inverted = row.encoding == Encoding::InvertedOnOff;
  StoreNumber(row, image, on != inverted ? 1 : 0);
}

std::uint8_t ByteAtPosition(const Setting& row, int position) {
  switch (row.encoding) {
    case Encoding::TrimVolts: return TrimByteFromBar(position);
    case Encoding::FreqZorv: return static_cast<std::uint8_t>(HzToFreqCode(position));
    case Encoding::FreqTarnovex: return static_cast<std::uint8_t>(HzToFreqCodeTarnovex(position));
    case Encoding::SlaveMode: return static_cast<std::uint8_t>(position + 1);  // red is 1
    case Encoding::ButtonMode: return static_cast<std::uint8_t>(IndexToModeCode(position));
    case Encoding::JoystickType: {
      // The type each item of "Select Joystick Option:" writes; a stick item writes its first.
      constexpr std::uint8_t kTypeOfItem[] = {
          joystick::kFourButtonHG,     joystick::kSixButtonHG,
          joystick::kEightButtonHG,    joystick::kTwoHfxPlowHoist,
          joystick::kThreeHfxPlowWingHoist, joystick::kSlaveMode,
          joystick::kSevrik,           joystick::kFourHfx};
      return kTypeOfItem[std::clamp(position, 0, 7)];
    }
    case Encoding::SwitchNumber:
      // Held to switches 1..12 first, so a number still being typed never stores a switch the
      // controller does not have.
      return position >= 1 ? static_cast<std::uint8_t>(std::min(position, 12) - 1)
                           : zorvfield::kNoSwitch;
    default: return static_cast<std::uint8_t>(position & 0xFF);
  }
}

std::string PositionText(const Setting& row, int position) {
  switch (row.encoding) {
    case Encoding::TrimVolts: return TrimVoltsText(TrimByteFromBar(position));
    case Encoding::FreqZorv:
    case Encoding::FreqTarnovex: return std::to_string(position) + " Hertz";
    case Encoding::Ticks60ms: return TicksText(position);
    default: return std::to_string(position);
  }
}

void RepairOnOff(const Setting& row, SettingsImage& image) {
  if (row.encoding != Encoding::OnOff && row.encoding != Encoding::InvertedOnOff) return;
  for (const ByteRange& place : row.ranges) {
    if (image[place.offset] != 1) image[place.offset] = 0;
  }
}

}  // namespace zorv
