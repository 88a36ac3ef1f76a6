#pragma once
// Small builders for the controls of the joystick pages, so every control gets its object name
// and items in one line.
#include <QString>
#include <array>
#include <cstddef>
#include <cstdint>

#include "image/SettingsImage.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QWidget;

namespace zorv::joystickui {

// A drop-down list (no free text) with the first `count` of `items`.
template <typename List>
QComboBox* MakeDropDown(QWidget* parent, const char* name, const List& items, int count = -1);
QComboBox* MakeDropDownOf(QWidget* parent, const char* name, const char* const* items, int count);
QLabel* MakeCaption(QWidget* parent, const QString& text, const char* name = nullptr);
QCheckBox* MakeCheckBox(QWidget* parent, const char* name, const QString& caption);

// Selects `index`, or no item when the list has no such item; fires no handler.
void SelectItem(QComboBox* combo, int index);

// Stores the selected item number at `offset`; false (and nothing stored) without a selection.
bool StoreItem(SettingsImage& image, std::size_t offset, const QComboBox* combo);
// Stores the code of the selected item; false without a selection.
template <std::size_t N>
bool StoreCode(SettingsImage& image, std::size_t offset, const QComboBox* combo,
               const std::array<std::uint8_t, N>& codes);
int SelectedItem(const QComboBox* combo);

template <typename List>
QComboBox* MakeDropDown(QWidget* parent, const char* name, const List& items, int count) {
  const int n = count < 0 ? static_cast<int>(items.size()) : count;
  return MakeDropDownOf(parent, name, items.data(), n);
}

template <std::size_t N>
bool StoreCode(SettingsImage& image, std::size_t offset, const QComboBox* combo,
               const std::array<std::uint8_t, N>& codes) {
  const int item = SelectedItem(combo);
  if (item < 0 || item >= static_cast<int>(N)) return false;
  image[offset] = codes[static_cast<std::size_t>(item)];
  return true;
}

}  // namespace zorv::joystickui
