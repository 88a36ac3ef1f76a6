#include "CustomTab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "ui/pages/custom/CaptionedGroup.h"
#include "ui/pages/custom/TAxisScreen.h"
#include "ui/pages/custom/THelpForm.h"

namespace zorv {
namespace {

constexpr std::uint8_t kCustomMode = mode::kCustom;
constexpr int kComboWidthInCharacters = 10;

}  // namespace

CustomTab::CustomTab(PageHost& host, QWidget* sheet)
    : host_(host), sheet_(sheet), axes_(host, Bindings::AfterStore::Nothing) {
  auto* grid = new QGridLayout(sheet);
  grid->setContentsMargins(3, 4, 3, 4);
  grid->setHorizontalSpacing(4);
  grid->setVerticalSpacing(4);

  // Created in tab order: the colour groups row by row, then No Button and the two buttons.
  for (std::size_t slot = 1; slot < kCustomSlots.size(); ++slot) BuildSlot(slot, sheet);
  BuildSlot(kNoButtonSlot, sheet);
  axisswitches_ = new QPushButton("Switch Group Setup", sheet);
  axisswitches_->setObjectName("axisswitches");
  customHelpButton_ = new QPushButton("Custom Help", sheet);
  customHelpButton_->setObjectName("CustomHelpButton");

  for (std::size_t slot = 1; slot < kCustomSlots.size(); ++slot) {
    const int row = slot <= 3 ? 0 : 1;
    const int column = static_cast<int>((slot - 1) % 3);
    grid->addWidget(slots_[slot].group, row, column);
  }
  grid->addWidget(slots_[kNoButtonSlot].group, 2, 0, 1, 2);
  auto* buttons = new QVBoxLayout;
  buttons->addStretch();
  buttons->addWidget(axisswitches_);
  buttons->addWidget(customHelpButton_);
  buttons->addStretch();
  grid->addLayout(buttons, 2, 2);
  grid->setRowStretch(3, 1);

  // The axis drop-downs store without a refresh.
  axes_.BindRows(Layout::Zorv, "Custom", "", sheet);
  connect(slots_[0].custom, &QCheckBox::toggled, this, &CustomTab::NoButtonCustomClick);
  connect(slots_[1].custom, &QCheckBox::toggled, this, &CustomTab::RedButtonCustomClick);
  connect(slots_[2].custom, &QCheckBox::toggled, this, &CustomTab::GreenButtonCustomClick);
  connect(slots_[3].custom, &QCheckBox::toggled, this, &CustomTab::BlueButtonCustomClick);
  connect(slots_[4].custom, &QCheckBox::toggled, this, &CustomTab::YellowButtonCustomClick);
  connect(slots_[5].custom, &QCheckBox::toggled, this, &CustomTab::OrangeButtonCustomClick);
  connect(slots_[6].custom, &QCheckBox::toggled, this, &CustomTab::PurpleButtonCustomClick);
  connect(customHelpButton_, &QPushButton::clicked, this, &CustomTab::CustomHelpButtonClick);
  connect(axisswitches_, &QPushButton::clicked, this, &CustomTab::axisswitchesClick);
}

void CustomTab::BuildSlot(std::size_t slot, QWidget* parent) {
  const CustomSlot& info = kCustomSlots[slot];
  const QString prefix = info.prefix;
  const CaptionedGroup group = MakeCaptionedGroup(parent, prefix + "CustomGroup", info.caption);
  SetCaptionColour(group.box, QColor(info.colour));
  SlotControls& controls = slots_[slot];
  controls.group = group.box;

  auto* grid = new QGridLayout(group.body);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setHorizontalSpacing(3);
  grid->setVerticalSpacing(3);
  // The wide No Button group puts X and Y side by side, Z beside the box.
  const bool wide = slot == kNoButtonSlot;
  const QStringList items = AxisItems();
  for (int a = 0; a < kAxesPerSlot; ++a) {
    auto* caption = new QLabel(QStringLiteral("%1:").arg(kAxisNames[a]), group.body);
    auto* combo = new QComboBox(group.body);
    combo->setObjectName(prefix + kAxisNames[a] + "Axis");
    combo->addItems(items);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(kComboWidthInCharacters);
    combo->setMaxVisibleItems(static_cast<int>(items.size()));
    // One point smaller, so the longest item fits a third of the sheet.
    QFont font = combo->font();
    font.setPointSizeF(font.pointSizeF() - 1);
    combo->setFont(font);
    caption->setBuddy(combo);
    controls.axes[static_cast<std::size_t>(a)] = combo;
    const int row = wide ? a / 2 : a;
    const int column = wide ? (a % 2) * 2 : 0;
    grid->addWidget(caption, row, column);
    grid->addWidget(combo, row, column + 1);
  }
  // The drop-downs take the spare width, not their captions.
  grid->setColumnStretch(1, 1);
  if (wide) grid->setColumnStretch(3, 1);
  controls.custom = new QCheckBox("Activate Custom Mode", group.body);
  controls.custom->setObjectName(prefix + "Custom");
  if (wide) {
    grid->addWidget(controls.custom, 1, 2, 1, 2);
  } else {
    grid->addWidget(controls.custom, kAxesPerSlot, 0, 1, 2);
  }
}

void CustomTab::Refresh(ZorvStep step, SettingsImage& local) {
  if (step == ZorvStep::CustomModes) ShowCustomModes(local);
  if (step == ZorvStep::OrangePurpleGroups) ShowOrangePurpleGroups(local);
}

void CustomTab::ShowCustomModes(const SettingsImage& local) {
  for (std::size_t slot = 0; slot < kCustomSlots.size(); ++slot) {
    const CustomSlot& info = kCustomSlots[slot];
    const SlotControls& controls = slots_[slot];
    const QSignalBlocker quiet(controls.custom);  // showing stores nothing
    controls.custom->setChecked(local[info.modeByte] == kCustomMode);
  }
  axes_.Show(local);
}

void CustomTab::ShowOrangePurpleGroups(const SettingsImage& local) {
  const bool eightButtons = local[zorvfield::JoystickType] == joystick::kEightButtonHG;
  for (std::size_t slot = 0; slot < kCustomSlots.size(); ++slot) {
    const CustomSlot& info = kCustomSlots[slot];
    if (!info.eightButtonOnly) continue;
    const SlotControls& controls = slots_[slot];
    controls.group->setEnabled(eightButtons);
    for (QComboBox* axis : controls.axes) axis->setEnabled(eightButtons);
    controls.custom->setEnabled(eightButtons);
    SetCaptionColour(controls.group, QColor(eightButtons ? info.colour : kInactiveCaption));
  }
}

void CustomTab::CustomClick(std::size_t slot) {
  host_.Image()[kCustomSlots[slot].modeByte] = slots_[slot].custom->isChecked() ? kCustomMode : 0;
  host_.RefreshControls(0);
}

void CustomTab::CustomHelpButtonClick() {
  THelpForm help(sheet_->window());
  host_.prompts().ShowModal(help);
}

void CustomTab::axisswitchesClick() {
  TAxisScreen screen(host_.Image(), sheet_->window());
  screen.ShowSwitchGroups();
  // The main window is not refreshed afterwards: nothing on it shows the switch groups.
  host_.prompts().ShowModal(screen);
}

}  // namespace zorv
