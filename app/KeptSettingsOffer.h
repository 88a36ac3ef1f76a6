#pragma once
// After a verified upgrade whose firmware changed the controller's settings, the user chooses:
// restore the settings kept before the upgrade, or keep what the new firmware holds.
#include <optional>

#include "image/SettingsImage.h"
#include "link/UpgradeSettings.h"
#include "ui/Prompts.h"

namespace zorv {

// The kept bytes, exactly as they were, when the user chose "Restore settings"; else nothing.
std::optional<ImageBytes> KeptSettingsToRestore(UpgradeSettings& settings, Prompts& prompts);

}  // namespace zorv
