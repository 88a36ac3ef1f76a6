#pragma once
// Binds the File menu's "&Open", "&Save" and "&Print" (found by objectName in the window) to
// their commands. The window keeps one for its lifetime; the bindings end with it.
#include <QObject>

#include "ui/PageHost.h"
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

 private:
  SwitchFileCommands files_;
  PrintCommand print_;
  QObject context_;  // the connections go when this object goes
};

}  // namespace zorv
