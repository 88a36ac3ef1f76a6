#include "QtPrompts.h"

#include <QDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <vector>

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

int QtPrompts::Choose(Kind kind, const QString& title, const QString& text,
                      const QStringList& buttons, int defaultButton) {
  QMessageBox box(parent_);
  box.setWindowTitle(title);
  box.setText(text);
  switch (kind) {
    case Kind::Information: box.setIcon(QMessageBox::Information); break;
    case Kind::Warning: box.setIcon(QMessageBox::Warning); break;
    case Kind::Error: box.setIcon(QMessageBox::Critical); break;
    case Kind::Confirmation: box.setIcon(QMessageBox::Question); break;
  }
  std::vector<QPushButton*> pressed;
  for (const QString& caption : buttons) {
    // The last button is the way out: Escape presses it.
    const bool last = pressed.size() + 1 == static_cast<std::size_t>(buttons.size());
    pressed.push_back(box.addButton(caption, last ? QMessageBox::RejectRole
                                                  : QMessageBox::AcceptRole));
  }
  if (defaultButton >= 0 && defaultButton < static_cast<int>(pressed.size())) {
    box.setDefaultButton(pressed[static_cast<std::size_t>(defaultButton)]);
  }
  if (!pressed.empty()) box.setEscapeButton(pressed.back());
  box.exec();
  for (std::size_t i = 0; i < pressed.size(); ++i) {
    if (box.clickedButton() == pressed[i]) return static_cast<int>(i);
  }
  return -1;
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
