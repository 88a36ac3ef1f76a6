#pragma once
// The "Custom" tab: per button slot the X, Y and Z axis functions (bound to the catalogue) and
// the "Activate Custom Mode" box, plus the buttons that open the switch-group window and the
// help window.
#include <QObject>
#include <array>

#include "ui/PageHost.h"
#include "ui/RefreshSteps.h"
#include "ui/binders/Bindings.h"
#include "ui/pages/custom/CustomSlots.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QPushButton;
class QWidget;

namespace zorv {

class CustomTab final : public QObject, public ZorvRefreshTarget {
  Q_OBJECT

 public:
  CustomTab(PageHost& host, QWidget* sheet);

  void Refresh(ZorvStep step, SettingsImage& local) override;

  // The "Activate Custom Mode" boxes: mode 8 when ticked, 0 (inactive) when not.
  void NoButtonCustomClick() { CustomClick(0); }
  void RedButtonCustomClick() { CustomClick(1); }
  void GreenButtonCustomClick() { CustomClick(2); }
  void BlueButtonCustomClick() { CustomClick(3); }
  void YellowButtonCustomClick() { CustomClick(4); }
  void OrangeButtonCustomClick() { CustomClick(5); }
  void PurpleButtonCustomClick() { CustomClick(6); }
  void CustomHelpButtonClick();
  void axisswitchesClick();

 private:
  struct SlotControls {
    QGroupBox* group = nullptr;
    std::array<QComboBox*, kAxesPerSlot> axes{};
    QCheckBox* custom = nullptr;
  };

  void BuildSlot(std::size_t slot, QWidget* parent);
  void CustomClick(std::size_t slot);
  void ShowCustomModes(const SettingsImage& local);
  void ShowOrangePurpleGroups(const SettingsImage& local);

  PageHost& host_;
  QWidget* sheet_;
  std::array<SlotControls, kCustomSlots.size()> slots_{};
  QPushButton* axisswitches_ = nullptr;
  QPushButton* customHelpButton_ = nullptr;
  Bindings axes_;  // the 21 axis drop-downs
};

}  // namespace zorv
