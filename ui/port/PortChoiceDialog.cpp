#include "ui/port/PortChoiceDialog.h"

#include <QCheckBox>
#include <QComboBox>

#include "host/PortChoice.h"
#include "link/PortNames.h"
#include "ui/port/SettingsDialog.h"

namespace zorv {

int ChoosePort(const PresentPorts& ports, int currentPort,
               const std::function<int(QDialog&)>& showModal) {
  const std::vector<int> listed = ListedPorts(ports);
  TSettingsDialog dialog(ports);
  dialog.ComPortBox()->setCurrentIndex(InitialIndex(listed, currentPort));
  showModal(dialog);
  const int index = dialog.ComPortBox()->currentIndex();
  const int chosen = PortAtIndex(listed, index);
  const QString stable = dialog.StablePathAt(index);
  if (chosen != 0 && dialog.RememberAdapterBox()->isChecked() && !stable.isEmpty()) {
    SetPortAlias(chosen, stable.toStdString());
  }
  return chosen;
}

}  // namespace zorv
