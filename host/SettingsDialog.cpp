#include "host/SettingsDialog.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "host/PortChoice.h"

namespace zorv {

TSettingsDialog::TSettingsDialog(const PresentPorts& ports, QWidget* parent) : QDialog(parent) {
  setObjectName("TSettingsDialog");
  setWindowTitle("COM Port Setting");
  // No border icons: no close button, no help button.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  setModal(true);

  comPortBox_ = new QComboBox(this);
  comPortBox_->setObjectName("ComPortBox");
  comPortBox_->setEditable(false);
  comPortBox_->setMinimumWidth(140);
  for (const int n : ListedPorts(ports)) {
    const PresentPort& port = ports.at(n);
    comPortBox_->addItem("COM" + QString::number(n));
    QString tip = QString::fromStdString(port.device);
    if (!port.description.empty()) tip += " - " + QString::fromStdString(port.description);
    comPortBox_->setItemData(comPortBox_->count() - 1, tip, Qt::ToolTipRole);
  }

  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("OKButton");
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel("Port:", this));
  row->addWidget(comPortBox_, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok);
  buttons->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addLayout(buttons);
  setFixedSize(sizeHint().expandedTo(QSize(240, 0)));
}

void TSettingsDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (const QScreen* shown = screen()) move(shown->availableGeometry().center() - rect().center());
}

}  // namespace zorv
