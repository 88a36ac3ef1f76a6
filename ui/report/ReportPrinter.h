#pragma once
// Writes report lines to a printer (or a PDF file) through the printer dialog's QPrinter; the
// painting itself is report/ReportPages.
#include <QString>
#include <QStringList>
#include <functional>

#include "image/Outcome.h"
#include "report/ReportPages.h"

class QPrinter;

namespace zorv {

// Sets the job title, prints the lines and ends the job. Stops at the first failure.
Outcome PrintReportLines(QPrinter& printer, const QStringList& lines);

}  // namespace zorv
