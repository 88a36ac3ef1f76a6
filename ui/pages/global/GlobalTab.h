#pragma once
// The "Global" tab of the Zorv product page: the valve PWM frequency, the valve type presets,
// the global trims with "Set All Trims", and the option boxes (GlobalOptions).
#include <QObject>
#include <memory>

#include "ui/PageHost.h"
#include "ui/RefreshSteps.h"
#include "ui/binders/Bindings.h"

class QComboBox;
class QLabel;
class QPushButton;
class QScrollBar;
class QWidget;

namespace zorv {

class GlobalOptions;

class GlobalTab : public QObject, public ZorvRefreshTarget {
  Q_OBJECT

 public:
  GlobalTab(PageHost& host, QWidget* sheet);
  ~GlobalTab() override;

  void Refresh(ZorvStep step, SettingsImage& local) override;

  void ValveComboBoxChange();
  void GlobalMinScrollBarChange();
  void GlobalMaxScrollbarChange();
  void GlobalButtonClick();

  GlobalOptions& options() { return *options_; }

 private:
  PageHost& host_;
  QScrollBar* freqBar_;
  QLabel* hertzLabel_;
  QComboBox* valveCombo_;
  QScrollBar* globalMinBar_;
  QScrollBar* globalMaxBar_;
  QLabel* globalMinLabel_;
  QLabel* globalMaxLabel_;
  QPushButton* globalButton_;
  std::unique_ptr<GlobalOptions> options_;
  // The frequency bar stores its byte without a refresh (which would move a bar being dragged to
  // the position its byte reads back as); a frequency of its own shows valve type "Other".
  Bindings frequency_;
};

}  // namespace zorv
