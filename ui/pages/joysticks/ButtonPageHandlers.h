#pragma once
// The catalogue rows of the button pages ("4 Button HG", "6 Button HG", "8 Button HG",
// "Slave Mode"), bound to every page's controls: the mode drop-downs, the label edits, the
// trigger and multi-mode boxes and the always-live controls. What a change brings beyond its
// own byte is a hook here: a chosen mode names the slot's label, an unticked trigger clears
// multi mode and always live, an always-live choice shows the warning.
#include <QObject>

#include "ButtonSlots.h"
#include "ui/binders/Bindings.h"

class QWidget;

namespace zorv {

class PageHost;

class ButtonPageHandlers {
 public:
  // Binds the rows to the controls under `sheet`, which also owns the warning window.
  ButtonPageHandlers(PageHost& host, const ButtonPageControls& controls, QWidget* sheet);

  // The refresh's steps: modes and labels, always live, then the trigger with what it enables.
  void ShowModesAndLabels(const SettingsImage& local) const;
  void ShowAlwaysLive(const SettingsImage& local) const;
  void ShowTrigger(const SettingsImage& local) const;

 private:
  void ModeChosen(std::size_t slot, const Shown& mode);
  void TriggerChanged(bool ticked);
  void AlwaysLiveChosen(int item);

  PageHost& host_;
  const ButtonPageControls& controls_;
  QWidget* sheet_;
  // Bound before the modes: a chosen mode's name, set as the label edits' text, is stored
  // as typed and refreshes.
  Bindings labels_;
  Bindings modes_;    // then the refresh
  Bindings trigger_;  // the trigger, multi-mode and always-live rows store without a refresh
  Bindings multi_;
  Bindings alwaysLive_;
};

}  // namespace zorv
