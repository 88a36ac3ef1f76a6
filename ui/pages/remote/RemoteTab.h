#pragma once
// The "Remote/Slave" tab: the controller's own ID ("Zorv ID:") and, per colour button, the
// target ID and the switch number or slave mode of its remote pair.
#include <QObject>
#include <array>

#include "ui/PageHost.h"
#include "ui/RefreshSteps.h"
#include "ui/binders/Bindings.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QWidget;

namespace zorv {

class SpinEdit;

class RemoteTab final : public QObject, public ZorvRefreshTarget {
  Q_OBJECT

 public:
  static constexpr std::size_t kGroups = 6;  // red, green, blue, yellow, orange, purple

  RemoteTab(PageHost& host, QWidget* sheet);

  void Refresh(ZorvStep step, SettingsImage& local) override;

 private:
  struct Group {
    QGroupBox* box = nullptr;
    SpinEdit* target = nullptr;
    QLabel* typeLabel = nullptr;
    QComboBox* modeDropdown = nullptr;
    SpinEdit* remoteSpin = nullptr;
  };

  void BuildGroup(std::size_t g, QWidget* parent);
  void ShowGroup(std::size_t g, SettingsImage& local);

  PageHost& host_;
  SpinEdit* idSpin2_ = nullptr;
  std::array<Group, kGroups> groups_{};
  // The target IDs, switch numbers and slave modes; they store without a refresh.
  Bindings bindings_;
  // `IDSpin2`: the controller's ID, then a refresh (which shows it on the Joysticks tab too).
  Bindings id_;
};

}  // namespace zorv
