#pragma once
// The "Float Modes" tab of the Zorv product page: the output and the name of each of the four
// system floats, the float delay, the double-acting float and the pressure-holding float.
#include <QObject>

#include "ui/PageHost.h"
#include "ui/RefreshSteps.h"
#include "ui/binders/Bindings.h"

class QWidget;

namespace zorv {

class FloatsTab : public QObject, public ZorvRefreshTarget {
  Q_OBJECT

 public:
  FloatsTab(PageHost& host, QWidget* sheet);

  void Refresh(ZorvStep step, SettingsImage& local) override;

 private:
  // Every control is bound to its catalogue row, in four sets that differ in when they store
  // and when the refresh shows them.
  Bindings floats_;  // the outputs and names two to four
  Bindings float1_;  // name one
  Bindings flags_;   // double-acting and pressure-holding float
  Bindings delay_;   // float delay
};

}  // namespace zorv
