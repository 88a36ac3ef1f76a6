#pragma once
// A list of on/off options built from catalogue rows: one check box a row, with the row's
// object name and caption. A Bindings object then shows and stores them by the rows, so adding
// an option to such a list is adding a catalogue row.
#include <QCheckBox>
#include <vector>

#include "image/Catalogue.h"

namespace zorv {

// One check box per row, created in row order (which is the Tab order).
std::vector<QCheckBox*> MakeOptionBoxes(const std::vector<const Setting*>& rows, QWidget* parent);

}  // namespace zorv
