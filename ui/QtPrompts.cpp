#include "QtPrompts.h"

#include <QDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <memory>

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

std::unique_ptr<QMessageBox> BuildChoiceBox(QWidget* parent, Prompts::Kind kind,
                                            const QString& title, const QString& text,
                                            const QStringList& buttons, int defaultButton) {
  auto box = std::make_unique<QMessageBox>(parent);
  box->setWindowTitle(title);
  box->setText(text);
  switch (kind) {
    case Prompts::Kind::Information: box->setIcon(QMessageBox::Information); break;
    case Prompts::Kind::Warning: box->setIcon(QMessageBox::Warning); break;
    case Prompts::Kind::Error: box->setIcon(QMessageBox::Critical); break;
    case Prompts::Kind::Confirmation: box->setIcon(QMessageBox::Question); break;
  }
  for (qsizetype i = 0; i < buttons.size(); ++i) {
    // The last button is the way out: Escape presses it.
    const bool last = i + 1 == buttons.size();
    QPushButton* button =
        box->addButton(buttons[i], last ? QMessageBox::RejectRole : QMessageBox::AcceptRole);
    if (i == defaultButton) box->setDefaultButton(button);
    if (last) box->setEscapeButton(button);
  }
  return box;
}

int QtPrompts::Choose(Kind kind, const QString& title, const QString& text,
                      const QStringList& buttons, int defaultButton) {
  const auto box = BuildChoiceBox(parent_, kind, title, text, buttons, defaultButton);
  box->exec();
  for (qsizetype i = 0; i < buttons.size(); ++i) {
    if (box->clickedButton() != nullptr && box->clickedButton()->text() == buttons[i]) {
      return static_cast<int>(i);
    }
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
