#include "ui/files/FileMenu.h"

#include <QAction>
#include <QWidget>

namespace zorv {

FileMenu::FileMenu(PageHost& host, QWidget* window)
    : files_(host), print_(host, *window), export_(host) {
  const auto bind = [&](const char* name, void (FileMenu::*handler)()) {
    if (auto* action = window->findChild<QAction*>(name)) {
      QObject::connect(action, &QAction::triggered, &context_, [this, handler] { (this->*handler)(); });
    }
  };
  bind("Open1", &FileMenu::Open1Click);
  bind("Save1", &FileMenu::Save1Click);
  bind("Print1", &FileMenu::Print1Click);
  bind("Export1", &FileMenu::Export1Click);
  bind("CompareWithFile1", &FileMenu::CompareWithFile1Click);
}

}  // namespace zorv
