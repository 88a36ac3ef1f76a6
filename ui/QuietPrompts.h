#pragma once
// Prompts for programs that drive the window without a person at it (the screenshot program,
// the benchmarks): every box is answered at once, no dialog is shown.
#include <QDialog>
#include <functional>

#include "ui/Prompts.h"

namespace zorv {

class QuietPrompts final : public Prompts {
 public:
  // Confirm and Choose answer Yes / the default button instead of No / closed.
  bool agree = false;
  // Runs with each modal window before it is accepted (e.g. to show it and look at it).
  std::function<void(QDialog&)> onModal;

  void Message(Kind, const QString&, const QString&) override {}
  bool Confirm(const QString&, const QString&) override { return agree; }
  int Choose(Kind, const QString&, const QString&, const QStringList&, int byDefault) override {
    return agree ? byDefault : -1;
  }
  std::optional<QString> QueryText(const QString&, const QString&, const QString&) override {
    return std::nullopt;
  }
  QString OpenFileName(const QString&, const QString&, const QString&) override { return {}; }
  QString SaveFileName(const QString&, const QString&, const QString&) override { return {}; }
  bool SetUpPrinter(QPrinter&) override { return false; }
  int ShowModal(QDialog& dialog) override {
    if (onModal) onModal(dialog);
    return QDialog::Accepted;
  }
};

}  // namespace zorv
