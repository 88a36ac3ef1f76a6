#include "ui/files/SwitchFileCommands.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include "image/SwitchFile.h"
#include "ui/files/ExportCommands.h"
#include "report/SettingsExport.h"

namespace zorv {

QString SwitchFileCommands::StartPath() {
  return QCoreApplication::applicationDirPath() + "/*.joy";
}

bool AcceptedSwitchFileName(const QString& chosen) {
  if (chosen.isEmpty() || chosen.contains('*') || chosen.contains('?')) return false;
  return QFileInfo::exists(chosen);
}

void SwitchFileCommands::Open1Click() {
  const QString chosen = host_.prompts().OpenFileName("Open", StartPath(), kSwitchFileFilter);
  if (!AcceptedSwitchFileName(chosen)) return;
  OpenFile(chosen);
}

void SwitchFileCommands::OpenFile(const QString& chosen) {
  if (IsJsonFileName(chosen)) {
    OpenSettingsFile(host_, chosen);
    return;
  }

  // Read into a copy: the shared image changes only when the whole file was read.
  SettingsImage loaded = host_.Image();
  const Outcome outcome = ReadSwitchFile(QFile::encodeName(chosen).toStdString(), loaded);
  if (!outcome) {
    ShowError(outcome.error);
    return;
  }
  host_.BeforeImageReplaced();
  host_.Image() = loaded;
  host_.RefreshControls(1);
  host_.ImageKept();
  host_.FileEvent(history::EventKind::FileOpened, chosen);
}

bool SwitchFileCommands::Save1Click() {
  // The name is taken exactly as chosen: no extension is added.
  const QString chosen = host_.prompts().SaveFileName("Save As", StartPath(), kSwitchFileFilter);
  if (chosen.isEmpty()) return false;
  const SettingsImage snapshot = host_.Image();
  const Outcome outcome = WriteSwitchFile(QFile::encodeName(chosen).toStdString(), snapshot);
  if (!outcome) {
    ShowError(outcome.error);
    return false;
  }
  host_.ImageKept();
  host_.FileEvent(history::EventKind::FileSaved, chosen);
  return true;
}

void SwitchFileCommands::ShowError(const std::string& text) {
  host_.prompts().Message(Prompts::Kind::Error, "Error", QString::fromStdString(text));
}

}  // namespace zorv
