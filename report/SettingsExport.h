#pragma once
// Exported settings files: JSON (every setting by key with value and text, the 256 raw bytes,
// the product and the tool's version) and CSV (one line a setting). A JSON file is read back
// from its raw bytes; its named values must agree with them, so a hand-edited value is caught
// instead of silently ignored.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

#include "image/SettingsImage.h"

namespace zorv {

inline constexpr const char* kExportFormat = "zorvtrim-settings";
// 2: second rows on shared bytes (slave target IDs, the three-stick custom functions); files
// of format 1 still open.
inline constexpr int kExportFormatVersion = 2;

// The product as the user knows it: "Quirn", "Zorv v1.1"; "Zorv" for product code 0.
QString ProductName(std::uint8_t code);
// "none" for product code 0, else the code's letter.
QString ProductText(std::uint8_t productCode);

QByteArray ExportJson(const SettingsImage& image, std::uint8_t productCode);
QByteArray ExportCsv(const SettingsImage& image, std::uint8_t productCode);

// One CSV field as a spreadsheet reads it safely (quoted where needed, a formula start as text),
// and the lines as a file (a UTF-8 byte order mark, CRLF).
QString CsvField(const QString& field);
QByteArray CsvDocument(const QStringList& lines);

struct ImportedSettings {
  SettingsImage image;
  std::uint8_t productCode = 0;  // as the file names it
};

// The file's image, or the reason it is refused in `error`.
std::optional<ImportedSettings> ImportJson(const QByteArray& json, QString& error);

// A settings file as the compare and open commands read it: a switch file (.joy, no product)
// or an exported JSON file (.json, names its product).
struct SettingsFile {
  SettingsImage image;
  std::optional<std::uint8_t> productCode;  // only JSON files name one
};
std::optional<SettingsFile> ReadSettingsFile(const QString& fileName, QString& error);

bool IsJsonFileName(const QString& fileName);

// Writes `data` whole or not at all, so an old file survives a failed write: "" when written,
// else the reason.
QString WriteWholeFile(const QString& fileName, const QByteArray& data);

}  // namespace zorv
