#pragma once
// The production prompts: real Qt dialogs, parented to the main window.
#include <memory>

#include "ui/Prompts.h"

class QMessageBox;

namespace zorv {

// The box Choose() shows, built apart so a picture of it can be taken.
std::unique_ptr<QMessageBox> BuildChoiceBox(QWidget* parent, Prompts::Kind kind,
                                            const QString& title, const QString& text,
                                            const QStringList& buttons, int defaultButton);

class QtPrompts final : public Prompts {
 public:
  explicit QtPrompts(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }

  void Message(Kind kind, const QString& title, const QString& text) override;
  bool Confirm(const QString& title, const QString& text) override;
  int Choose(Kind kind, const QString& title, const QString& text, const QStringList& buttons,
             int defaultButton) override;
  std::optional<QString> QueryText(const QString& caption, const QString& prompt,
                                   const QString& initial) override;
  QString OpenFileName(const QString& caption, const QString& initialPath,
                       const QString& filter) override;
  QString SaveFileName(const QString& caption, const QString& initialPath,
                       const QString& filter) override;
  bool SetUpPrinter(QPrinter& printer) override;
  int ShowModal(QDialog& dialog) override;

 private:
  QWidget* parent_;
};

}  // namespace zorv
