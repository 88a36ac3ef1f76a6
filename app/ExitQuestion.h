#pragma once
// Exit (menu or window close) while the image holds edits that were neither sent to the
// controller nor saved to a file: the question.
#include <QDialog>

namespace zorv {

class Prompts;

enum class ExitAnswer { Send = 10, Save, Discard, Cancel };

class ExitQuestion final : public QDialog {
 public:
  // "Send to controller" is offered only when the link can take an upload now.
  ExitQuestion(bool canSend, QWidget* parent);
};

// Asks the question; the answer chosen (Cancel when the box was closed).
ExitAnswer AskExit(bool canSend, Prompts& prompts, QWidget* parent);

}  // namespace zorv
