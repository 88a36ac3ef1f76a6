#include "history/TruckLabel.h"

namespace zorv::history {

std::optional<QString> CheckTruckLabel(const QString& typed, QString& error) {
  error.clear();
  const QString label = typed.trimmed();
  for (const QChar c : label) {
    if (c.category() == QChar::Other_Control) {
      error = "The truck label must be one line of text, without tabs or control characters";
      return std::nullopt;
    }
  }
  if (label.size() > kTruckLabelLength) {
    error = "The truck label has " + QString::number(label.size()) + " characters: at most " +
            QString::number(kTruckLabelLength) + " are allowed";
    return std::nullopt;
  }
  return label;
}

}  // namespace zorv::history
