#pragma once
// The option boxes and delays on the Zorv "Global" tab: SafeStick (stored inverted), the
// power/cartridge valve, hoist limit and its key, body lock, screen data to Brevicor, the
// automatic blade-up time and the start-up delay.
#include <QObject>
#include <vector>

#include "ui/PageHost.h"
#include "ui/RefreshSteps.h"
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

  // The shared handler of the option boxes (SafeStick, hoist limit, body lock, key for limit,
  // screen data to Brevicor): stores the box's byte; no refresh.
  void OptionBoxClick(const OptionBox& option);
  void cartridgeboxClick();
  void bladeuptimeChange();
  void startupdelayChange();

 private:
  PageHost& host_;
  QGroupBox* group_;
  std::vector<OptionBox> options_;  // one per catalogue row of the "Options" group
  QCheckBox* cartridgebox_;
  SpinEdit* bladeuptime_;
  SpinEdit* startupdelay_;
};

}  // namespace zorv
