#include "QtPrompts.h"

#include <QDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

namespace zorv {

void QtPrompts::Message(Kind kind, const QString& title, const QString& text) {
  switch (kind) {
    case Kind::Information: QMessageBox::information(parent_, title, text); break;
    case Kind::Warning: QMessageBox::warning(parent_, title, text); break;
    case Kind::Error: QMessageBox::critical(parent_, title, text); break;
    case Kind::Confirmation:
      QMessageBox::question(parent_, title, text, QMessageBox::StandardButtons(QMessageBox::Ok));
      break;
  }
}

bool QtPrompts::Confirm(const QString& title, const QString& text) {
  return QMessageBox::question(parent_, title, text, QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::No) == QMessageBox::Yes;
}

std::optional<QString> QtPrompts::QueryText(const QString& caption, const QString& prompt,
                                            const QString& initial) {
  bool ok = false;
  const QString text =
      QInputDialog::getText(parent_, caption, prompt, QLineEdit::Normal, initial, &ok);
  if (!ok) return std::nullopt;
  return text;
}

QString QtPrompts::OpenFileName(const QString& caption, const QString& initialPath,
                                const QString& filter) {
  return QFileDialog::getOpenFileName(parent_, caption, initialPath, filter);
}

QString QtPrompts::SaveFileName(const QString& caption, const QString& initialPath,
                                const QString& filter) {
  // QFileDialog asks before overwriting unless told not to.
  return QFileDialog::getSaveFileName(parent_, caption, initialPath, filter);
}

bool QtPrompts::SetUpPrinter(QPrinter& printer) {
  QPrintDialog dialog(&printer, parent_);
  return dialog.exec() == QDialog::Accepted;
}

int QtPrompts::ShowModal(QDialog& dialog) { return dialog.exec(); }

}  // namespace zorv
