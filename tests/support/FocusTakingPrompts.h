#pragma once
// Scripted answers, but every message is first a real message box that takes the focus from the
// window, as it does on a desktop: what a focus change does to the window's boxes is then real.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>

#include "tests/support/ScriptedPrompts.h"

namespace zorv::test {

inline void Activate(QWidget* window) {
  window->activateWindow();
  QApplication::setActiveWindow(window);
  QApplication::processEvents();
}

class FocusTakingPrompts final : public Prompts {
 public:
  explicit FocusTakingPrompts(ScriptedPrompts& script) : script_(script) {}
  void Message(Kind kind, const QString& title, const QString& text) override {
    QWidget* before = QApplication::activeWindow();
    {
      QMessageBox box(QMessageBox::Information, title, text, QMessageBox::Ok, before);
      box.show();
      Activate(&box);
      EXPECT_EQ(QApplication::activeWindow(), &box);
    }
    QApplication::processEvents();
    script_.Message(kind, title, text);
  }
  bool Confirm(const QString& t, const QString& x) override { return script_.Confirm(t, x); }
  std::optional<QString> QueryText(const QString& c, const QString& p, const QString& i) override {
    return script_.QueryText(c, p, i);
  }
  QString OpenFileName(const QString& c, const QString& i, const QString& f) override {
    return script_.OpenFileName(c, i, f);
  }
  QString SaveFileName(const QString& c, const QString& i, const QString& f) override {
    return script_.SaveFileName(c, i, f);
  }
  bool SetUpPrinter(QPrinter& printer) override { return script_.SetUpPrinter(printer); }
  int ShowModal(QDialog& dialog) override { return script_.ShowModal(dialog); }

 private:
  ScriptedPrompts& script_;
};

}  // namespace zorv::test
