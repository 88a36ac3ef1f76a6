// show FILE [--json]: every named setting of a file with the text the window shows for it.
#include "cli/CliCommon.h"
#include "cli/Commands.h"
#include "cli/SettingsFiles.h"
#include "image/Catalogue.h"

namespace zorv::cli {

int Show(const QStringList& arguments) {
  Parser parser("show FILE", "Every named setting of FILE (a switch file or JSON) with its "
                             "shown text, one a line: page, caption, text.", false);
  parser.Raw().addOption({"json", "The exported JSON form (every setting by key with value and "
                                  "text, and the raw bytes)."});
  OfferProduct(parser);
  if (const auto ended = parser.Parse(arguments, 1, 1)) return *ended;
  std::optional<std::uint8_t> chosen;
  if (!ChosenProduct(parser, chosen)) return kUsage;
  const std::optional<SettingsFile> file = ReadSettings(parser.Positional().at(0), chosen);
  if (!file) return kUsage;
  const std::uint8_t product = file->productCode.value_or(0);
  if (parser.Raw().isSet("json")) {
    Out(QString::fromUtf8(ExportJson(file->image, product)).trimmed());
    return kSuccess;
  }
  for (const Described& d : Describe(file->image, product)) {
    Out(QStringList{QString::fromStdString(d.setting->page),
                    QString::fromStdString(d.setting->caption),
                    QString::fromStdString(d.shown.text) + (d.active ? "" : " (not in use)")}
            .join('\t'));
  }
  return kSuccess;
}

}  // namespace zorv::cli
