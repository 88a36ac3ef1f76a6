#include "ButtonPagesView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include "Controls.h"
#include "image/Encodings.h"
#include "image/TextFields.h"

namespace zorv::buttonview {

namespace {

// Shows a stored label. An edit whose text already reads as that label is left alone, so a
// space typed at the end of the text (still trimmed away in the bytes) and the cursor stay
// while the user types.
void ShowLabel(QLineEdit* edit, const SettingsImage& local, std::size_t offset) {
  if (edit == nullptr) return;
  const std::string label = ReadLabel(local, offset);
  const std::string shown = TrimTextSpaces(edit->text().toUpper().toLatin1().toStdString());
  if (shown != label)
    edit->setText(QString::fromLatin1(label.data(), static_cast<qsizetype>(label.size())));
}

}  // namespace

void ShowModesAndLabels(const ButtonPageControls& controls, const SettingsImage& local) {
  for (const SlotControls& sc : controls.slotControls) {
    for (QComboBox* combo : {sc.four, sc.six, sc.eight, sc.slave}) {
      if (combo != nullptr) combo->setCurrentIndex(-1);
    }
  }
  for (int s = 0; s < kSlotCount; ++s) {
    const SlotControls& sc = controls.slotControls[s];
    const int item = ModeCodeToIndex(local[kButtonSlots[s].modeByte]);
    for (QComboBox* combo : {sc.four, sc.six, sc.eight, sc.slave}) {
      if (combo != nullptr) joystickui::SelectItem(combo, item);
    }
  }
  for (int s = 0; s < kSlotCount; ++s) {
    const SlotControls& sc = controls.slotControls[s];
    ShowLabel(sc.sixLabel, local, kButtonSlots[s].labelOffset);
    ShowLabel(sc.eightLabel, local, kButtonSlots[s].labelOffset);
  }
  ShowLabel(controls.alwayslivetext, local, zorvfield::AlwaysLiveLabel);
  ShowLabel(controls.alwayslivetext2, local, zorvfield::AlwaysLiveLabel);
}

void ShowAlwaysLive(const ButtonPageControls& controls, const SettingsImage& local) {
  joystickui::SelectItem(controls.alwayslive, local[zorvfield::AlwaysLiveMode]);
  joystickui::SelectItem(controls.alwayslive2, local[zorvfield::AlwaysLiveMode]);
}

void ShowTrigger(const ButtonPageControls& controls, const SettingsImage& local) {
  const bool trigger = local[zorvfield::ModeButtonsAreTrigger] != 0;
  for (QCheckBox* box : controls.trigger) box->setChecked(trigger);
  for (QCheckBox* box : controls.multi) box->setChecked(local[zorvfield::MultiMode] != 0);
  for (QCheckBox* box : controls.multi) box->setEnabled(trigger);
  for (QComboBox* combo : {controls.alwayslive, controls.alwayslive2}) {
    combo->setEnabled(trigger);
    if (!trigger) combo->setCurrentIndex(0);
  }
  for (QLineEdit* edit : {controls.alwayslivetext, controls.alwayslivetext2}) {
    edit->setEnabled(trigger);
    if (!trigger) edit->setText(QStringLiteral(" "));
  }
}

}  // namespace zorv::buttonview
