#include "cli/SettingsFiles.h"

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
  const QString failed = WriteWholeFile(fileName, ExportJson(image, productCode));
  return failed.isEmpty() ? QString() : "Cannot write " + fileName + ": " + failed;
}

}  // namespace zorv::cli
