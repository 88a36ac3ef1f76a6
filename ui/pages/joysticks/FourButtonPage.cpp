#include "FourButtonPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>

#include "ButtonSlots.h"
#include "Controls.h"
#include "GripPicture.h"
#include "JoystickLists.h"

namespace zorv {

using namespace joystickui;
using joysticklists::kBasicModeCount;
using joysticklists::kModeItems;

FourButtonPage::FourButtonPage(QWidget* parent) : QWidget(parent) {
  setObjectName(joysticklists::kPageCaptions[joysticklists::page::kFourButton]);
  auto* grip = new GripPicture(this, {gripcolour::Red(), gripcolour::Green()}, true);

  auto* redCaption = MakeCaption(this, "Red Button:");
  FourButton1DropDown = MakeDropDown(this, "FourButton1DropDown", kModeItems, kBasicModeCount);
  auto* greenCaption = MakeCaption(this, "Green Button:");
  FourButton2DropDown = MakeDropDown(this, "FourButton2DropDown", kModeItems, kBasicModeCount);
  auto* noCaption = MakeCaption(this, "No Button Default:");
  FourButton0DropDown = MakeDropDown(this, "FourButton0DropDown", kModeItems, kBasicModeCount);
  ModeButtonsAreTriggerCheckbox3 =
      MakeCheckBox(this, "ModeButtonsAreTriggerCheckbox3", "Mode Buttons Act As Trigger");
  MultiModeCheckbox3 = MakeCheckBox(this, "MultiModeCheckbox3", "Multi Mode");
  MultiModeCheckbox3->setEnabled(false);

  auto* form = new QGridLayout;
  form->setVerticalSpacing(4);
  form->setHorizontalSpacing(16);
  form->addWidget(redCaption, 0, 0);
  form->addWidget(FourButton1DropDown, 1, 0);
  form->addWidget(greenCaption, 0, 1);
  form->addWidget(FourButton2DropDown, 1, 1);
  form->setRowMinimumHeight(2, 16);
  form->addWidget(noCaption, 3, 0);
  form->addWidget(FourButton0DropDown, 4, 0);
  form->setRowMinimumHeight(5, 16);
  form->addWidget(ModeButtonsAreTriggerCheckbox3, 6, 0, 1, 2);
  form->addWidget(MultiModeCheckbox3, 7, 0, 1, 2);
  form->setRowStretch(8, 1);
  form->setColumnStretch(2, 1);

  auto* layout = new QHBoxLayout(this);
  layout->addWidget(grip);
  layout->addSpacing(12);
  layout->addLayout(form, 1);
}

void FourButtonPage::Register(ButtonPageControls& controls) const {
  controls.slotControls[slot::kNoButton].four = FourButton0DropDown;
  controls.slotControls[slot::kRed].four = FourButton1DropDown;
  controls.slotControls[slot::kGreen].four = FourButton2DropDown;
  controls.trigger[2] = ModeButtonsAreTriggerCheckbox3;
  controls.multi[2] = MultiModeCheckbox3;
}

}  // namespace zorv
