#pragma once
// "Zorv Help": how custom configuration and switch groups work, with an example. Created when
// opened, shown modally, destroyed when closed.
#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace zorv {

class THelpForm final : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kWidth = 484;
  static constexpr int kHeight = 317;

  explicit THelpForm(QWidget* parent = nullptr);

  QPlainTextEdit* memo() const { return memo_; }

 private:
  QPlainTextEdit* memo_;
  QPushButton* ok_;
};

// The help text: three headed sections, one paragraph or step per line.
QString CustomHelpText();

}  // namespace zorv
