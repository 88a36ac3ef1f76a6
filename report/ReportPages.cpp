#include "report/ReportPages.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

namespace zorv {
namespace {

// The size a printer's text device uses when none is asked for.
constexpr int kReportPointSize = 10;

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

Outcome PaintReportLines(QPagedPaintDevice& device, const QStringList& lines,
                         const QString& cannotStart) {
  QPainter painter;
  if (!painter.begin(&device)) return Outcome::Failure(cannotStart.toStdString());

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
      if (!device.newPage()) {
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
  if (!painter.end()) {
    return Outcome::Failure("The printer reported an error; the report may be incomplete");
  }
  return Outcome::Success();
}

Outcome WriteReportPdf(const QString& fileName, const QStringList& lines) {
  QPdfWriter writer(fileName);
  writer.setTitle(kReportJobTitle);
  writer.setCreator(kReportJobTitle);
  return PaintReportLines(writer, lines, "Cannot write " + fileName);
}

}  // namespace zorv
