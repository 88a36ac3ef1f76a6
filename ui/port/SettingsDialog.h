#pragma once
// The port dialog: one drop-down of the present ports and an OK button, no way to cancel.
#include <QDialog>

#include "host/PortDiscovery.h"

class QCheckBox;
class QComboBox;

namespace zorv {

class TSettingsDialog final : public QDialog {
  Q_OBJECT

 public:
  explicit TSettingsDialog(const PresentPorts& ports, QWidget* parent = nullptr);

  QComboBox* ComPortBox() const { return comPortBox_; }
  QCheckBox* RememberAdapterBox() const { return rememberBox_; }
  // The /dev/serial/by-id path of the entry at `index`; "" when it has none.
  QString StablePathAt(int index) const;

 protected:
  // Escape would close the dialog like a cancel button; there is none.
  void reject() override {}
  void showEvent(QShowEvent* event) override;

 private:
  static constexpr int kStablePathRole = Qt::UserRole + 1;
  QComboBox* comPortBox_;
  QCheckBox* rememberBox_ = nullptr;
};

}  // namespace zorv
