#pragma once
// The port dialog: one drop-down of the present ports and an OK button, no way to cancel.
#include <QDialog>

#include "host/PortDiscovery.h"

class QComboBox;

namespace zorv {

class TSettingsDialog final : public QDialog {
  Q_OBJECT

 public:
  explicit TSettingsDialog(const PresentPorts& ports, QWidget* parent = nullptr);

  QComboBox* ComPortBox() const { return comPortBox_; }

 protected:
  // Escape would close the dialog like a cancel button; there is none.
  void reject() override {}
  void showEvent(QShowEvent* event) override;

 private:
  QComboBox* comPortBox_;
};

}  // namespace zorv
