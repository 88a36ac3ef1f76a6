#pragma once
// The gate of TabbedNotebook1 on the Zorv product page. "Custom" needs a joystick type that
// has custom buttons and a password, "Float Modes" a password, "Remote/Slave" a six- or
// eight-button joystick. The entries typed are kept for the window's life only, never saved;
// a wrong one is offered again, a correct one opens its page without asking until the end.
#include <QString>
#include <functional>

#include "ui/PageHost.h"

namespace zorv {

class PageGate {
 public:
  explicit PageGate(PageHost& host) : host_(host) {}

  // The gate for the notebook (GatedTabWidget::SetGate): true lets it show the page. The
  // function refers to this object, which must outlive the notebook's use of it.
  std::function<bool(int)> AsGate();

  // Called before the notebook shows `newPage`; leaves `allowChange` false to keep the page.
  void TabbedNotebook1Change(int newPage, bool& allowChange);

 private:
  bool AskPassword(QString& entry, const QString& caption, const QString& password);

  PageHost& host_;
  QString customEntry_;
  QString floatEntry_;
};

}  // namespace zorv
