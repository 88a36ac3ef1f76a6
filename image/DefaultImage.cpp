#include "DefaultImage.h"

#include "Encodings.h"
#include "TextFields.h"
#include "ZorvLayout.h"

namespace zorv {

void LoadDefaultImage(SettingsImage& image, GlobalTrimPair& trims) {
  namespace f = zorvfield;
  image.bytes.fill(0);
  image[f::Frequency] = static_cast<std::uint8_t>(HzToFreqCode(120));
  for (int function = 1; function <= kFunctionCount; ++function) {
    image[f::TrimMin(function)] = 1;
    image[f::TrimMax(function)] = 254;
  }
  image[f::JoystickType] = joystick::kFourButtonHG;
  image[f::RedButtonMode] = mode::kHoist;
  image[f::GreenButtonMode] = mode::kPlow;
  image[f::BlueButtonMode] = mode::kWing;
  image[f::YellowButtonMode] = mode::kBlade;
  WriteLabel(image, f::RedButtonLabel, "HOIST");
  WriteLabel(image, f::GreenButtonLabel, "PLOW");
  WriteLabel(image, f::BlueButtonLabel, "WING");
  WriteLabel(image, f::YellowButtonLabel, "BLADE");
  WriteLabel(image, f::OrangeButtonLabel, "INACTIVE");
  WriteLabel(image, f::PurpleButtonLabel, "INACTIVE");
  WriteLabel(image, f::NoButtonLabel, "INACTIVE");
  // Remote pairs: selectors 0, targets 1.
  for (std::size_t target = f::RedTargetID; target <= f::PurpleTargetID; target += 2) {
    image[target] = 1;
  }
  trims = GlobalTrimPair{};
}

void StoreDownloadedImage(const ImageBytes& buffer, SettingsImage& image, GlobalTrimPair& trims) {
  image.bytes = buffer;
  if (image[zorvfield::JoystickType] == 0xFF) LoadDefaultImage(image, trims);
}

}  // namespace zorv
