#pragma once
// Binds the File menu's "&Open", "&Save", "&Print", "Export..." and "Compare with File..." (found by objectName in the window) to
// their commands. The window keeps one for its lifetime; the bindings end with it.
#include <QObject>

#include "ui/PageHost.h"
#include "ui/files/ExportCommands.h"
#include "ui/files/SwitchFileCommands.h"
#include "ui/report/PrintCommand.h"

class QWidget;

namespace zorv {

class FileMenu {
 public:
  FileMenu(PageHost& host, QWidget* window);

  void Open1Click() { files_.Open1Click(); }
  void Save1Click() { files_.Save1Click(); }
  void Print1Click() { print_.Print1Click(); }
  void Export1Click() { export_.Export1Click(); }
  void CompareWithFile1Click() { export_.CompareWithFile1Click(); }

 private:
  SwitchFileCommands files_;
  PrintCommand print_;
  ExportCommands export_;
  QObject context_;  // the connections go when this object goes
};

}  // namespace zorv
