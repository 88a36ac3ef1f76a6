#pragma once
// The gate of TabbedNotebook1 on the Zorv product page. "Custom" needs a joystick type that
// has custom buttons and a password, "Float Modes" a password, "Remote/Slave" a six- or
// eight-button joystick. The entries typed are kept for the window's life only, never saved;
// a wrong one is offered again, a correct one opens its page without asking until the end.
#include <QString>

#include "ui/PageHost.h"

namespace zorv {

class GatedTabWidget;

// Pages of TabbedNotebook1.
namespace zorvtab {
inline constexpr int kJoysticks = 0;
inline constexpr int kGlobal = 1;
inline constexpr int kHoist = 2;
inline constexpr int kPlow = 3;
inline constexpr int kWing = 4;
inline constexpr int kBlade = 5;
inline constexpr int kCustom = 6;
inline constexpr int kFloatModes = 7;
inline constexpr int kRemoteSlave = 8;
}  // namespace zorvtab

class PageGate {
 public:
  explicit PageGate(PageHost& host) : host_(host) {}

  // Lets `notebook` ask this gate before it shows another page.
  void Install(GatedTabWidget& notebook);

  // Called before the notebook shows `newPage`; leaves `allowChange` false to keep the page.
  void TabbedNotebook1Change(int newPage, bool& allowChange);

 private:
  bool AskPassword(QString& entry, const QString& caption, const QString& password);

  PageHost& host_;
  QString customEntry_;
  QString floatEntry_;
};

}  // namespace zorv
