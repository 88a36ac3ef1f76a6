#include "ui/report/ReportPrinter.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>

namespace zorv {
namespace {

// The size a printer's text device uses when none is asked for.
constexpr int kReportPointSize = 10;

QString CannotStartText(const QPrinter& printer) {
  if (printer.outputFormat() == QPrinter::PdfFormat) {
    if (printer.outputFileName().isEmpty()) return "No file was chosen to print to";
    return "Cannot write " + printer.outputFileName();
  }
  const QString name = printer.printerName();
  return name.isEmpty() ? QStringLiteral("No printer is available")
                        : "Printer " + name + " is not ready";
}

QFont ReportFont() {
  QFont font;
  const QString family = ReportFontFamily();
  if (family.isEmpty()) {
    font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  } else {
    font.setFamily(family);
  }
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  font.setWeight(QFont::Normal);
  font.setStyle(QFont::StyleNormal);
  font.setPointSize(kReportPointSize);
  return font;
}

}  // namespace

QString ChooseReportFont(const QStringList& families,
                         const std::function<bool(const QString&)>& isFixedPitch) {
  for (const char* preferred : {"Courier New", "Liberation Mono"}) {
    if (families.contains(QString::fromLatin1(preferred), Qt::CaseInsensitive)) {
      return QString::fromLatin1(preferred);
    }
  }
  for (const QString& family : families) {
    if (isFixedPitch(family)) return family;
  }
  return {};
}

QString ReportFontFamily() {
  return ChooseReportFont(QFontDatabase::families(),
                          [](const QString& family) { return QFontDatabase::isFixedPitch(family); });
}

Outcome PrintReportLines(QPrinter& printer, const QStringList& lines) {
  printer.setDocName(kReportJobTitle);
  QPainter painter;
  if (!painter.begin(&printer)) return Outcome::Failure(CannotStartText(printer).toStdString());

  painter.setFont(ReportFont());
  painter.setPen(QPen(Qt::black, 1, Qt::SolidLine));
  painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
  const QFontMetrics metrics = painter.fontMetrics();
  const int pageHeight = painter.viewport().height();

  int baseline = metrics.ascent();
  bool pageHasLines = false;
  for (const QString& line : lines) {
    // A page always takes at least one line, so a tiny page cannot loop forever.
    if (pageHasLines && baseline + metrics.descent() > pageHeight) {
      if (!printer.newPage()) {
        painter.end();
        return Outcome::Failure("The printer stopped taking pages");
      }
      baseline = metrics.ascent();
      pageHasLines = false;
    }
    painter.drawText(0, baseline, line);
    baseline += metrics.lineSpacing();
    pageHasLines = true;
  }
  if (!painter.end() || printer.printerState() == QPrinter::Error) {
    return Outcome::Failure("The printer reported an error; the report may be incomplete");
  }
  return Outcome::Success();
}

}  // namespace zorv
