#pragma once
// The editing handlers of the button pages: mode drop-downs, label edits, the trigger and
// multi-mode boxes and the always-live drop-downs.
#include <QObject>
#include <memory>

#include "ButtonSlots.h"

class QWidget;

namespace zorv {

class PageHost;

class ButtonPageHandlers {
 public:
  // Binds the handlers to the controls; `dialogParent` owns the warning window while it shows.
  ButtonPageHandlers(PageHost& host, const ButtonPageControls& controls, QWidget* dialogParent);

  void FourButton1DropDownChange(QComboBox* sender);
  void SixButtonLabelEditChange(QLineEdit* sender);
  void ModeButtonsAreTriggerCheckboxClick(QCheckBox* sender);
  void MultiModeCheckboxClick(QCheckBox* sender);
  void alwaysliveChange();
  void alwayslive2Change();

 private:
  void AlwaysLiveChosen(QComboBox* sender, QComboBox* other);

  PageHost& host_;
  const ButtonPageControls& controls_;
  QWidget* dialogParent_;
  // The context of every connection: they end with these handlers, which the window destroys
  // before the controls (a focused edit's last focus-out must reach nothing freed).
  std::unique_ptr<QObject> context_;
};

}  // namespace zorv
