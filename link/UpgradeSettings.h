#pragma once
// Settings that survive a firmware upgrade: the image of the last download is kept in a switch
// file before the upgrade starts; once the new firmware is verified and has sent its own
// settings, the window is told whether they differ, so the user can send the kept ones back.
#include <QString>
#include <optional>

#include "image/Outcome.h"
#include "image/SettingsImage.h"

namespace zorv {

class UpgradeSettings {
 public:
  // Every download, as the controller sent it (`length` bytes of it).
  void Downloaded(const ImageBytes& bytes, int length);

  // Before an upgrade: writes the last download to `folder` as a switch file named with the
  // date and the product; nothing to keep when nothing was downloaded yet.
  Outcome KeepBeforeUpgrade(const QString& folder, char product);
  // The upgrade was verified: the next download is compared with what was kept.
  void UpgradeVerified();

  // After a download: the kept image when the upgrade just verified changed the settings
  // (only between images of the same length); asked once per upgrade.
  std::optional<ImageBytes> ChangedByUpgrade();

  QString KeptFile() const { return keptFile_; }

 private:
  std::optional<ImageBytes> last_;
  int lastLength_ = 0;
  std::optional<ImageBytes> kept_;
  int keptLength_ = 0;
  QString keptFile_;
  bool compareNext_ = false;
};

// The per-user folder the kept settings go to.
QString KeptSettingsFolder();

}  // namespace zorv
