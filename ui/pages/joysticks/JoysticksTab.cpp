#include "JoysticksTab.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "ButtonPageHandlers.h"
#include "Controls.h"
#include "FourButtonPage.h"
#include "FourStickPage.h"
#include "JoystickLists.h"
#include "LabelledButtonsPage.h"
#include "SevrikPage.h"
#include "SlaveModePage.h"
#include "ThreeStickPage.h"
#include "TwoStickPage.h"
#include "image/Repairs.h"
#include "ui/PageHost.h"
#include "ui/widgets/SpinEdit.h"

namespace zorv {

using namespace joysticklists;

JoysticksTab::JoysticksTab(PageHost& host, QWidget* sheet)
    : host_(host), type_(host), id_(host) {
  IDSpin = new SpinEdit(sheet);
  IDSpin->setObjectName("IDSpin");
  IDSpin->setRange(0, 255);
  IDSpin->setMinimumWidth(64);
  JoystickCombo = joystickui::MakeDropDown(sheet, "JoystickCombo", kJoystickItems);

  auto* header = new QHBoxLayout;
  header->addWidget(joystickui::MakeCaption(sheet, "Zorv ID:"));
  header->addWidget(IDSpin);
  header->addSpacing(24);
  header->addWidget(joystickui::MakeCaption(sheet, "Select Joystick Option:"));
  header->addWidget(JoystickCombo);
  header->addStretch(1);

  JoystickNotebook = new QStackedWidget(sheet);
  JoystickNotebook->setObjectName("JoystickNotebook");
  fourButton = new FourButtonPage(JoystickNotebook);
  sixButton = new SixButtonPage(JoystickNotebook);
  eightButton = new EightButtonPage(JoystickNotebook);
  twoStick = new TwoStickPage(JoystickNotebook, host);
  threeStick = new ThreeStickPage(JoystickNotebook, host);
  slaveMode = new SlaveModePage(JoystickNotebook);
  sevrik = new SevrikPage(JoystickNotebook);
  fourStick = new FourStickPage(JoystickNotebook, host);
  for (QWidget* page : std::initializer_list<QWidget*>{fourButton, sixButton, eightButton, twoStick,
                                                       threeStick, slaveMode, sevrik, fourStick}) {
    JoystickNotebook->addWidget(page);
  }

  auto* layout = new QVBoxLayout(sheet);
  layout->setContentsMargins(6, 6, 6, 2);
  layout->setSpacing(4);
  layout->addLayout(header);
  layout->addWidget(JoystickNotebook, 1);

  fourButton->Register(buttonControls_);
  sixButton->Register(buttonControls_);
  eightButton->Register(buttonControls_);
  slaveMode->Register(buttonControls_);
  buttonHandlers_ = std::make_unique<ButtonPageHandlers>(host, buttonControls_, sheet);

  id_.BindKeys(Layout::Zorv, {"zorv.controller_id"}, sheet);
  type_.BindKeys(Layout::Zorv, {"zorv.joystick.type"}, sheet);
  type_.OnStored("zorv.joystick.type", [this](const Shown&) { JoystickComboChange(); });
}

JoysticksTab::~JoysticksTab() = default;

void JoysticksTab::Refresh(ZorvStep step, SettingsImage& local) {
  switch (step) {
    case ZorvStep::JoystickType:
      RepairJoystickType(local);
      type_.Show(local);
      break;
    case ZorvStep::JoystickPage:
      JoystickNotebook->setCurrentIndex(JoystickCombo->currentIndex());
      break;
    case ZorvStep::JoystickPages:
      if (IsButtonPage(JoystickNotebook->currentIndex())) {
        buttonHandlers_->ShowModesAndLabels(local);
      } else {
        twoStick->Show(local);
        threeStick->Show(local);
        fourStick->Show(local);
      }
      break;
    case ZorvStep::AlwaysLive:
      buttonHandlers_->ShowAlwaysLive(local);
      break;
    case ZorvStep::Trigger:
      buttonHandlers_->ShowTrigger(local);
      break;
    case ZorvStep::IdSpins:
      id_.Show(local);
      break;
    default:
      break;
  }
}

void JoysticksTab::JoystickComboChange() {
  const int item = JoystickCombo->currentIndex();
  if (item < 0) return;
  const int previous = JoystickNotebook->currentIndex();
  SettingsImage& image = host_.Image();
  if (IsButtonPage(item)) {
    // "Enable SafeStick" on the Global tab follows this byte in the refresh that follows.
    image[zorvfield::SafeStickOff] = 0;
    const bool fromStickPage = previous == page::kTwoStick || previous == page::kThreeStick;
    const bool customPossible = previous == page::kSixButton || previous == page::kEightButton ||
                                previous == page::kSlaveMode;
    for (const ButtonSlot& s : kButtonSlots) {
      if (fromStickPage) {
        image[s.modeByte] = s.defaultMode;
      } else if (customPossible && item == page::kFourButton &&
                 image[s.modeByte] == mode::kCustom) {
        // The four-button drop-downs have no "Custom".
        image[s.modeByte] = s.defaultMode;
      }
    }
  } else if (item == page::kTwoStick) {
    image[zorvfield::RedButtonMode] = mode::kSafety;
    image[zorvfield::GreenButtonMode] = mode::kInactive;
    image[zorvfield::BlueButtonMode] = mode::kInactive;
  } else if (item == page::kThreeStick) {
    image[zorvfield::RedButtonMode] = mode::kSafety;
    image[zorvfield::GreenButtonMode] = mode::kInactive;
    image[zorvfield::BlueButtonMode] = mode::kMode;
  }
}

}  // namespace zorv
