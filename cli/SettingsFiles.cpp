#include "cli/SettingsFiles.h"

#include <QSaveFile>

#include "cli/CliCommon.h"
#include "image/SwitchFile.h"

namespace zorv::cli {

std::optional<SettingsFile> ReadSettings(const QString& fileName) {
  QString error;
  std::optional<SettingsFile> file = ReadSettingsFile(fileName, error);
  if (!file) Err(fileName + ": " + error);
  return file;
}

QString WriteSettings(const QString& fileName, const SettingsImage& image,
                      std::uint8_t productCode) {
  if (!IsJsonFileName(fileName)) {
    const Outcome written = WriteSwitchFile(fileName.toStdString(), image);
    return written ? QString() : fileName + ": " + QString::fromStdString(written.error);
  }
  QSaveFile file(fileName);
  if (!file.open(QIODevice::WriteOnly) || file.write(ExportJson(image, productCode)) < 0 ||
      !file.commit()) {
    return "Cannot write " + fileName + ": " + file.errorString();
  }
  return {};
}

}  // namespace zorv::cli
