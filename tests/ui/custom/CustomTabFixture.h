#pragma once
// The "Custom" tab on a sheet of the window's size, registered with the real refresh.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QWidget>

#include "tests/support/FakePageHost.h"
#include "ui/pages/custom/CustomTab.h"

namespace zorv::test {

class CustomTabTest : public ::testing::Test {
 protected:
  CustomTabTest() {
    sheet.resize(570, 360);
    host.refresher().AddZorvTarget(&tab);
    host.RefreshControls(1);
  }

  template <typename T>
  T* Find(const QString& name) {
    T* w = sheet.findChild<T*>(name);
    EXPECT_NE(w, nullptr) << name.toStdString();
    return w;
  }

  // What the joystick tab does when the joystick type changes: the byte, then a refresh.
  void SetJoystickType(std::uint8_t type) {
    host.image[33] = type;
    host.RefreshControls(0);
  }

  // Chooses an item of a drop-down as the user does.
  static void Choose(QComboBox* combo, int index) {
    combo->setCurrentIndex(index);
    emit combo->activated(index);
  }

  FakePageHost host;
  QWidget sheet;
  CustomTab tab{host, &sheet};
};

}  // namespace zorv::test
