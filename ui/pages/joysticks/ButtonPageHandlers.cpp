#include "ButtonPageHandlers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

#include "TaliveForm.h"
#include "image/TextFields.h"
#include "image/ZorvLayout.h"
#include "ui/PageHost.h"

namespace zorv {

ButtonPageHandlers::ButtonPageHandlers(PageHost& host, const ButtonPageControls& controls,
                                       QWidget* sheet)
    : host_(host),
      controls_(controls),
      sheet_(sheet),
      labels_(host, Bindings::AfterStore::Refresh, Bindings::Typing::StoredAsTyped),
      modes_(host),
      trigger_(host, Bindings::AfterStore::Nothing),
      multi_(host, Bindings::AfterStore::Nothing),
      alwaysLive_(host, Bindings::AfterStore::Nothing) {
  for (const Setting& row : CatalogueOf(Layout::Zorv)) {
    if (row.group != "Button modes" && row.key != "zorv.button.always_live.label") continue;
    if (row.encoding == Encoding::Text) {
      labels_.BindKeys(Layout::Zorv, {row.key.c_str()}, sheet);
      continue;
    }
    modes_.BindKeys(Layout::Zorv, {row.key.c_str()}, sheet);
    for (std::size_t s = 0; s < kButtonSlots.size(); ++s) {
      if (kButtonSlots[s].modeByte != row.ranges.front().offset) continue;
      modes_.OnStored(row.key, [this, s](const Shown& mode) { ModeChosen(s, mode); });
    }
  }
  trigger_.BindKeys(Layout::Zorv, {"zorv.button.trigger"}, sheet);
  trigger_.OnStored("zorv.button.trigger",
                    [this](const Shown& trigger) { TriggerChanged(trigger.position == 1); });
  multi_.BindKeys(Layout::Zorv, {"zorv.button.multi_mode"}, sheet);
  alwaysLive_.BindKeys(Layout::Zorv, {"zorv.button.always_live.mode"}, sheet);
  alwaysLive_.OnStored("zorv.button.always_live.mode",
                       [this](const Shown& item) { AlwaysLiveChosen(item.position); });
}

void ButtonPageHandlers::ShowModesAndLabels(const SettingsImage& local) const {
  modes_.Show(local);
  labels_.Show(local);
}

void ButtonPageHandlers::ShowAlwaysLive(const SettingsImage& local) const {
  alwaysLive_.Show(local);
}

void ButtonPageHandlers::ShowTrigger(const SettingsImage& local) const {
  trigger_.Show(local);
  multi_.Show(local);
  const bool trigger = local[zorvfield::ModeButtonsAreTrigger] != 0;
  for (QCheckBox* box : controls_.multi) box->setEnabled(trigger);
  for (QComboBox* combo : {controls_.alwayslive, controls_.alwayslive2}) {
    combo->setEnabled(trigger);
    if (!trigger) combo->setCurrentIndex(0);
  }
  for (QLineEdit* edit : {controls_.alwayslivetext, controls_.alwayslivetext2}) {
    edit->setEnabled(trigger);
    // Blank while the trigger is off; the label's bytes stay.
    const QSignalBlocker quiet(edit);
    if (!trigger) edit->setText(QStringLiteral(" "));
  }
}

void ButtonPageHandlers::ModeChosen(std::size_t slot, const Shown& mode) {
  // Setting the text runs the label's binder, which stores the mode's name as the slot's label,
  // also when the sender's page shows no label edit.
  const QString name = QString::fromStdString(mode.text);
  for (QLineEdit* edit :
       {controls_.slotControls[slot].sixLabel, controls_.slotControls[slot].eightLabel}) {
    if (edit != nullptr) edit->setText(name);
  }
}

void ButtonPageHandlers::TriggerChanged(bool ticked) {
  if (!ticked) {
    // The bytes first: clearing the controls below runs other binders, which must find them set.
    SettingsImage& image = host_.Image();
    image[zorvfield::MultiMode] = 0;
    image[zorvfield::AlwaysLiveMode] = 0;
    WriteLabel(image, zorvfield::AlwaysLiveLabel, "");
  }
  for (QCheckBox* box : controls_.multi) {
    if (!ticked) box->setChecked(false);
    box->setEnabled(ticked);
  }
  for (QComboBox* combo : {controls_.alwayslive, controls_.alwayslive2}) {
    if (!ticked) combo->setCurrentIndex(0);
    combo->setEnabled(ticked);
  }
  for (QLineEdit* edit : {controls_.alwayslivetext, controls_.alwayslivetext2}) {
    edit->setEnabled(ticked);
    if (!ticked) edit->setText(QStringLiteral(" "));
  }
}

void ButtonPageHandlers::AlwaysLiveChosen(int item) {
  // Both drop-downs show the choice at once.
  for (QComboBox* combo : {controls_.alwayslive, controls_.alwayslive2}) {
    combo->setCurrentIndex(item);
  }
  if (item != 0) {
    // The choice stands whatever the user does in the warning.
    TaliveForm warning(sheet_);
    host_.prompts().ShowModal(warning);
  }
}

}  // namespace zorv
