#include "app/FirmwareCommands.h"

namespace zorv {

void KeepSettingsBeforeUpgrade(UpgradeSettings& settings, std::uint8_t productCode,
                               Prompts& prompts) {
  const Outcome kept = settings.KeepBeforeUpgrade(KeptSettingsFolder(), static_cast<char>(productCode));
  if (kept) return;
  prompts.Message(Prompts::Kind::Warning, "Warning",
                  "The controller's settings could not be kept before the upgrade: " +
                      QString::fromStdString(kept.error));
}

bool ChooseReadTarget(FormBridge& bridge) {
  const std::string file = bridge.SelectFirmwareReadFile();
  if (file.empty()) return false;
  if (const std::string problem = FormBridge::ReadTargetProblem(file); !problem.empty()) {
    bridge.ShowLinkError(problem);
    return false;
  }
  bridge.SetReadTarget(file);
  return true;
}

}  // namespace zorv
