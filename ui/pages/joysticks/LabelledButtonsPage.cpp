#include "LabelledButtonsPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>

#include "Controls.h"
#include "GripPicture.h"
#include "JoystickLists.h"
#include "LabelEdit.h"

namespace zorv {

using namespace joystickui;
using joysticklists::kModeItems;

namespace {

constexpr std::array<const char*, kSlotCount> kGroupTitles = {
    "No Button Default Mode:", "Red Button",    "Green Button", "Blue Button",
    "Yellow Button",           "Orange Button", "Purple Button"};

// A group with a drop-down over a "Label:" edit.
QGroupBox* MakeSlotGroup(QWidget* parent, const QString& title, QComboBox*& combo, LabelEdit*& edit,
                         const QByteArray& comboName, const QByteArray& editName, int items) {
  auto* group = new QGroupBox(title, parent);
  combo = MakeDropDown(group, comboName.constData(), kModeItems, items);
  edit = new LabelEdit(group, editName.constData());
  auto* layout = new QGridLayout(group);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->setVerticalSpacing(4);
  layout->addWidget(combo, 0, 0, 1, 2);
  layout->addWidget(MakeCaption(group, "Label:"), 1, 0);
  layout->addWidget(edit, 1, 1);
  return group;
}

}  // namespace

LabelledButtonsPage::LabelledButtonsPage(QWidget* parent, const Names& names) : QWidget(parent) {
  setObjectName(names.page);
  std::vector<QColor> colours = {gripcolour::Red(), gripcolour::Green(), gripcolour::Blue(),
                                 gripcolour::Yellow()};
  if (names.colourButtons == 6) {
    colours.push_back(gripcolour::Orange());
    colours.push_back(gripcolour::Purple());
  }
  auto* grip = new GripPicture(this, colours, true);

  // Reading order: the colour buttons, then No Button, then Always Live.
  auto* grid = new QGridLayout;
  grid->setSpacing(6);
  int cell = 0;
  auto place = [&](QWidget* w, int span) {
    if (cell % 3 + span > 3) cell += 3 - cell % 3;
    grid->addWidget(w, cell / 3, cell % 3, 1, span);
    cell += span;
  };
  const QByteArray prefix(names.prefix);
  for (int s = slot::kRed; s <= names.colourButtons; ++s) {
    const QByteArray n = QByteArray::number(s);
    place(MakeSlotGroup(this, kGroupTitles[static_cast<std::size_t>(s)], dropDowns[s],
                        labelEdits[s], prefix + n + "DropDown", prefix + n + "LabelEdit",
                        joysticklists::kColourModeCount),
          1);
  }
  place(MakeSlotGroup(this, kGroupTitles[slot::kNoButton], dropDowns[slot::kNoButton],
                      labelEdits[slot::kNoButton], prefix + "0DropDown", prefix + "0LabelEdit",
                      joysticklists::kNoButtonModeCount),
        2);  // its title is wider than one column

  // The trigger decides whether Always Live can be set, so it comes first in the Tab order.
  auto* boxes = new QWidget(this);
  trigger = MakeCheckBox(boxes, names.trigger, "Mode Buttons Act As Trigger");
  multi = MakeCheckBox(boxes, names.multi, "Multi Mode");
  multi->setEnabled(false);
  auto* boxLayout = new QHBoxLayout(boxes);
  boxLayout->setContentsMargins(4, 0, 0, 0);
  boxLayout->setSpacing(24);
  boxLayout->addWidget(trigger);
  boxLayout->addWidget(multi);
  boxLayout->addStretch(1);

  QGroupBox* live =
      MakeSlotGroup(this, "Always Live Mode", alwayslive, alwayslivetext, names.alwayslive,
                    names.alwayslivetext, joysticklists::kBasicModeCount);
  alwayslive->setEnabled(false);
  alwayslivetext->setEnabled(false);

  place(live, 1);
  grid->addWidget(boxes, grid->rowCount(), 0, 1, 3);
  grid->setRowStretch(grid->rowCount(), 1);

  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(2, 4, 2, 2);
  layout->addWidget(grip);
  layout->addLayout(grid, 1);
}

SixButtonPage::SixButtonPage(QWidget* parent)
    : LabelledButtonsPage(parent, {"SixButton", "SixButton", "ModeButtonsAreTriggerCheckbox",
                                   "MultiModeCheckbox", "alwayslive", "alwayslivetext", 4}) {}

EightButtonPage::EightButtonPage(QWidget* parent)
    : LabelledButtonsPage(parent, {"EightButton", "EightButton", "ModeButtonsAreTriggerCheckbox2",
                                   "MultiModeCheckBox2", "alwayslive2", "alwayslivetext2", 6}) {}

void LabelledButtonsPage::Register(ButtonPageControls& controls) const {
  const bool eight = dropDowns[slot::kPurple] != nullptr;
  for (int s = 0; s < kSlotCount; ++s) {
    SlotControls& sc = controls.slotControls[s];
    (eight ? sc.eight : sc.six) = dropDowns[s];
    (eight ? sc.eightLabel : sc.sixLabel) = labelEdits[s];
  }
  controls.trigger[eight ? 1 : 0] = trigger;
  controls.multi[eight ? 1 : 0] = multi;
  (eight ? controls.alwayslive2 : controls.alwayslive) = alwayslive;
  (eight ? controls.alwayslivetext2 : controls.alwayslivetext) = alwayslivetext;
}

}  // namespace zorv
