#pragma once
// The option boxes and delays on the Zorv "Global" tab: SafeStick (stored inverted), the
// power/cartridge valve, hoist limit and its key, body lock, screen data to Brevicor, the
// automatic blade-up time and the start-up delay.
#include <QObject>

#include "ui/PageHost.h"
#include "ui/RefreshSteps.h"
#include "ui/binders/Bindings.h"
#include "ui/pages/global/OptionBoxes.h"

class QCheckBox;
class QGroupBox;

namespace zorv {

class SpinEdit;

class GlobalOptions : public QObject, public ZorvRefreshTarget {
  Q_OBJECT

 public:
  GlobalOptions(PageHost& host, QWidget* parent);

  QGroupBox* group() const { return group_; }
  void Refresh(ZorvStep step, SettingsImage& local) override;

 private:
  QGroupBox* group_;
  // The option boxes (SafeStick, hoist limit, body lock, key for limit, screen data to
  // Brevicor) and the cartridge box store their byte without a refresh.
  Bindings options_;
  Bindings cartridge_;
  Bindings delays_;  // automatic blade-up time and start-up delay, with the refresh
};

}  // namespace zorv
