#pragma once
// A list of on/off options built from catalogue rows: one check box a row, with the row's
// object name and caption, shown and stored by the row's encoding. Adding an option to such a
// list is adding a catalogue row.
#include <QCheckBox>
#include <vector>

#include "image/Catalogue.h"

namespace zorv {

struct OptionBox {
  QCheckBox* box;
  const Setting* row;
};

// One check box per row, created in row order (which is the Tab order).
std::vector<OptionBox> MakeOptionBoxes(const std::vector<const Setting*>& rows, QWidget* parent);

// Shows the row's byte in the box; a byte the box cannot show is stored back as "off".
void ShowOption(const OptionBox& option, SettingsImage& local);

// Stores the box's state in the row's byte.
void StoreOption(const OptionBox& option, SettingsImage& image);

}  // namespace zorv
