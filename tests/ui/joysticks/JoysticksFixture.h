#pragma once
// The "Joysticks" tab on a sheet of the window's size, over the real refresh, with helpers that
// act as the user does.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QStackedWidget>
#include <QTest>
#include <QWidget>
#include <string>

#include "image/TextFields.h"
#include "tests/ui/TabFixture.h"
#include "ui/pages/joysticks/JoysticksTab.h"

namespace zorv::test {

class JoysticksFixture : public TabSheet<JoysticksTab> {
 public:
  JoysticksFixture() { sheet.show(); }

  QComboBox* Combo(const char* name) { return Find<QComboBox>(name); }
  QCheckBox* Box(const char* name) { return Find<QCheckBox>(name); }
  QLineEdit* Edit(const char* name) { return Find<QLineEdit>(name); }
  QLabel* Label(const char* name) { return Find<QLabel>(name); }

  void ChooseJoystick(int item) { Choose(Combo("JoystickCombo"), item); }

  // Puts bytes into the image and shows it, as opening a switch file would.
  void Load(std::initializer_list<std::pair<std::size_t, int>> bytes) {
    for (auto [offset, value] : bytes) host.image[offset] = static_cast<std::uint8_t>(value);
    host.RefreshControls(1);
  }

  std::string LabelBytes(std::size_t offset) const {
    return std::string(reinterpret_cast<const char*>(&host.image.bytes[offset]), 9);
  }
  int Page() const { return tab.JoystickNotebook->currentIndex(); }
};

// Nine label bytes: eight characters and the zero byte.
inline std::string Label9(const char* eight) {
  return std::string(eight) + '\0';
}

}  // namespace zorv::test
