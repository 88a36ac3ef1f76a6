#pragma once
// Changing a control as a user changes it: a click, an arrow step on a bar or a spin edit,
// another drop-down item, typed text left with Enter.
#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QScrollBar>

#include "tests/support/DelegatingPrompts.h"
#include "ui/widgets/SpinEdit.h"

namespace zorv::test {

// The window's prompts, but the warning a user answers with OK when he chooses an always-live
// function is answered so.
class AcceptAlwaysLivePrompts final : public DelegatingPrompts {
 public:
  using DelegatingPrompts::DelegatingPrompts;
  int ShowModal(QDialog& dialog) override {
    if (dialog.windowTitle() == "Always Live Mode Warning") return QDialog::Accepted;
    return DelegatingPrompts::ShowModal(dialog);
  }
};

// Changes `control` as a user would; false for a control the user cannot change.
inline bool ChangeAsAUser(QObject* control) {
  if (auto* button = qobject_cast<QAbstractButton*>(control)) {
    if (!button->isCheckable()) return false;
    button->click();
  } else if (auto* bar = qobject_cast<QScrollBar*>(control)) {
    bar->triggerAction(bar->value() < bar->maximum() ? QAbstractSlider::SliderSingleStepAdd
                                                     : QAbstractSlider::SliderSingleStepSub);
  } else if (auto* spin = qobject_cast<SpinEdit*>(control)) {
    spin->stepBy(spin->value() < spin->maximum() ? 1 : -1);
  } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
    if (combo->isEditable() || combo->count() < 2) return false;
    const int item = (combo->currentIndex() + 1) % combo->count();
    combo->setCurrentIndex(item);
    emit combo->activated(item);
  } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
    if (edit->isReadOnly()) return false;
    bool number = false;
    const int value = edit->text().toInt(&number);
    edit->setText(number ? QString::number(value + 1) : edit->text() == "K7" ? "M8" : "K7");
    edit->setModified(true);  // typed, as keys would mark it
    emit edit->editingFinished();  // Enter
  } else {
    return false;
  }
  return true;
}

}  // namespace zorv::test
