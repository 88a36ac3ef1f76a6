#include "ButtonPageHandlers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include "TaliveForm.h"
#include "image/Encodings.h"
#include "image/TextFields.h"
#include "ui/PageHost.h"
#include "ui/widgets/BoxExit.h"

namespace zorv {

namespace {

// Slot of a mode drop-down; -1 when it is none of them.
int SlotOfDropDown(const ButtonPageControls& c, const QComboBox* combo) {
  for (int s = 0; s < kSlotCount; ++s) {
    const SlotControls& sc = c.slotControls[s];
    if (combo == sc.four || combo == sc.six || combo == sc.eight || combo == sc.slave) return s;
  }
  return -1;
}

// Label bytes written by a label edit; 0 when it is none of them.
std::size_t LabelOfEdit(const ButtonPageControls& c, const QLineEdit* edit) {
  if (edit == c.alwayslivetext || edit == c.alwayslivetext2) return zorvfield::AlwaysLiveLabel;
  for (int s = 0; s < kSlotCount; ++s) {
    if (edit == c.slotControls[s].sixLabel || edit == c.slotControls[s].eightLabel) {
      return kButtonSlots[s].labelOffset;
    }
  }
  return 0;
}

}  // namespace

ButtonPageHandlers::ButtonPageHandlers(PageHost& host, const ButtonPageControls& controls,
                                       QWidget* dialogParent)
    : host_(host), controls_(controls), dialogParent_(dialogParent), context_(std::make_unique<QObject>()) {
  for (const SlotControls& sc : controls_.slotControls) {
    for (QComboBox* combo : {sc.four, sc.six, sc.eight, sc.slave}) {
      if (combo == nullptr) continue;
      QObject::connect(combo, &QComboBox::activated, context_.get(),
                       [this, combo](int) { FourButton1DropDownChange(combo); });
    }
  }
  std::vector<QLineEdit*> edits = {controls_.alwayslivetext, controls_.alwayslivetext2};
  for (const SlotControls& sc : controls_.slotControls) {
    if (sc.sixLabel != nullptr) edits.push_back(sc.sixLabel);
    if (sc.eightLabel != nullptr) edits.push_back(sc.eightLabel);
  }
  for (QLineEdit* edit : edits) {
    QObject::connect(edit, &QLineEdit::textChanged, context_.get(),
                     [this, edit] { SixButtonLabelEditChange(edit); });
    OnBoxExit(edit, context_.get(), [this, edit] { SixButtonLabelEditChange(edit); });
  }
  for (QCheckBox* box : controls_.trigger) {
    QObject::connect(box, &QCheckBox::toggled, context_.get(),
                     [this, box] { ModeButtonsAreTriggerCheckboxClick(box); });
  }
  for (QCheckBox* box : controls_.multi) {
    QObject::connect(box, &QCheckBox::toggled, context_.get(), [this, box] { MultiModeCheckboxClick(box); });
  }
  QObject::connect(controls_.alwayslive, &QComboBox::activated, context_.get(),
                   [this](int) { alwaysliveChange(); });
  QObject::connect(controls_.alwayslive2, &QComboBox::activated, context_.get(),
                   [this](int) { alwayslive2Change(); });
}

void ButtonPageHandlers::FourButton1DropDownChange(QComboBox* sender) {
  const int s = SlotOfDropDown(controls_, sender);
  if (s < 0 || sender->currentIndex() < 0) return;
  const int code = IndexToModeCode(sender->currentIndex());
  host_.Image()[kButtonSlots[s].modeByte] = static_cast<std::uint8_t>(code);
  // Setting the text runs the label rule, which stores the mode's name as the slot's label,
  // also when the sender's page shows no label edit.
  const QString name = QString::fromLatin1(kModeNames[static_cast<std::size_t>(code)].data());
  for (QLineEdit* edit :
       {controls_.slotControls[s].sixLabel, controls_.slotControls[s].eightLabel}) {
    if (edit != nullptr) edit->setText(name);
  }
  host_.RefreshControls(0);
}

void ButtonPageHandlers::SixButtonLabelEditChange(QLineEdit* sender) {
  const std::size_t offset = LabelOfEdit(controls_, sender);
  if (offset == 0) return;
  WriteLabel(host_.Image(), offset, sender->text().toLatin1().toStdString());
  host_.RefreshControls(0);
}

void ButtonPageHandlers::ModeButtonsAreTriggerCheckboxClick(QCheckBox* sender) {
  const bool ticked = sender->isChecked();
  SettingsImage& image = host_.Image();
  image[zorvfield::ModeButtonsAreTrigger] = ticked ? 1 : 0;
  if (!ticked) {
    // The bytes first: clearing the controls below runs other handlers, which must find them set.
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

void ButtonPageHandlers::MultiModeCheckboxClick(QCheckBox* sender) {
  host_.Image()[zorvfield::MultiMode] = sender->isChecked() ? 1 : 0;
}

void ButtonPageHandlers::alwaysliveChange() {
  AlwaysLiveChosen(controls_.alwayslive, controls_.alwayslive2);
}

void ButtonPageHandlers::alwayslive2Change() {
  AlwaysLiveChosen(controls_.alwayslive2, controls_.alwayslive);
}

void ButtonPageHandlers::AlwaysLiveChosen(QComboBox* sender, QComboBox* other) {
  const int item = sender->currentIndex();
  if (item < 0) return;
  host_.Image()[zorvfield::AlwaysLiveMode] = static_cast<std::uint8_t>(item);
  other->setCurrentIndex(item);
  if (item != 0) {
    // The choice stands whatever the user does in the warning.
    TaliveForm warning(dialogParent_);
    host_.prompts().ShowModal(warning);
  }
}

}  // namespace zorv
