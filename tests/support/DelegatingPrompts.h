#pragma once
// Prompts that pass every interaction to other prompts; a test overrides what it plays itself.
#include "ui/Prompts.h"

namespace zorv::test {

class DelegatingPrompts : public Prompts {
 public:
  explicit DelegatingPrompts(Prompts& inner) : inner_(inner) {}
  void Message(Kind kind, const QString& title, const QString& text) override {
    inner_.Message(kind, title, text);
  }
  bool Confirm(const QString& t, const QString& x) override { return inner_.Confirm(t, x); }
  int Choose(Kind k, const QString& t, const QString& x, const QStringList& b, int d) override {
    return inner_.Choose(k, t, x, b, d);
  }
  std::optional<QString> QueryText(const QString& c, const QString& p, const QString& i) override {
    return inner_.QueryText(c, p, i);
  }
  QString OpenFileName(const QString& c, const QString& i, const QString& f) override {
    return inner_.OpenFileName(c, i, f);
  }
  QString SaveFileName(const QString& c, const QString& i, const QString& f) override {
    return inner_.SaveFileName(c, i, f);
  }
  bool SetUpPrinter(QPrinter& p) override { return inner_.SetUpPrinter(p); }
  int ShowModal(QDialog& d) override { return inner_.ShowModal(d); }

 private:
  Prompts& inner_;
};

}  // namespace zorv::test
