#include "ui/port/SettingsDialog.h"

#include <QCheckBox>
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
    comPortBox_->setItemData(comPortBox_->count() - 1,
                             QString::fromStdString(PortEntryTooltip(port)), Qt::ToolTipRole);
    comPortBox_->setItemData(comPortBox_->count() - 1, QString::fromStdString(port.stablePath),
                             kStablePathRole);
  }
  // Writes the alias COMn = /dev/serial/by-id/... on OK: this adapter keeps its number.
  rememberBox_ = new QCheckBox("Remember this adapter", this);
  rememberBox_->setObjectName("RememberAdapterBox");
  const auto offerRemember = [this] {
    const bool stable = !StablePathAt(comPortBox_->currentIndex()).isEmpty();
    rememberBox_->setEnabled(stable);
    if (!stable) rememberBox_->setChecked(false);
    rememberBox_->setToolTip(stable ? "Keeps this COM number for this adapter in any USB socket"
                                    : "This port has no stable adapter name");
  };
  connect(comPortBox_, &QComboBox::currentIndexChanged, this, offerRemember);
  offerRemember();

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
  layout->addWidget(rememberBox_);
  layout->addLayout(buttons);
  setFixedSize(sizeHint().expandedTo(QSize(240, 0)));
}

QString TSettingsDialog::StablePathAt(int index) const {
  if (index < 0) return {};
  return comPortBox_->itemData(index, kStablePathRole).toString();
}

void TSettingsDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (const QScreen* shown = screen()) move(shown->availableGeometry().center() - rect().center());
}

}  // namespace zorv
