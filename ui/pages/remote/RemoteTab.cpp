#include "RemoteTab.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "image/ZorvLayout.h"
#include "ui/pages/custom/CaptionedGroup.h"
#include "ui/pages/custom/SpinEdits.h"
#include "image/RemotePair.h"
#include "ui/widgets/SpinEdit.h"

namespace zorv {
namespace {

struct RemoteGroupInfo {
  const char* colour;  // object name prefix and caption
  std::size_t modeByte;
  std::size_t selectorByte;
  std::size_t targetByte;
  QRgb captionColour;
};

constexpr std::array<RemoteGroupInfo, RemoteTab::kGroups> kRemoteGroups = {{
    {"Red", zorvfield::RedButtonMode, zorvfield::RedRemoteSelector, zorvfield::RedTargetID,
     0xFF0000},
    {"Green", zorvfield::GreenButtonMode, zorvfield::GreenRemoteSelector, zorvfield::GreenTargetID,
     0x008000},
    {"Blue", zorvfield::BlueButtonMode, zorvfield::BlueRemoteSelector, zorvfield::BlueTargetID,
     0x008080},
    {"Yellow", zorvfield::YellowButtonMode, zorvfield::YellowRemoteSelector,
     zorvfield::YellowTargetID, 0x808000},
    {"Orange", zorvfield::OrangeButtonMode, zorvfield::OrangeRemoteSelector,
     zorvfield::OrangeTargetID, 0x800000},
    {"Purple", zorvfield::PurpleButtonMode, zorvfield::PurpleRemoteSelector,
     zorvfield::PurpleTargetID, 0x800080},
}};
constexpr int kGroupColumns = 2;

}  // namespace

RemoteTab::RemoteTab(PageHost& host, QWidget* sheet)
    : host_(host), bindings_(host, Bindings::AfterStore::Nothing), id_(host) {
  auto* idCaption = new QLabel("Zorv ID:", sheet);
  idSpin2_ = MakeArrowSpinEdit(sheet, "IDSpin2", 0, 255, 0);
  idCaption->setBuddy(idSpin2_);
  auto* idRow = new QHBoxLayout;
  idRow->addWidget(idCaption);
  idRow->addWidget(idSpin2_);
  idRow->addStretch();

  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(6);
  for (std::size_t g = 0; g < kGroups; ++g) {
    BuildGroup(g, sheet);
    const int index = static_cast<int>(g);
    grid->addWidget(groups_[g].box, index / kGroupColumns, index % kGroupColumns);
  }

  auto* layout = new QVBoxLayout(sheet);
  layout->setContentsMargins(8, 8, 8, 8);
  layout->addLayout(idRow);
  layout->addSpacing(4);
  layout->addLayout(grid);
  layout->addStretch();

  id_.BindKeys(Layout::Zorv, {"zorv.controller_id"}, sheet);
  bindings_.BindRows(Layout::Zorv, "Remote/Slave", "", sheet);
}

void RemoteTab::BuildGroup(std::size_t g, QWidget* parent) {
  const QString colour = kRemoteGroups[g].colour;
  const CaptionedGroup captioned =
      MakeCaptionedGroup(parent, colour + "RemoteGroup", colour + " Button Remote Settings");
  Group& group = groups_[g];
  group.box = captioned.box;
  QWidget* body = captioned.body;

  auto* targetCaption = new QLabel("Target ID:", body);
  group.target = MakeArrowSpinEdit(body, colour + "TargetIDSpin", 1, 255, 1);
  targetCaption->setBuddy(group.target);
  group.typeLabel = new QLabel("Slave Mode:", body);
  group.typeLabel->setObjectName(colour + "SlaveTypeLabel");
  group.modeDropdown = new QComboBox(body);
  group.modeDropdown->setObjectName(colour + "RemoteModeDropdown");
  group.modeDropdown->addItems({"Red", "Green", "Blue", "Yellow"});
  group.remoteSpin = MakeArrowSpinEdit(body, colour + "RemoteIDSpin", 1, 12, 1);

  auto* grid = new QGridLayout(body);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(4);
  grid->addWidget(targetCaption, 0, 0);
  grid->addWidget(group.target, 0, 1);
  grid->addWidget(group.typeLabel, 1, 0);
  // The drop-down and the switch spin share a place: the mode shows one of them.
  grid->addWidget(group.modeDropdown, 1, 1);
  grid->addWidget(group.remoteSpin, 1, 1);
  grid->setColumnStretch(1, 1);
  // Keeps the row height while the type label is empty.
  group.typeLabel->setMinimumHeight(group.typeLabel->sizeHint().height());
  group.typeLabel->setMinimumWidth(group.typeLabel->sizeHint().width());
}

void RemoteTab::Refresh(ZorvStep step, SettingsImage& local) {
  if (step == ZorvStep::IdSpins) id_.Show(local);
  if (step == ZorvStep::RemoteGroups) {
    for (std::size_t g = 0; g < kGroups; ++g) ShowGroup(g, local);
    bindings_.Show(local);
  }
}

void RemoteTab::ShowGroup(std::size_t g, SettingsImage& local) {
  const RemoteGroupInfo& info = kRemoteGroups[g];
  const Group& group = groups_[g];
  std::uint8_t& selector = local[info.selectorByte];
  std::uint8_t& target = local[info.targetByte];
  const RemotePairView view = RepairRemotePair(local[info.modeByte], selector, target);

  const bool used = view.use != RemoteUse::Unused;
  SetCaptionColour(group.box, QColor(used ? info.captionColour : kInactiveCaption));
  group.target->setEnabled(used);
  group.modeDropdown->setVisible(view.use == RemoteUse::Slave);
  group.remoteSpin->setVisible(view.use == RemoteUse::Switch);
  group.typeLabel->setText(view.use == RemoteUse::Switch  ? "Switch No.:"
                           : view.use == RemoteUse::Slave ? "Slave Mode:"
                                                          : "");
  // The mode sets the target's range; the bound rows show the values. An unused pair shows
  // 255, which no row names.
  const QSignalBlocker quiet(group.target);
  group.target->setRange(view.targetMin, view.targetMax);
  if (!used) group.target->setValue(target);
  // A hidden control still follows its byte; its row shows it only in its own mode.
  const QSignalBlocker quietSwitch(group.remoteSpin);
  const QSignalBlocker quietMode(group.modeDropdown);
  if (view.use != RemoteUse::Switch) group.remoteSpin->setValue(selector + 1);
  const int item = selector - 1;
  if (view.use != RemoteUse::Slave) {
    group.modeDropdown->setCurrentIndex(item >= 0 && item < group.modeDropdown->count() ? item : -1);
  }
}

// The same behaviour as IDSpin on the "Joysticks" tab.
}  // namespace zorv
