#pragma once
// Spin edits of the Custom and Remote/Slave tabs and the switch-group window, made in one line
// with their object name, range and first value.
#include <QString>

class QWidget;

namespace zorv {

class SpinEdit;

SpinEdit* MakeSpinEdit(QWidget* parent, const QString& name, int minimum, int maximum, int value);
// Changed with its arrows (buttons, keys, wheel) only; typing is refused.
SpinEdit* MakeArrowSpinEdit(QWidget* parent, const QString& name, int minimum, int maximum,
                            int value);

}  // namespace zorv
