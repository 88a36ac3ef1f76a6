#pragma once
// Reading and writing settings files by their extension: a switch file (.joy) or the exported
// JSON (.json), through the same readers and writers as the window's File menu.
#include <QString>
#include <cstdint>
#include <optional>

#include "image/SettingsImage.h"
#include "report/SettingsExport.h"

namespace zorv::cli {

class Parser;

// Adds --product NAME: the product of a switch file's settings, which the file does not name.
void OfferProduct(Parser& parser);
// The product --product names (nothing when not given); false after printing a refusal.
bool ChosenProduct(Parser& parser, std::optional<std::uint8_t>& product);
// "Zorv", "Tarnovex", ... for a layout.
QString LayoutTitle(Layout layout);

// The file's settings, or nothing after printing why it cannot be read. A switch file takes
// `product` (--product); a JSON file names its own, and is refused when `product` names another.
std::optional<SettingsFile> ReadSettings(const QString& fileName,
                                         std::optional<std::uint8_t> product = {});
// "" when `fileName` may be sent as it is: a JSON export, or a switch file of exactly 256 bytes.
// The window loads a short file as zeros and a long one cut at 256; sending either would put
// settings into a truck that nobody chose. Else the refusal, naming the file's size.
QString RefuseUnlessWholeImage(const QString& fileName);
// "" when a settings file can be written as `fileName` (its folder exists, it is not a folder),
// else why not: found out before a controller is kept waiting for a download.
QString UnusableTarget(const QString& fileName);
// "" when written, else the text to print. Never leaves a half-written file.
QString WriteSettings(const QString& fileName, const SettingsImage& image,
                      std::uint8_t productCode);

}  // namespace zorv::cli
