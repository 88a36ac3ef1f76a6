#pragma once
// View > "History register...": where the shop's shared history register is (a PostgreSQL
// database). An empty host keeps the history on this laptop only.
#include <QDialog>

#include "history/RegisterAddress.h"

class QCheckBox;
class QLineEdit;
class QSpinBox;

namespace zorv {

class RegisterDialog final : public QDialog {
  Q_OBJECT

 public:
  explicit RegisterDialog(const history::RegisterAddress& address, QWidget* parent = nullptr);

  // What the user typed, trimmed.
  history::RegisterAddress Address() const;

 private:
  QLineEdit* host_;
  QSpinBox* port_;
  QLineEdit* database_;
  QLineEdit* user_;
  QCheckBox* encrypt_;
  QLineEdit* caFile_;
};

}  // namespace zorv
