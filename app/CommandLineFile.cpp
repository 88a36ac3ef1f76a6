#include "app/CommandLineFile.h"

#include <QFileInfo>

#include "ui/files/SwitchFileCommands.h"

namespace zorv {

QString SwitchFileArgument(const QStringList& arguments) {
  bool optionsEnded = false;
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    const QString& argument = arguments[i];
    if (!optionsEnded && argument == QLatin1String("--")) {
      optionsEnded = true;
      continue;
    }
    if (argument.isEmpty() || (!optionsEnded && argument.startsWith('-'))) continue;
    return argument;
  }
  return {};
}

void OpenSwitchFileArgument(PageHost& host, const QString& fileName) {
  if (fileName.isEmpty()) return;
  // The shell may hand over a relative name; the history records where the file really is.
  SwitchFileCommands(host).OpenFile(QFileInfo(fileName).absoluteFilePath());
}

}  // namespace zorv
