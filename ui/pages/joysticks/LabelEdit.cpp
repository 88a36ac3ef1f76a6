#include "LabelEdit.h"

namespace zorv {

namespace {
constexpr int kLabelChars = 8;
// The field holds 9 characters when its NUL is missing; such a label shows whole.
constexpr int kLabelFieldChars = 9;
}

QValidator::State LabelValidator::validate(QString& input, int& /*pos*/) const {
  // The label is stored as single bytes of printable ASCII.
  for (QChar& c : input) {
    if (c.unicode() < 32 || c.unicode() > 126) return Invalid;
    c = c.toUpper();
  }
  return input.size() <= kLabelChars ? Acceptable : Invalid;
}

LabelEdit::LabelEdit(QWidget* parent, const char* name) : QLineEdit(parent) {
  setObjectName(name);
  setMaxLength(kLabelFieldChars);
  setValidator(new LabelValidator(this));
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize LabelEdit::sizeHint() const {
  const QSize base = QLineEdit::sizeHint();
  return {fontMetrics().horizontalAdvance(QStringLiteral("OVERRIDE")) + 16, base.height()};
}

}  // namespace zorv
