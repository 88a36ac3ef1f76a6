#pragma once
// Zorv tabs on their own sheets over a FakePageHost, shown as the window shows them, with the
// start-up refresh done; plus a check that a sheet's controls fit, unclipped and apart.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QWidget>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/FakePageHost.h"

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

// Every visible control lies inside its parent, apart from its siblings, and is wide enough
// for its text. Saves the picture as /tmp/zorv-<name>.png for a person to look at.
inline void CheckSheet(QWidget& sheet, const std::string& name) {
  sheet.resize(kSheetWidth, kSheetHeight);
  QApplication::processEvents();
  if (sheet.layout() != nullptr) {
    const QSize need = sheet.layout()->minimumSize();
    EXPECT_LE(need.width(), kSheetWidth) << name;
    if (need.width() > kSheetWidth) {
      for (QWidget* w : sheet.findChildren<QWidget*>()) {
        std::cerr << w->metaObject()->className() << " " << w->objectName().toStdString() << " min "
                  << w->minimumSizeHint().width() << " hint " << w->sizeHint().width() << "\n";
      }
    }
    EXPECT_LE(need.height(), kSheetHeight) << name;
  }
  const auto widgets = sheet.findChildren<QWidget*>();
  for (QWidget* w : widgets) {
    if (!w->isVisibleTo(&sheet) || w->objectName().startsWith("qt_")) continue;
    QWidget* parent = w->parentWidget();
    EXPECT_TRUE(parent->rect().contains(w->geometry()))
        << name << ": " << w->metaObject()->className() << " '" << w->objectName().toStdString()
        << "' leaves its parent";
    const auto* label = qobject_cast<QLabel*>(w);
    const auto* push = qobject_cast<QPushButton*>(w);
    int need = 0;
    if (label != nullptr && !label->wordWrap()) need = label->minimumSizeHint().width();
    if (push != nullptr) need = push->fontMetrics().horizontalAdvance(push->text()) + 8;
    if (push == nullptr && qobject_cast<QAbstractButton*>(w) != nullptr) {
      need = w->minimumSizeHint().width();
    }
    EXPECT_GE(w->width(), need) << name << ": '" << w->objectName().toStdString() << "' clipped";
    for (QWidget* other : widgets) {
      if (other == w || other->parentWidget() != parent || !other->isVisibleTo(&sheet) ||
          other->objectName().startsWith("qt_") || other->isWindow() || w->isWindow()) {
        continue;
      }
      EXPECT_FALSE(w->geometry().intersects(other->geometry()))
          << name << ": '" << w->objectName().toStdString() << "' overlaps '"
          << other->objectName().toStdString() << "'";
    }
  }
  sheet.grab().save(QString::fromStdString("/tmp/zorv-" + name + ".png"));
}

}  // namespace zorv::test
