#include "report/SettingsExport.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStringList>

#include "image/Catalogue.h"
#include "image/SwitchFile.h"

#ifndef ZORV_TOOL_VERSION
#define ZORV_TOOL_VERSION "unknown"
#endif

namespace zorv {

namespace {

QString Str(const std::string& s) { return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size())); }

QJsonValue ValueOf(const Setting& s, const Shown& shown) {
  if (IsTextual(s)) return Str(shown.text);
  return static_cast<double>(shown.value);
}

// Keys the first format did not have: a file of that format opens without them (its bytes
// hold their values anyway).
bool NewInVersion2(const QString& key) {
  return key.endsWith(".slave_target") || key.startsWith("zorv.three_stick.");
}

// A JSON value as the file spells it, for a refusal that quotes the file.
QString JsonText(const QJsonValue& value) {
  if (value.isUndefined()) return "nothing";
  const QByteArray array = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
  return QString::fromUtf8(array.mid(1, array.size() - 2));
}

std::optional<std::uint8_t> ProductFromText(const QString& text) {
  if (text == "none") return product::kZorvPages;
  if (text.size() == 1 && product::IsProductCode(static_cast<std::uint8_t>(text[0].toLatin1())))
    return static_cast<std::uint8_t>(text[0].toLatin1());
  return std::nullopt;
}

}  // namespace

QString ProductName(std::uint8_t code) {
  switch (code) {
    case product::kZorv10: return "Zorv v1.0";
    case product::kZorv11: return "Zorv v1.1";
    case product::kTarnovex: return "Tarnovex";
    case product::kHalverston: return "Halverston";
    case product::kQuirn: return "Quirn";
    default: return "Zorv";
  }
}

QString ProductText(std::uint8_t productCode) {
  if (productCode == product::kZorvPages) return "none";
  return QString(QChar(static_cast<char16_t>(productCode)));
}

QString WriteWholeFile(const QString& fileName, const QByteArray& data) {
  QSaveFile file(fileName);
  if (file.open(QIODevice::WriteOnly) && file.write(data) == data.size() && file.commit()) {
    return {};
  }
  return file.errorString();
}

bool IsJsonFileName(const QString& fileName) {
  return fileName.endsWith(".json", Qt::CaseInsensitive);
}

