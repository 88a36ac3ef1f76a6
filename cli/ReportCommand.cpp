// report FILE [--pdf OUT.pdf]: the printed report's lines, on standard output or as a PDF.
#include "cli/CliCommon.h"
#include "cli/Commands.h"
#include "cli/SettingsFiles.h"
#include "report/CatalogueReportInputs.h"
#include "report/ReportLines.h"
#include "report/ReportPages.h"

namespace zorv::cli {

int Report(const QStringList& arguments) {
  Parser parser("report FILE", "The printed report of FILE (a switch file or JSON): its lines "
                               "on standard output, or a PDF file with --pdf.", false);
  parser.Raw().addOption({"pdf", "Write the report to this PDF file instead.", "OUT.pdf"});
  if (const auto ended = parser.Parse(arguments, 1, 1)) return *ended;
  const std::optional<SettingsFile> file = ReadSettings(parser.Positional().at(0));
  if (!file) return kUsage;
  const QStringList lines =
      ReportLines(file->image, CatalogueReportInputs(file->image, file->productCode.value_or(0)));
  if (!parser.Raw().isSet("pdf")) {
    for (const QString& line : lines) Out(line);
    return kSuccess;
  }
  const Outcome written = WriteReportPdf(parser.Raw().value("pdf"), lines);
  return written ? kSuccess : Fail(kFailure, QString::fromStdString(written.error));
}

}  // namespace zorv::cli
