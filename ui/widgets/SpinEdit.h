#pragma once
// A spin edit that keeps a typed number as typed, even outside its range, until it loses the
// focus; then it moves the number to the nearer end of the range. Empty or non-numeric text
// counts as the minimum. valueChanged fires on every change of the value, typed or set; the
// value is the typed number held to the range, so what is stored is what the box will show.
// Losing the focus to another window neither clamps nor finishes the edit.
#include <QAbstractSpinBox>

namespace zorv {

class SpinEdit : public QAbstractSpinBox {
  Q_OBJECT

 public:
  explicit SpinEdit(QWidget* parent = nullptr);

  int value() const;
  int minimum() const { return minimum_; }
  int maximum() const { return maximum_; }
  // Changing the range does not change the text.
  void setRange(int minimum, int maximum);
  // Sets the text; the value is held to the range unless minimum equals maximum.
  void setValue(int value);

  void stepBy(int steps) override;
  QValidator::State validate(QString& input, int& pos) const override;
  void fixup(QString& input) const override;

 signals:
  void valueChanged(int value);

 protected:
  StepEnabled stepEnabled() const override;
  void focusOutEvent(QFocusEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void OnTextEdited();
  // Holds a typed number to the range and finishes the edit, as leaving the box does.
  void Finish();
  int Clamp(int v) const;

  int minimum_ = 0;
  int maximum_ = 100;
  int lastValue_ = 0;
};

}  // namespace zorv
