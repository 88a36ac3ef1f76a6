#pragma once
// The "Joysticks" tab: the controller ID, the joystick type and one page per joystick type.
#include <memory>

#include "ButtonSlots.h"
#include "ui/RefreshSteps.h"
#include "ui/binders/Bindings.h"

class QComboBox;
class QStackedWidget;
class QWidget;

namespace zorv {

class ButtonPageHandlers;
class EightButtonPage;
class FourButtonPage;
class FourStickPage;
class PageHost;
class SevrikPage;
class SixButtonPage;
class SlaveModePage;
class SpinEdit;
class ThreeStickPage;
class TwoStickPage;

class JoysticksTab final : public ZorvRefreshTarget {
 public:
  JoysticksTab(PageHost& host, QWidget* sheet);
  ~JoysticksTab() override;

  void Refresh(ZorvStep step, SettingsImage& local) override;

  // The button modes a newly chosen joystick type brings (the type byte is the binder's).
  void JoystickComboChange();

  SpinEdit* IDSpin = nullptr;
  QComboBox* JoystickCombo = nullptr;
  QStackedWidget* JoystickNotebook = nullptr;

  FourButtonPage* fourButton = nullptr;
  SixButtonPage* sixButton = nullptr;
  EightButtonPage* eightButton = nullptr;
  TwoStickPage* twoStick = nullptr;
  ThreeStickPage* threeStick = nullptr;
  SlaveModePage* slaveMode = nullptr;
  SevrikPage* sevrik = nullptr;
  FourStickPage* fourStick = nullptr;

  ButtonPageHandlers& buttonHandlers() { return *buttonHandlers_; }

 private:
  PageHost& host_;
  ButtonPageControls buttonControls_;
  std::unique_ptr<ButtonPageHandlers> buttonHandlers_;
  Bindings type_;  // "Select Joystick Option:", then the refresh
  Bindings id_;    // "Zorv ID:", then the refresh (the Remote/Slave tab shows it too)
};

}  // namespace zorv
