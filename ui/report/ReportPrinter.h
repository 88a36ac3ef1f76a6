#pragma once
// Writes report lines to a printer (or a PDF file) as plain text in a fixed-pitch font, one
// text line per report line, a new page when the page is full.
#include <QString>
#include <QStringList>
#include <functional>

#include "image/Outcome.h"

class QPrinter;

namespace zorv {

inline constexpr const char* kReportJobTitle = "Zorv Trim/Configuration Settings";

// "Courier New" when offered; otherwise "Liberation Mono" (same letter widths, so the columns
// stay where they were designed), otherwise the first fixed-pitch family; "" when none is.
QString ChooseReportFont(const QStringList& families,
                         const std::function<bool(const QString&)>& isFixedPitch);
// The choice among the fonts installed here.
QString ReportFontFamily();

// Sets the job title, prints the lines and ends the job. Stops at the first failure.
Outcome PrintReportLines(QPrinter& printer, const QStringList& lines);

}  // namespace zorv
