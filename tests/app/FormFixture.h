#pragma once
// A main window on fake links, a fake clock (starting at 1000) and scripted prompts, with the
// settings in a private folder.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QTabWidget>
#include <memory>

#include "app/StatusStrip.h"
#include "app/ZorvForm.h"
#include "tests/app/FakeLink.h"
#include "tests/host/PrivateSettings.h"
#include "tests/support/FakeClock.h"
#include "tests/support/ScriptedPrompts.h"

namespace zorv::test {

class FormFixture : public ::testing::Test {
 protected:
  // Builds the window; with `create`, also runs the start-up (answering the about window).
  void MakeForm(bool create = true) {
    form = std::make_unique<TZorvForm>(prompts, clock, FakeLinkFactory(links), ports);
    if (create) {
      prompts.ExpectModal([](QDialog&) { return QDialog::Accepted; });
      form->FormCreate();
    }
  }

  // Builds and starts the window on `windowPrompts` (which may pass to `prompts`).
  void MakeFormWith(Prompts& windowPrompts) {
    form = std::make_unique<TZorvForm>(windowPrompts, clock, FakeLinkFactory(links), ports);
    prompts.ExpectModal([](QDialog&) { return QDialog::Accepted; });
    form->FormCreate();
  }

  template <typename T>
  T* Find(const char* name) const {
    T* widget = form->findChild<T*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  StatusStrip* Strip() const { return Find<StatusStrip>("BottomPanel"); }
  QPlainTextEdit* Log() const { return Find<QPlainTextEdit>("Memo1"); }
  QStackedWidget* Products() const { return Find<QStackedWidget>("ProductNotebook"); }
  QAction* Action(const char* name) const { return Find<QAction>(name); }
  QStringList LogLines() const {
    QString text = Log()->toPlainText();
    return text.isEmpty() ? QStringList() : text.split('\n');
  }

  PrivateSettings settings;
  ScriptedPrompts prompts;
  FakeClock clock{1000};
  LinkRecord links;
  PresentPorts ports;
  std::unique_ptr<TZorvForm> form;  // last: goes before what it uses
};

}  // namespace zorv::test
