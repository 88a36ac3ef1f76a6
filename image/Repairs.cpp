#include "Repairs.h"

#include <algorithm>
#include <initializer_list>
#include <string_view>

#include "Catalogue.h"
#include "HalverstonLayout.h"
#include "RowValue.h"
#include "ZorvLayout.h"

namespace zorv {

namespace {

void RepairOnOffRows(Layout layout, std::initializer_list<std::string_view> groups,
                     SettingsImage& image) {
  for (const Setting& row : CatalogueOf(layout)) {
    for (std::string_view group : groups) {
      if (row.group == group) RepairOnOff(row, image);
    }
  }
}

}  // namespace

void RepairQuirn(SettingsImage& image) {
  for (const Setting& row : CatalogueOf(Layout::Quirn)) RepairOnOff(row, image);
}

void RepairHalverston(SettingsImage& image) {
  std::uint8_t& prox = image[halverstonfield::UseProxSensors];
  if (prox != 0) prox = 1;
}

void RepairZorvOptions(SettingsImage& image) {
  RepairOnOffRows(Layout::Zorv, {"Options", "Power/Cartridge Valve"}, image);
  constexpr int kBladeUpTimeMax = 10;
  constexpr int kStartupDelayRepair = 80;
  if (image[zorvfield::BladeUpTime] > kBladeUpTimeMax) image[zorvfield::BladeUpTime] = 0;
  if (image[zorvfield::StartupDelay] > kStartupDelayRepair) image[zorvfield::StartupDelay] = 1;
}

void RepairZorvFloats(SettingsImage& image) {
  for (const Setting& row : CatalogueOf(Layout::Zorv)) {
    if (row.page != "Float Modes") continue;
    std::uint8_t& byte = image[row.ranges.front().offset];
    if (row.encoding == Encoding::Choice && byte > row.max) byte = 0;
    if (row.encoding == Encoding::Number && (byte < row.min || byte > row.max)) byte = 1;
    RepairOnOff(row, image);
  }
}

void RepairJoystickType(SettingsImage& image) {
  const std::vector<int>& known = FindSetting(Layout::Zorv, "zorv.joystick.type")->values;
  std::uint8_t& type = image[zorvfield::JoystickType];
  if (std::find(known.begin(), known.end(), type) == known.end()) type = joystick::kFourButtonHG;
}

void RepairFourStickSafeties(SettingsImage& image) {
  if (image[zorvfield::JoystickType] != joystick::kFourHfx) return;
  for (std::size_t o = zorvfield::RedButtonMode; o <= zorvfield::YellowButtonMode; ++o) {
    if (image[o] != mode::kSafety) image[o] = 0;
  }
}

void RepairSwitchGroups(SettingsImage& image) {
  for (const Setting& row : CatalogueOf(Layout::Zorv)) {
    if (row.page != "Axis Switch Setup" || row.encoding != Encoding::SwitchNumber) continue;
    std::uint8_t& byte = image[row.ranges.front().offset];
    if (byte > row.max) byte = zorvfield::kNoSwitch;
  }
}

void RepairTarnovexOptions(SettingsImage& image) {
  RepairOnOffRows(Layout::Tarnovex, {"Options", "Enable Saftey Triggers"}, image);
}

}  // namespace zorv
