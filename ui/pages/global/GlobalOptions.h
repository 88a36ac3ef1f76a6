#pragma once
// The option boxes and delays on the Zorv "Global" tab: SafeStick (stored inverted), the
// power/cartridge valve, hoist limit and its key, body lock, screen data to Brevicor, the
// automatic blade-up time and the start-up delay.
#include <QObject>

#include "ui/PageHost.h"
#include "ui/RefreshSteps.h"

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

  void safestickboxClick();
  void cartridgeboxClick();
  void hoistlimitenableClick();
  void screen_to_BRClick();
  void bodylockenableClick();
  void hoistlimitkeyClick();
  void bladeuptimeChange();
  void startupdelayChange();

 private:
  void StoreFlag(std::size_t offset, const QCheckBox* box);

  PageHost& host_;
  QGroupBox* group_;
  QCheckBox* safestickbox_;
  QCheckBox* cartridgebox_;
  QCheckBox* hoistlimitenable_;
  QCheckBox* screenToBR_;
  QCheckBox* bodylockenable_;
  QCheckBox* hoistlimitkey_;
  SpinEdit* bladeuptime_;
  SpinEdit* startupdelay_;
};

}  // namespace zorv
