#pragma once
// Paints report lines on paged output (a printer, a PDF file) as plain text in a fixed-pitch
// font, one text line per report line, a new page when the page is full. Qt Gui, no widgets.
#include <QString>
#include <QStringList>
#include <functional>

#include "image/Outcome.h"

class QPagedPaintDevice;

namespace zorv {

inline constexpr const char* kReportJobTitle = "Zorv Trim/Configuration Settings";

// "Courier New" when offered; otherwise "Liberation Mono" (same letter widths, so the columns
// stay where they were designed), otherwise the first fixed-pitch family; "" when none is.
QString ChooseReportFont(const QStringList& families,
                         const std::function<bool(const QString&)>& isFixedPitch);
// The choice among the fonts installed here.
QString ReportFontFamily();

// Paints the lines; `cannotStart` is the failure text when painting cannot begin. Stops at the
// first failure.
Outcome PaintReportLines(QPagedPaintDevice& device, const QStringList& lines,
                         const QString& cannotStart);

// Writes the lines to a PDF file titled with the report's job title.
Outcome WriteReportPdf(const QString& fileName, const QStringList& lines);

}  // namespace zorv
