#include "GlobalOptions.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>

#include "image/ZorvLayout.h"
#include "ui/pages/global/PageControls.h"

namespace zorv {

namespace f = zorvfield;

namespace {
constexpr int kBladeUpTimeMax = 10;    // larger bytes are stored back as 0
constexpr int kStartupDelayMax = 20;   // on the spin edit
constexpr int kStartupDelayRepair = 80;  // larger bytes are stored back as 1
}  // namespace

GlobalOptions::GlobalOptions(PageHost& host, QWidget* parent) : host_(host) {
  group_ = new QGroupBox("Options", parent);
  options_ = MakeOptionBoxes(CatalogueRows(Layout::Zorv, "Global", "Options"), group_);
  bladeuptime_ = MakeSpinEdit("bladeuptime", 0, kBladeUpTimeMax, group_);
  startupdelay_ = MakeSpinEdit("startupdelay", 1, kStartupDelayMax, group_);
  cartridgebox_ = MakeCheckBox("cartridgebox", "Enable Power/ Cartridge Valve (see note below)",
                               group_);
  auto* note = new QLabel(
      "Note: Power/Cartridge valve is used only when a common second valve is needed to apply "
      "power to a function.  Valve signal replaces the wing slide in/out signals on HYD B.",
      group_);
  note->setObjectName("CartridgeNoteLabel");
  note->setWordWrap(true);

  auto* bladeLabel = new QLabel("Auto blade up time", group_);
  bladeLabel->setBuddy(bladeuptime_);
  auto* startupLabel = new QLabel("Startup Delay", group_);
  startupLabel->setBuddy(startupdelay_);

  auto* grid = new QGridLayout(group_);
  grid->setContentsMargins(8, 6, 8, 6);
  grid->setVerticalSpacing(4);
  // Two boxes to a row, then the delays, the cartridge box and its note.
  constexpr int kColumns = 2;
  for (std::size_t i = 0; i < options_.size(); ++i) {
    const int index = static_cast<int>(i);
    grid->addWidget(options_[i].box, index / kColumns, index % kColumns);
  }
  const int row = (static_cast<int>(options_.size()) + kColumns - 1) / kColumns;
  auto* spins = new QHBoxLayout;
  spins->addWidget(bladeLabel);
  spins->addWidget(bladeuptime_);
  spins->addSpacing(16);
  spins->addWidget(startupLabel);
  spins->addWidget(startupdelay_);
  spins->addStretch(1);
  grid->addLayout(spins, row, 0, 1, 2);
  grid->addWidget(cartridgebox_, row + 1, 0, 1, 2);
  grid->addWidget(note, row + 2, 0, 1, 2);
  grid->setRowStretch(row + 3, 1);

  for (const OptionBox& option : options_) {
    connect(option.box, &QCheckBox::toggled, this, [this, option] { OptionBoxClick(option); });
  }
  connect(cartridgebox_, &QCheckBox::toggled, this, &GlobalOptions::cartridgeboxClick);
  connect(bladeuptime_, &SpinEdit::valueChanged, this, &GlobalOptions::bladeuptimeChange);
  connect(startupdelay_, &SpinEdit::valueChanged, this, &GlobalOptions::startupdelayChange);
}

void GlobalOptions::OptionBoxClick(const OptionBox& option) { StoreOption(option, host_.Image()); }

void GlobalOptions::cartridgeboxClick() {
  host_.Image()[f::CartridgeEnable] = cartridgebox_->isChecked() ? 1 : 0;
}

void GlobalOptions::bladeuptimeChange() {
  host_.Image()[f::BladeUpTime] = static_cast<std::uint8_t>(bladeuptime_->value());
  host_.RefreshControls(0);
}

void GlobalOptions::startupdelayChange() {
  host_.Image()[f::StartupDelay] = static_cast<std::uint8_t>(startupdelay_->value());
  host_.RefreshControls(0);
}

void GlobalOptions::Refresh(ZorvStep step, SettingsImage& local) {
  switch (step) {
    case ZorvStep::SafeStickAndCartridge:
      ShowFlag(cartridgebox_, local[f::CartridgeEnable]);
      break;
    case ZorvStep::Delays:
      if (local[f::BladeUpTime] > kBladeUpTimeMax) local[f::BladeUpTime] = 0;
      ShowSpinValue(bladeuptime_, local[f::BladeUpTime]);
      if (local[f::StartupDelay] > kStartupDelayRepair) local[f::StartupDelay] = 1;
      ShowSpinValue(startupdelay_, local[f::StartupDelay]);
      break;
    case ZorvStep::OptionBoxes:
      for (const OptionBox& option : options_) ShowOption(option, local);
      break;
    default: break;
  }
}

}  // namespace zorv
