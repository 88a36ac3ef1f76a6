#pragma once
// "&Print": the printer setup dialog, then the report of the current settings to the chosen
// printer or PDF file, with the hourglass and the "Printing...." window while it runs.
#include "ui/PageHost.h"

class QWidget;

namespace zorv {

class PrintCommand {
 public:
  // `window` is where the drop-downs and `freqbar` the report shows are found.
  PrintCommand(PageHost& host, QWidget& window) : host_(host), window_(window) {}

  void Print1Click();

 private:
  PageHost& host_;
  QWidget& window_;
};

}  // namespace zorv
