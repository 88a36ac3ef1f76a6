#include "ui/report/PrintCommand.h"

#include <QGuiApplication>
#include <QPrinter>

#include "ui/report/PrintForm.h"
#include "ui/report/ReportPrinter.h"
#include "ui/report/WindowReportInputs.h"

namespace zorv {
namespace {

// The hourglass for as long as the job runs, however it ends.
class WaitCursor {
 public:
  WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace

void PrintCommand::Print1Click() {
  QPrinter printer(QPrinter::HighResolution);
  if (!host_.prompts().SetUpPrinter(printer)) return;

  Outcome outcome;
  {
    WaitCursor hourglass;
    TPrintForm printing(&window_);
    printing.ShowAndPaint();
    const QStringList lines = ReportLines(host_.Image(), ReportInputsFrom(window_, host_.Image()));
    outcome = PrintReportLines(printer, lines);
  }
  // Shown only once the window is gone and the cursor is back.
  if (!outcome) {
    host_.prompts().Message(Prompts::Kind::Error, "Error", QString::fromStdString(outcome.error));
  }
}

}  // namespace zorv
