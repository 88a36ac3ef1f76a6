#include "ui/files/ExportCommands.h"

#include <QCoreApplication>

#include "ui/files/CompareWindow.h"
#include "report/SettingsExport.h"

namespace zorv {

namespace {

void ShowError(PageHost& host, const QString& text) {
  host.prompts().Message(Prompts::Kind::Error, "Error", text);
}

}  // namespace

void ExportCommands::Export1Click() {
  QString chosen = host_.prompts().SaveFileName(
      "Export", QCoreApplication::applicationDirPath() + "/*.json", kExportFilter);
  if (chosen.isEmpty()) return;
  const bool csv = chosen.endsWith(".csv", Qt::CaseInsensitive);
  if (!csv && !IsJsonFileName(chosen)) chosen += ".json";
  const SettingsImage snapshot = host_.Image();
  const QByteArray data = csv ? ExportCsv(snapshot, host_.IdentifiedProduct())
                              : ExportJson(snapshot, host_.IdentifiedProduct());
  const QString failed = WriteWholeFile(chosen, data);
  if (!failed.isEmpty()) {
    ShowError(host_, "The settings could not be exported to " + chosen + ": " + failed);
  }
}

bool OpenSettingsFile(PageHost& host, const QString& fileName) {
  QString error;
  const auto file = ReadSettingsFile(fileName, error);
  if (!file) {
    ShowError(host, error);
    return false;
  }
  host.BeforeImageReplaced();
  host.Image() = file->image;
  host.RefreshControls(1);
  host.FileEvent(IsJsonFileName(fileName) ? history::EventKind::JsonImported
                                          : history::EventKind::FileOpened,
                 fileName);
  return true;
}

void ExportCommands::CompareWithFile1Click() {
  const QString chosen = host_.prompts().OpenFileName(
      "Compare with File", QCoreApplication::applicationDirPath() + "/*.joy", kCompareFilter);
  if (chosen.isEmpty()) return;
  QString error;
  const auto file = ReadSettingsFile(chosen, error);
  if (!file) {
    ShowError(host_, error);
    return;
  }
  CompareWindow window(host_.Image(), host_.IdentifiedProduct(), *file, chosen);
  if (host_.prompts().ShowModal(window) == CompareWindow::kLoadFile) OpenSettingsFile(host_, chosen);
}

}  // namespace zorv
