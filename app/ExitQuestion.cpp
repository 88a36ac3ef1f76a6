#include "app/ExitQuestion.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/Prompts.h"

namespace zorv {

ExitQuestion::ExitQuestion(bool canSend, QWidget* parent) : QDialog(parent) {
  setObjectName("ExitQuestion");
  setWindowTitle("Zorv Configuration Tool");
  auto* text = new QLabel(
      "The settings have changes that were neither sent to the controller nor saved to a file.",
      this);
  text->setWordWrap(true);
  text->setMinimumWidth(360);
  auto* buttons = new QDialogButtonBox(this);
  const auto add = [&](const char* name, const char* caption, ExitAnswer answer,
                       QDialogButtonBox::ButtonRole role) {
    QPushButton* b = buttons->addButton(caption, role);
    b->setObjectName(name);
    connect(b, &QPushButton::clicked, this, [this, answer] { done(static_cast<int>(answer)); });
    return b;
  };
  if (canSend) add("ExitSend", "Send to controller", ExitAnswer::Send, QDialogButtonBox::AcceptRole);
  add("ExitSave", "Save to file...", ExitAnswer::Save, QDialogButtonBox::AcceptRole);
  add("ExitDiscard", "Discard", ExitAnswer::Discard, QDialogButtonBox::DestructiveRole);
  add("ExitCancel", "Cancel", ExitAnswer::Cancel, QDialogButtonBox::RejectRole)->setDefault(true);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text);
  layout->addWidget(buttons);
}

ExitAnswer AskExit(bool canSend, Prompts& prompts, QWidget* parent) {
  ExitQuestion question(canSend, parent);
  const int answer = prompts.ShowModal(question);
  if (answer < static_cast<int>(ExitAnswer::Send) || answer > static_cast<int>(ExitAnswer::Cancel)) {
    return ExitAnswer::Cancel;
  }
  return static_cast<ExitAnswer>(answer);
}

}  // namespace zorv
