#pragma once
// The Datalink menu's firmware items, the part before the link is asked: what to keep and where
// to write, settled before the controller is touched.
#include <cstdint>

#include "app/FormBridge.h"
#include "link/UpgradeSettings.h"
#include "ui/Prompts.h"

namespace zorv {

// Upgrade Firmware: the settings of the last download go to a file first, as new firmware may
// reset them; a warning when they could not.
void KeepSettingsBeforeUpgrade(UpgradeSettings& settings, std::uint8_t productCode,
                               Prompts& prompts);

// Read Firmware: the file to read into is chosen and checked now, so a folder that cannot take
// it fails at once, not after minutes of reading. False when there is none to read into.
bool ChooseReadTarget(FormBridge& bridge);

}  // namespace zorv
