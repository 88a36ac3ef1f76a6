// report FILE [--pdf OUT.pdf]: the printed report's lines, on standard output or as a PDF.
#include "cli/CliCommon.h"
#include "cli/Commands.h"
#include "cli/SettingsFiles.h"
#include "image/SettingsImage.h"
#include "report/CatalogueReportInputs.h"
#include "report/ReportLines.h"
#include "report/ReportPages.h"

namespace zorv::cli {

int Report(const QStringList& arguments) {
  Parser parser("report FILE", "The printed report of FILE (a switch file or JSON): its lines "
                               "on standard output, or a PDF file with --pdf.", false);
  parser.Raw().addOption({"pdf", "Write the report to this PDF file instead.", "OUT.pdf"});
  OfferProduct(parser);
  if (const auto ended = parser.Parse(arguments, 1, 1)) return *ended;
  std::optional<std::uint8_t> chosen;
  if (!ChosenProduct(parser, chosen)) return kUsage;
  std::optional<SettingsFile> file = ReadSettings(parser.Positional().at(0), chosen);
  if (!file) return kUsage;
  const std::uint8_t product = file->productCode.value_or(0);
  const Layout layout = SelectLayout(product, file->image);
  // The printed report has a Zorv and a Tarnovex form only: another product's settings in the
  // Zorv form would read as settings they are not.
  if (layout == Layout::Halverston || layout == Layout::Quirn) {
    return Fail(kUsage, "No printed report for " + LayoutTitle(layout) +
                            " settings: show lists every setting");
  }
  // The form follows the Tarnovex mark, as the window's image carries it on those pages.
  if (layout == Layout::Tarnovex) file->image[kTarnovexMarkerOffset] = kTarnovexMarker;
  const QStringList lines =
      ReportLines(file->image, CatalogueReportInputs(file->image, product));
  if (!parser.Raw().isSet("pdf")) {
    for (const QString& line : lines) Out(line);
    return kSuccess;
  }
  const Outcome written = WriteReportPdf(parser.Raw().value("pdf"), lines);
  return written ? kSuccess : Fail(kFailure, QString::fromStdString(written.error));
}

}  // namespace zorv::cli
