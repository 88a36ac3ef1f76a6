#include "ui/report/ReportPrinter.h"

#include <QPrinter>

namespace zorv {
namespace {

QString CannotStartText(const QPrinter& printer) {
  if (printer.outputFormat() == QPrinter::PdfFormat) {
    if (printer.outputFileName().isEmpty()) return "No file was chosen to print to";
    return "Cannot write " + printer.outputFileName();
  }
  const QString name = printer.printerName();
  return name.isEmpty() ? QStringLiteral("No printer is available")
                        : "Printer " + name + " is not ready";
}

}  // namespace

Outcome PrintReportLines(QPrinter& printer, const QStringList& lines) {
  printer.setDocName(kReportJobTitle);
  const Outcome painted = PaintReportLines(printer, lines, CannotStartText(printer));
  if (!painted) return painted;
  if (printer.printerState() == QPrinter::Error) {
    return Outcome::Failure("The printer reported an error; the report may be incomplete");
  }
  return Outcome::Success();
}

}  // namespace zorv
