#pragma once
// The edit of a button label: at most 8 characters, typed letters turned to upper case where
// they are typed (the cursor stays put), and only characters the controller's display has.
#include <QLineEdit>
#include <QValidator>

namespace zorv {

class LabelValidator final : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int& pos) const override;
};

class LabelEdit final : public QLineEdit {
 public:
  LabelEdit(QWidget* parent, const char* name);
  // Wide enough for eight capitals, not for the default twenty characters.
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }
};

}  // namespace zorv
