#include "cli/SettingsFiles.h"

#include <QFile>
#include <QDir>
#include <QFileInfo>

#include "cli/CliCommon.h"
#include "image/SwitchFile.h"

namespace zorv::cli {

std::optional<SettingsFile> ReadSettings(const QString& fileName) {
  QString error;
  std::optional<SettingsFile> file = ReadSettingsFile(fileName, error);
  if (!file) Err(fileName + ": " + error);
  return file;
}

QString RefuseUnlessWholeImage(const QString& fileName) {
  if (IsJsonFileName(fileName)) return {};
  qint64 size = 0;
  const QFileInfo info(fileName);
  if (info.isFile()) {
    size = info.size();
  } else {
    // A device or a pipe has no size: count what it gives, up to a bound that shows it is wrong.
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) return {};  // the reader names why it cannot be read
    size = file.read(kImageSize + 1).size();
  }
  if (size == static_cast<qint64>(kImageSize)) return {};
  const QString bytes = size > static_cast<qint64>(kImageSize) && !info.isFile()
                            ? QString("more than 256 bytes")
                            : QString("%1 byte%2").arg(size).arg(size == 1 ? "" : "s");
  return fileName + ": " + bytes + "; a switch file holds exactly 256: nothing was sent";
}

QString UnusableTarget(const QString& fileName) {
  const QFileInfo target(fileName);
  if (target.isDir()) return fileName + " is a folder: give a file name";
  if (!target.absoluteDir().exists()) return "No such folder: " + target.absolutePath();
  return {};
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
