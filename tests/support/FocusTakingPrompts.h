#pragma once
// Scripted answers, but every message is first a real message box that takes the focus from the
// window, as it does on a desktop: what a focus change does to the window's boxes is then real.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>

#include "tests/support/DelegatingPrompts.h"

namespace zorv::test {

inline void Activate(QWidget* window) {
  window->activateWindow();
  QApplication::setActiveWindow(window);
  QApplication::processEvents();
}

class FocusTakingPrompts final : public DelegatingPrompts {
 public:
  using DelegatingPrompts::DelegatingPrompts;
  void Message(Kind kind, const QString& title, const QString& text) override {
    QWidget* before = QApplication::activeWindow();
    {
      QMessageBox box(QMessageBox::Information, title, text, QMessageBox::Ok, before);
      box.show();
      Activate(&box);
      EXPECT_EQ(QApplication::activeWindow(), &box);
    }
    QApplication::processEvents();
    DelegatingPrompts::Message(kind, title, text);
  }
};

}  // namespace zorv::test
