#include "SpinEdits.h"

#include <QLineEdit>

#include "ui/widgets/SpinEdit.h"

namespace zorv {

SpinEdit* MakeSpinEdit(QWidget* parent, const QString& name, int minimum, int maximum, int value) {
  auto* spin = new SpinEdit(parent);
  spin->setObjectName(name);
  spin->setRange(minimum, maximum);
  spin->setValue(value);
  return spin;
}

SpinEdit* MakeArrowSpinEdit(QWidget* parent, const QString& name, int minimum, int maximum,
                            int value) {
  SpinEdit* spin = MakeSpinEdit(parent, name, minimum, maximum, value);
  if (auto* edit = spin->findChild<QLineEdit*>()) edit->setReadOnly(true);
  // Room for the widest number beside the arrows.
  constexpr int kArrowsAndFrame = 32;
  spin->setMinimumWidth(spin->fontMetrics().horizontalAdvance(QString::number(maximum) + "0") +
                        kArrowsAndFrame);
  return spin;
}

}  // namespace zorv
