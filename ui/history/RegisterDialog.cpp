#include "ui/history/RegisterDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

namespace zorv {
namespace {

QLineEdit* MakeEdit(const char* name, const QString& text, const QString& placeholder,
                    QWidget* parent) {
  auto* edit = new QLineEdit(text, parent);
  edit->setObjectName(name);
  edit->setPlaceholderText(placeholder);
  edit->setMinimumWidth(220);
  return edit;
}

}  // namespace

RegisterDialog::RegisterDialog(const history::RegisterAddress& address, QWidget* parent)
    : QDialog(parent) {
  setObjectName("RegisterForm");
  setWindowTitle("History Register");

  host_ = MakeEdit("RegisterHostEdit", address.host, "empty: this laptop only", this);
  port_ = new QSpinBox(this);
  port_->setObjectName("RegisterPortSpin");
  port_->setRange(1, 65535);
  port_->setValue(address.port);
  database_ = MakeEdit("RegisterDatabaseEdit", address.database, "zorvtrim", this);
  user_ = MakeEdit("RegisterUserEdit", address.user, "your login name", this);
  encrypt_ = new QCheckBox("Require &encryption", this);
  encrypt_->setObjectName("RegisterEncryptCheck");
  encrypt_->setChecked(address.requireEncryption);
  encrypt_->setToolTip("Connect only encrypted, to a server whose certificate the CA file signed "
                       "for this host name");
  caFile_ = MakeEdit("RegisterCaFileEdit", address.caFile, "the shop's CA certificate (.crt)",
                     this);
  caFile_->setEnabled(address.requireEncryption);
  connect(encrypt_, &QCheckBox::toggled, caFile_, &QLineEdit::setEnabled);

  auto* form = new QFormLayout;
  form->addRow("&Host:", host_);
  form->addRow("&Port:", port_);
  form->addRow("&Database:", database_);
  form->addRow("&User:", user_);
  form->addRow("", encrypt_);
  form->addRow("&CA certificate file:", caFile_);

  auto* note = new QLabel(
      "The password is read from the file PGPASSFILE names, or from ~/.pgpass.\n"
      "When the register cannot be reached, events are recorded on this laptop\n"
      "and sent when it is back. Without \"Require encryption\" the connection is\n"
      "encrypted only when the server offers it, and its certificate is not checked.",
      this);
  note->setObjectName("RegisterNote");

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->setObjectName("RegisterButtons");
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(note);
  layout->addWidget(buttons);
  host_->setFocus();
}

history::RegisterAddress RegisterDialog::Address() const {
  history::RegisterAddress address;
  address.host = host_->text().trimmed();
  address.port = port_->value();
  address.database = database_->text().trimmed();
  if (address.database.isEmpty()) address.database = "zorvtrim";
  address.user = user_->text().trimmed();
  address.requireEncryption = encrypt_->isChecked();
  address.caFile = caFile_->text().trimmed();
  return address;
}

}  // namespace zorv
