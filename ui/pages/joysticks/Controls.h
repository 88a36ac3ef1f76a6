#pragma once
// Small builders for the controls of the joystick pages, so every control gets its object name
// and items in one line.
#include <QString>
#include <initializer_list>

class QCheckBox;
class QComboBox;
class QLabel;
class QWidget;

namespace zorv::joystickui {

// A drop-down list (no free text) with the first `count` of `items`.
template <typename List>
QComboBox* MakeDropDown(QWidget* parent, const char* name, const List& items,
                        int count = -1);
QComboBox* MakeDropDownOf(QWidget* parent, const char* name, const char* const* items, int count);
QLabel* MakeCaption(QWidget* parent, const QString& text, const char* name = nullptr);
QCheckBox* MakeCheckBox(QWidget* parent, const char* name, const QString& caption);

// Selects `index`, or no item when the list has no such item; fires no handler.
void SelectItem(QComboBox* combo, int index);

template <typename List>
QComboBox* MakeDropDown(QWidget* parent, const char* name, const List& items, int count) {
  const int n = count < 0 ? static_cast<int>(items.size()) : count;
  return MakeDropDownOf(parent, name, items.data(), n);
}

}  // namespace zorv::joystickui
