#include "app/KeptSettingsOffer.h"

namespace zorv {

std::optional<ImageBytes> KeptSettingsToRestore(UpgradeSettings& settings, Prompts& prompts) {
  std::optional<ImageBytes> kept = settings.ChangedByUpgrade();
  if (!kept) return std::nullopt;
  const QString file = settings.KeptFile();
  const int answer = prompts.Choose(
      Prompts::Kind::Warning, "Settings changed",
      "The new firmware changed the controller's settings.\n\n\"Restore settings\" sends the "
      "settings the controller had before the upgrade" +
          (file.isEmpty() ? QString(".") : " (kept in " + file + ").") +
          "\n\"Keep controller's\" keeps what the new firmware holds.",
      {"Restore settings", "Keep controller's"}, 0);
  if (answer != 0) return std::nullopt;
  return kept;
}

}  // namespace zorv
