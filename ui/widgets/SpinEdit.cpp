#include "SpinEdit.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <algorithm>

#include "ui/widgets/BoxExit.h"

namespace zorv {

SpinEdit::SpinEdit(QWidget* parent) : QAbstractSpinBox(parent) {
  setKeyboardTracking(true);
  setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
  lineEdit()->setText(QString::number(minimum_));
  lastValue_ = minimum_;
  connect(lineEdit(), &QLineEdit::textChanged, this, &SpinEdit::OnTextEdited);
}

int SpinEdit::value() const {
  bool ok = false;
  const int v = lineEdit()->text().trimmed().toInt(&ok);
  // What the box will show once left: a handler never stores a number the box then replaces.
  return ok ? Clamp(v) : minimum_;
}

void SpinEdit::setRange(int minimum, int maximum) {
  minimum_ = minimum;
  maximum_ = std::max(minimum, maximum);
  update();
}

int SpinEdit::Clamp(int v) const {
  if (minimum_ == maximum_) return v;  // a fixed range shows any value as it is
  return std::clamp(v, minimum_, maximum_);
}

void SpinEdit::setValue(int value) {
  const QString text = QString::number(Clamp(value));
  if (lineEdit()->text() != text) lineEdit()->setText(text);
}

void SpinEdit::stepBy(int steps) {
  setValue(Clamp(value()) + steps);
  selectAll();
}

QValidator::State SpinEdit::validate(QString& input, int& /*pos*/) const {
  const QString t = input.trimmed();
  if (t.isEmpty() || t == "-" || t == "+") return QValidator::Intermediate;
  bool ok = false;
  t.toInt(&ok);
  return ok ? QValidator::Acceptable : QValidator::Invalid;
}

void SpinEdit::fixup(QString& /*input*/) const {
  // Text that is not a number stays as it is and counts as the minimum.
}

QAbstractSpinBox::StepEnabled SpinEdit::stepEnabled() const {
  if (isReadOnly() || !isEnabled()) return StepNone;
  StepEnabled enabled = StepNone;
  if (value() < maximum_) enabled |= StepUpEnabled;
  if (value() > minimum_) enabled |= StepDownEnabled;
  return enabled;
}

void SpinEdit::focusOutEvent(QFocusEvent* event) {
  // The base class would reinterpret the text; keep it, then hold the number to the range.
  // The line edit hears of it too, or its cursor would keep blinking in a box the user left.
  QCoreApplication::sendEvent(lineEdit(), event);
  QWidget::focusOutEvent(event);
  // Another window took the focus: the typed text stays, for when the user leaves it here.
  if (FocusLeavesWindow(*event)) return;
  Finish();
}

bool SpinEdit::event(QEvent* event) {
  if (IsCommitRequest(*event)) {
    event->accept();
    Finish();
    return true;
  }
  return QAbstractSpinBox::event(event);
}

void SpinEdit::Finish() {
  bool ok = false;
  const int typed = lineEdit()->text().trimmed().toInt(&ok);
  if (ok && Clamp(typed) != typed) setValue(typed);
  emit editingFinished();
}

void SpinEdit::OnTextEdited() {
  const int v = value();
  if (v == lastValue_) return;
  lastValue_ = v;
  emit valueChanged(v);
}

}  // namespace zorv
