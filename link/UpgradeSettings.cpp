#include "link/UpgradeSettings.h"

#include <QDateTime>
#include <QDir>
#include <QStandardPaths>
#include <algorithm>

#include "image/SwitchFile.h"

namespace zorv {

void UpgradeSettings::Downloaded(const ImageBytes& bytes, int length) {
  last_ = bytes;
  lastLength_ = length;
}

Outcome UpgradeSettings::KeepBeforeUpgrade(const QString& folder, char product) {
  kept_.reset();
  keptFile_.clear();
  compareNext_ = false;
  if (!last_) return Outcome::Success();
  if (!QDir().mkpath(folder)) {
    return Outcome::Failure("Cannot create the folder " + folder.toStdString());
  }
  const QString stamp = QDateTime::currentDateTime().toString("yyyyMMdd-HHmmss");
  const QString productName = product == 0 ? QString("zorv") : QString(QChar(product));
  const QString file = QDir(folder).filePath("settings-before-upgrade-" + stamp + "-" +
                                             productName + ".joy");
  SettingsImage image;
  image.bytes = *last_;
  const Outcome written = WriteSwitchFile(file.toStdString(), image);
  // The comparison works from memory even when the file could not be written.
  kept_ = last_;
  keptLength_ = lastLength_;
  if (written) keptFile_ = file;
  return written;
}

void UpgradeSettings::UpgradeVerified() { compareNext_ = kept_.has_value(); }

std::optional<ImageBytes> UpgradeSettings::ChangedByUpgrade() {
  if (!compareNext_ || !last_ || !kept_) return std::nullopt;
  compareNext_ = false;
  if (lastLength_ != keptLength_) return std::nullopt;
  const auto length = static_cast<std::ptrdiff_t>(keptLength_);
  if (std::equal(kept_->begin(), kept_->begin() + length, last_->begin())) return std::nullopt;
  return kept_;
}

QString KeptSettingsFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/kept-settings";
}

}  // namespace zorv
