#include "cli/SettingsFiles.h"

#include <QFile>
#include <QDir>
#include <QFileInfo>

#include "cli/CliCommon.h"
#include "image/Catalogue.h"
#include "image/SwitchFile.h"

namespace zorv::cli {

namespace {

struct NamedProduct {
  const char* name;
  std::uint8_t code;
};
constexpr NamedProduct kNamedProducts[] = {{"zorv", product::kZorvPages},
                                           {"tarnovex", product::kTarnovex},
                                           {"halverston", product::kHalverston},
                                           {"quirn", product::kQuirn}};

}  // namespace

void OfferProduct(Parser& parser) {
  parser.Raw().addOption({"product", "The product of a switch file's settings (zorv, tarnovex, "
                                     "halverston or quirn): a switch file does not name it, and "
                                     "is read as Zorv settings (Tarnovex when it carries the "
                                     "Tarnovex mark) without this. A JSON file names its own.",
                          "NAME"});
}

bool ChosenProduct(Parser& parser, std::optional<std::uint8_t>& product) {
  if (!parser.Raw().isSet("product")) return true;
  const QString given = parser.Raw().value("product").trimmed().toLower();
  for (const NamedProduct& p : kNamedProducts) {
    if (given == QLatin1String(p.name)) {
      product = p.code;
      return true;
    }
  }
  Fail(kUsage, "Unknown product \"" + parser.Raw().value("product") +
                   "\": give zorv, tarnovex, halverston or quirn");
  return false;
}

QString LayoutTitle(Layout layout) {
  QString name = QString::fromStdString(LayoutName(layout));
  if (!name.isEmpty()) name[0] = name[0].toUpper();
  return name;
}

std::optional<SettingsFile> ReadSettings(const QString& fileName,
                                         std::optional<std::uint8_t> product) {
  QString error;
  std::optional<SettingsFile> file = ReadSettingsFile(fileName, error);
  if (!file) {
    Err(fileName + ": " + error);
    return file;
  }
  if (!product) return file;
  if (!file->productCode) {
    file->productCode = product;
    return file;
  }
  const Layout named = SelectLayout(*file->productCode, file->image);
  const Layout chosen = SelectLayout(*product, file->image);
  if (named != chosen) {
    Fail(kUsage, fileName + ": holds " + LayoutTitle(named) + " settings, not " +
                     LayoutTitle(chosen) + " (--product)");
    return std::nullopt;
  }
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
