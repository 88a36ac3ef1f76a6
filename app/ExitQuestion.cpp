#include "app/ExitQuestion.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

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

bool ExitGuard::MayClose(const SettingsImage& image, bool linkIdle, Prompts& prompts,
                         QWidget* parent, const std::function<void()>& send,
                         const std::function<bool()>& save) {
  if (!Modified(image)) return true;
  ExitQuestion question(linkIdle, parent);
  switch (static_cast<ExitAnswer>(prompts.ShowModal(question))) {
    case ExitAnswer::Send:
      send();
      closeAfterUpload_ = true;
      uploadSeenBusy_ = false;
      return false;
    case ExitAnswer::Save: return save();
    case ExitAnswer::Discard: return true;
    default: return false;  // Cancel, Escape, the close box
  }
}

bool ExitGuard::UploadSucceeded() { return std::exchange(closeAfterUpload_, false); }

void ExitGuard::WatchLink(bool linkIdle) {
  if (!closeAfterUpload_) return;
  if (!linkIdle) {
    uploadSeenBusy_ = true;
  } else if (uploadSeenBusy_) {
    closeAfterUpload_ = false;  // back to idle without "Upload Successful!"
  }
}

}  // namespace zorv
