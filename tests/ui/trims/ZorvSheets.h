#pragma once
// Zorv tabs on their own sheets over a FakePageHost, shown as the window shows them, with the
// start-up refresh done; plus the layout check at the sheet's size.
#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/FakePageHost.h"
#include "tests/ui/SheetCheck.h"

namespace zorv::test {

inline constexpr int kSheetWidth = 570;
inline constexpr int kSheetHeight = 360;

class ZorvSheets {
 public:
  template <class Tab>
  Tab& Add() {
    auto sheet = std::make_unique<QWidget>();
    sheet->resize(kSheetWidth, kSheetHeight);
    auto tab = std::make_shared<Tab>(host, sheet.get());  // the window owns its tabs
    host.refresher().AddZorvTarget(tab.get());
    sheet->show();
    sheets.push_back(std::move(sheet));
    tabs.push_back(tab);
    return *tab;
  }

  // The refresh the window runs at start-up.
  void Start() {
    host.RefreshControls(1);
    QApplication::processEvents();
  }

  template <class T>
  T* Find(const char* name) {
    for (auto& sheet : sheets) {
      if (T* w = sheet->findChild<T*>(name)) return w;
    }
    ADD_FAILURE() << "no control named " << name;
    return nullptr;
  }

  FakePageHost host;
  std::vector<std::unique_ptr<QWidget>> sheets;
  std::vector<std::shared_ptr<void>> tabs;
};

// The sheet at the window's size is readable and fits it; saves /tmp/zorv-<name>.png.
inline void CheckSheet(QWidget& sheet, const std::string& name) {
  sheet.resize(kSheetWidth, kSheetHeight);
  ExpectReadable(sheet, QString::fromStdString("/tmp/zorv-" + name + ".png"),
                 {kSheetWidth, kSheetHeight});
}

}  // namespace zorv::test