QByteArray ExportJson(const SettingsImage& image, std::uint8_t productCode) {
  QJsonObject settings;
  for (const Described& d : Describe(image, productCode)) {
    QJsonObject entry;
    entry["caption"] = Str(d.setting->caption);
    entry["page"] = Str(d.setting->page);
    entry["value"] = ValueOf(*d.setting, d.shown);
    entry["text"] = Str(d.shown.text);
    settings[Str(d.setting->key)] = entry;
  }
  QJsonObject root;
  root["format"] = kExportFormat;
  root["formatVersion"] = kExportFormatVersion;
  root["tool"] = "ZorvTrim";
  root["toolVersion"] = ZORV_TOOL_VERSION;
  root["product"] = ProductText(productCode);
  root["layout"] = Str(LayoutName(SelectLayout(productCode, image)));
  root["bytes"] = QString::fromLatin1(
      QByteArray(reinterpret_cast<const char*>(image.bytes.data()), kImageSize).toHex());
  root["settings"] = settings;
  return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

QByteArray ExportCsv(const SettingsImage& image, std::uint8_t productCode) {
  QStringList lines = {"key,caption,page,value,text"};
  for (const Described& d : Describe(image, productCode)) {
    const QString value =
        IsTextual(*d.setting) ? Str(d.shown.text) : QString::number(d.shown.value);
    lines << QStringList{CsvField(Str(d.setting->key)), CsvField(Str(d.setting->caption)),
                         CsvField(Str(d.setting->page)), CsvField(value),
                         CsvField(Str(d.shown.text))}
                 .join(',');
  }
  return CsvDocument(lines);
}

QString CsvField(const QString& field) {
  // A spreadsheet runs a field that starts like a formula: it is written as text instead.
  static const QString kFormulaStarts = "=+-@";
  const QString safe = !field.isEmpty() && kFormulaStarts.contains(field[0]) ? "'" + field : field;
  if (!safe.contains(',') && !safe.contains('"') && !safe.contains('\n') && !safe.contains('\r')) {
    return safe;
  }
  QString quoted = safe;
  quoted.replace("\"", "\"\"");
  return "\"" + quoted + "\"";
}

QByteArray CsvDocument(const QStringList& lines) {
  // The byte order mark tells a spreadsheet the file is UTF-8 (accents in labels).
  return "\xEF\xBB\xBF" + (lines.join("\r\n") + "\r\n").toUtf8();
}

std::optional<ImportedSettings> ImportJson(const QByteArray& json, QString& error) {
  QJsonParseError parse{};
  const QJsonDocument document = QJsonDocument::fromJson(json, &parse);
  if (document.isNull() || !document.isObject()) {
    error = "The file is not a settings export: " +
            (document.isNull() ? parse.errorString() : QString("no JSON object")) + ".";
    return std::nullopt;
  }
  const QJsonObject root = document.object();
  if (root["format"].toString() != kExportFormat) {
    error = "The file is not a settings export (\"format\" is not \"" + QString(kExportFormat) + "\").";
    return std::nullopt;
  }
  const QJsonValue version = root["formatVersion"];
  if (version != QJsonValue(kExportFormatVersion) && version != QJsonValue(1)) {
    error = "The file's format version " + JsonText(root["formatVersion"]) +
            " is not one this tool reads.";
    return std::nullopt;
  }
  const auto product =
      root["product"].isString() ? ProductFromText(root["product"].toString()) : std::nullopt;
  if (!product) {
    error = "The file names no known product (" + JsonText(root["product"]) + ").";
    return std::nullopt;
  }
  const QString hex = root["bytes"].toString();
  const QByteArray raw = QByteArray::fromHex(hex.toLatin1());
  if (hex.size() != 2 * static_cast<qsizetype>(kImageSize) || raw.size() != static_cast<qsizetype>(kImageSize) ||
      QString::fromLatin1(raw.toHex()) != hex.toLower()) {
    error = "The file's \"bytes\" are not 256 bytes in hexadecimal.";
    return std::nullopt;
  }
  ImportedSettings imported;
  imported.productCode = *product;
  for (std::size_t i = 0; i < kImageSize; ++i)
    imported.image.bytes[i] = static_cast<std::uint8_t>(raw[static_cast<qsizetype>(i)]);

  const QJsonObject settings = root["settings"].toObject();
  const std::vector<Described> described = Describe(imported.image, imported.productCode);
  std::size_t present = 0;
  for (const Described& d : described) {
    const QString key = Str(d.setting->key);
    if (!settings.contains(key) && version == QJsonValue(1) && NewInVersion2(key)) continue;
    ++present;
    if (!settings.contains(key)) {
      error = "The file names no value for \"" + Str(d.setting->caption) + "\" (" + key + ").";
      return std::nullopt;
    }
    const QJsonObject entry = settings[key].toObject();
    const QString named = "\"" + Str(d.setting->caption) + "\" (" + key + ")";
    const QJsonValue held = ValueOf(*d.setting, d.shown);
    const QJsonValue text = Str(d.shown.text);
    if (entry["value"] != held || entry["text"] != text) {
      const bool value = entry["value"] != held;
      error = named + ": the file's \"" + (value ? "value" : "text") + "\" is " +
              JsonText(value ? entry["value"] : entry["text"]) + " but its bytes hold " +
              JsonText(value ? held : text) + ". The file was changed by hand; it is not loaded.";
      return std::nullopt;
    }
  }
  if (static_cast<std::size_t>(settings.size()) != present) {
    for (auto it = settings.begin(); it != settings.end(); ++it) {
      const Layout layout = SelectLayout(imported.productCode, imported.image);
      if (FindSetting(layout, it.key().toStdString()) == nullptr) {
        error = "The file names a setting this product does not have (" + it.key() + ").";
        return std::nullopt;
      }
    }
    error = "The file names settings its product's controller does not exchange.";
    return std::nullopt;
  }
  return imported;
}

std::optional<SettingsFile> ReadSettingsFile(const QString& fileName, QString& error) {
  SettingsFile result;
  if (IsJsonFileName(fileName)) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
      error = file.errorString();
      return std::nullopt;
    }
    auto imported = ImportJson(file.readAll(), error);
    if (!imported) return std::nullopt;
    result.image = imported->image;
    result.productCode = imported->productCode;
    return result;
  }
  const Outcome outcome = ReadSwitchFile(QFile::encodeName(fileName).toStdString(), result.image);
  if (!outcome) {
    error = QString::fromStdString(outcome.error);
    return std::nullopt;
  }
  return result;
}

}  // namespace zorv
