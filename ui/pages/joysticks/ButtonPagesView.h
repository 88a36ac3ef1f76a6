#pragma once
// What the refresh shows on the button pages ("4 Button HG", "6 Button HG", "8 Button HG",
// "Slave Mode") and in the trigger, multi-mode and always-live controls.
#include "ButtonSlots.h"
#include "image/SettingsImage.h"

namespace zorv::buttonview {

// Mode drop-downs from the mode bytes, label edits from the label fields.
void ShowModesAndLabels(const ButtonPageControls& controls, const SettingsImage& local);
// alwayslive and alwayslive2 from byte 184.
void ShowAlwaysLive(const ButtonPageControls& controls, const SettingsImage& local);
// Trigger and multi-mode boxes; the always-live controls only while byte 137 is set.
void ShowTrigger(const ButtonPageControls& controls, const SettingsImage& local);

}  // namespace zorv::buttonview
