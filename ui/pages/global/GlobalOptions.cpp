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
  safestickbox_ = MakeCheckBox("safestickbox", "Enable SafeStick", group_);
  hoistlimitenable_ = MakeCheckBox("hoistlimitenable", "Enable Hoist Limit", group_);
  bodylockenable_ = MakeCheckBox("bodylockenable", "Enable Body Lock", group_);
  hoistlimitkey_ = MakeCheckBox("hoistlimitkey", "Enable Key for Limit", group_);
  screenToBR_ = MakeCheckBox("screen_to_BR", "Screen data to Brevicor", group_);
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
  grid->addWidget(safestickbox_, 0, 0);
  grid->addWidget(hoistlimitenable_, 0, 1);
  grid->addWidget(bodylockenable_, 1, 0);
  grid->addWidget(hoistlimitkey_, 1, 1);
  grid->addWidget(screenToBR_, 2, 0);
  auto* spins = new QHBoxLayout;
  spins->addWidget(bladeLabel);
  spins->addWidget(bladeuptime_);
  spins->addSpacing(16);
  spins->addWidget(startupLabel);
  spins->addWidget(startupdelay_);
  spins->addStretch(1);
  grid->addLayout(spins, 3, 0, 1, 2);
  grid->addWidget(cartridgebox_, 4, 0, 1, 2);
  grid->addWidget(note, 5, 0, 1, 2);
  grid->setRowStretch(6, 1);

  connect(safestickbox_, &QCheckBox::toggled, this, &GlobalOptions::safestickboxClick);
  connect(cartridgebox_, &QCheckBox::toggled, this, &GlobalOptions::cartridgeboxClick);
  connect(hoistlimitenable_, &QCheckBox::toggled, this, &GlobalOptions::hoistlimitenableClick);
  connect(screenToBR_, &QCheckBox::toggled, this, &GlobalOptions::screen_to_BRClick);
  connect(bodylockenable_, &QCheckBox::toggled, this, &GlobalOptions::bodylockenableClick);
  connect(hoistlimitkey_, &QCheckBox::toggled, this, &GlobalOptions::hoistlimitkeyClick);
  connect(bladeuptime_, &SpinEdit::valueChanged, this, &GlobalOptions::bladeuptimeChange);
  connect(startupdelay_, &SpinEdit::valueChanged, this, &GlobalOptions::startupdelayChange);
}

void GlobalOptions::StoreFlag(std::size_t offset, const QCheckBox* box) {
  host_.Image()[offset] = box->isChecked() ? 1 : 0;
}

// The byte says "SafeStick off", the box "enable".
void GlobalOptions::safestickboxClick() {
  host_.Image()[f::SafeStickOff] = safestickbox_->isChecked() ? 0 : 1;
}
void GlobalOptions::cartridgeboxClick() { StoreFlag(f::CartridgeEnable, cartridgebox_); }
void GlobalOptions::hoistlimitenableClick() { StoreFlag(f::HoistLimitEnable, hoistlimitenable_); }
void GlobalOptions::screen_to_BRClick() { StoreFlag(f::ScreenToBrevicor, screenToBR_); }
void GlobalOptions::bodylockenableClick() { StoreFlag(f::BodyLockEnable, bodylockenable_); }
void GlobalOptions::hoistlimitkeyClick() { StoreFlag(f::HoistLimitKey, hoistlimitkey_); }

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
      if (local[f::SafeStickOff] != 1) local[f::SafeStickOff] = 0;
      safestickbox_->setChecked(local[f::SafeStickOff] != 1);
      ShowFlag(cartridgebox_, local[f::CartridgeEnable]);
      break;
    case ZorvStep::Delays:
      if (local[f::BladeUpTime] > kBladeUpTimeMax) local[f::BladeUpTime] = 0;
      ShowSpinValue(bladeuptime_, local[f::BladeUpTime]);
      if (local[f::StartupDelay] > kStartupDelayRepair) local[f::StartupDelay] = 1;
      ShowSpinValue(startupdelay_, local[f::StartupDelay]);
      break;
    case ZorvStep::OptionBoxes:
      ShowFlag(hoistlimitenable_, local[f::HoistLimitEnable]);
      ShowFlag(hoistlimitkey_, local[f::HoistLimitKey]);
      ShowFlag(bodylockenable_, local[f::BodyLockEnable]);
      ShowFlag(screenToBR_, local[f::ScreenToBrevicor]);
      break;
    default: break;
  }
}

}  // namespace zorv
