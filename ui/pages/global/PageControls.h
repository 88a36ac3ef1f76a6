#pragma once
// Small helpers for the check boxes and spin edits of the Zorv option tabs: how they are made
// and how the refresh shows a byte in them.
#include <QCheckBox>
#include <cstdint>

#include "ui/widgets/SpinEdit.h"

namespace zorv {

QCheckBox* MakeCheckBox(const char* name, const QString& caption, QWidget* parent);
SpinEdit* MakeSpinEdit(const char* name, int minimum, int maximum, QWidget* parent);

// An on/off byte: 1 shows checked; anything else shows unchecked and is stored back as 0.
void ShowFlag(QCheckBox* box, std::uint8_t& byte);

// Sets the spin edit only when it does not already show `value`, so a number the user is
// still typing (stored as typed, outside the range until he leaves the box) stays in the box.
void ShowSpinValue(SpinEdit* spin, int value);

}  // namespace zorv
