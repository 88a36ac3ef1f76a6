#include "PageControls.h"

namespace zorv {

QCheckBox* MakeCheckBox(const char* name, const QString& caption, QWidget* parent) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(name);
  return box;
}

SpinEdit* MakeSpinEdit(const char* name, int minimum, int maximum, QWidget* parent) {
  auto* spin = new SpinEdit(parent);
  spin->setObjectName(name);
  spin->setRange(minimum, maximum);
  spin->setValue(minimum);
  spin->setFixedWidth(spin->fontMetrics().horizontalAdvance("0000") + 36);
  return spin;
}

void ShowFlag(QCheckBox* box, std::uint8_t& byte) {
  if (byte != 1) byte = 0;
  box->setChecked(byte == 1);
}

void ShowSpinValue(SpinEdit* spin, int value) {
  if (spin->value() != value) spin->setValue(value);
}

}  // namespace zorv
