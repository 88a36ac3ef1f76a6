#include "SlaveModePage.h"

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

SlaveModePage::SlaveModePage(QWidget* parent) : QWidget(parent) {
  setObjectName(joysticklists::kPageCaptions[joysticklists::page::kSlaveMode]);
  auto* grip = new GripPicture(
      this, {gripcolour::Red(), gripcolour::Green(), gripcolour::Blue(), gripcolour::Yellow()},
      false);

  constexpr std::array<const char*, 4> kCaptions = {
      "Red Mode:", "Green Mode:", "Blue Mode:", "Yellow Mode:"};
  auto* form = new QGridLayout;
  form->setVerticalSpacing(4);
  form->setHorizontalSpacing(16);
  for (std::size_t i = 0; i < kCaptions.size(); ++i) {
    const QByteArray name =
        "SlaveButton" + QByteArray::number(static_cast<int>(i) + 1) + "DropDown";
    SlaveButtonDropDowns[i] = MakeDropDown(this, name.constData(), joysticklists::kModeItems,
                                           joysticklists::kNoButtonModeCount);
    const int row = static_cast<int>(i / 2) * 3;
    const int col = static_cast<int>(i % 2);
    form->addWidget(MakeCaption(this, kCaptions[i]), row, col);
    form->addWidget(SlaveButtonDropDowns[i], row + 1, col);
    form->setRowMinimumHeight(row + 2, 16);
  }
  form->setRowStretch(form->rowCount(), 1);
  form->setColumnStretch(2, 1);

  auto* layout = new QHBoxLayout(this);
  layout->addWidget(grip);
  layout->addSpacing(12);
  layout->addLayout(form, 1);
}

void SlaveModePage::Register(ButtonPageControls& controls) const {
  for (std::size_t i = 0; i < SlaveButtonDropDowns.size(); ++i) {
    controls.slotControls[slot::kRed + i].slave = SlaveButtonDropDowns[i];
  }
}

}  // namespace zorv
