#pragma once
// A tab of the Zorv page on a sheet of the window's size, registered with the real refresh over
// a fake window host, with the user's ways of finding and choosing.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QWidget>

#include "tests/support/FakePageHost.h"

namespace zorv::test {

template <typename Tab>
class TabSheet {
 public:
  TabSheet() {
    sheet.resize(570, 360);
    host.refresher().AddZorvTarget(&tab);
    host.RefreshControls(1);
  }

  template <typename T>
  T* Find(const QString& name) {
    T* w = sheet.template findChild<T*>(name);
    EXPECT_NE(w, nullptr) << "no control named " << name.toStdString();
    return w;
  }

  // Chooses an item of a drop-down as the user does.
  static void Choose(QComboBox* combo, int index) {
    combo->setCurrentIndex(index);
    emit combo->activated(index);
  }

  FakePageHost host;
  QWidget sheet;
  Tab tab{host, &sheet};
};

// The same as a test fixture.
template <typename Tab>
class TabTest : public ::testing::Test, public TabSheet<Tab> {};

}  // namespace zorv::test
