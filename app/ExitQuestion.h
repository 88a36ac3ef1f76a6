#pragma once
// The question on Exit (menu or window close) while the image holds edits that were neither
// sent to the controller nor saved to a file.
#include <QDialog>

namespace zorv {

enum class ExitAnswer { Send = 10, Save, Discard, Cancel };

class ExitQuestion final : public QDialog {
 public:
  // "Send to controller" is offered only when the link can take an upload now.
  ExitQuestion(bool canSend, QWidget* parent);
};

}  // namespace zorv
