#include "GlobalOptions.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>

#include "image/Repairs.h"
#include "ui/pages/global/PageControls.h"

namespace zorv {

namespace {
constexpr int kBladeUpTimeMax = 10;   // on the spin edit
constexpr int kStartupDelayMax = 20;
}  // namespace

GlobalOptions::GlobalOptions(PageHost& host, QWidget* parent)
    : options_(host, Bindings::AfterStore::Nothing),
      cartridge_(host, Bindings::AfterStore::Nothing),
      delays_(host) {
  group_ = new QGroupBox("Options", parent);
  const std::vector<QCheckBox*> boxes =
      MakeOptionBoxes(CatalogueRows(Layout::Zorv, "Global", "Options"), group_);
  auto* bladeuptime = MakeSpinEdit("bladeuptime", 0, kBladeUpTimeMax, group_);
  auto* startupdelay = MakeSpinEdit("startupdelay", 1, kStartupDelayMax, group_);
  auto* cartridgebox = MakeCheckBox("cartridgebox",
                                    "Enable Power/ Cartridge Valve (see note below)", group_);
  auto* note = new QLabel(
      "Note: Power/Cartridge valve is used only when a common second valve is needed to apply "
      "power to a function.  Valve signal replaces the wing slide in/out signals on HYD B.",
      group_);
  note->setObjectName("CartridgeNoteLabel");
  note->setWordWrap(true);

  auto* bladeLabel = new QLabel("Auto blade up time", group_);
  bladeLabel->setBuddy(bladeuptime);
  auto* startupLabel = new QLabel("Startup Delay", group_);
  startupLabel->setBuddy(startupdelay);

  auto* grid = new QGridLayout(group_);
  grid->setContentsMargins(8, 6, 8, 6);
  grid->setVerticalSpacing(4);
  // Two boxes to a row, then the delays, the cartridge box and its note.
  constexpr int kColumns = 2;
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    const int index = static_cast<int>(i);
    grid->addWidget(boxes[i], index / kColumns, index % kColumns);
  }
  const int row = (static_cast<int>(boxes.size()) + kColumns - 1) / kColumns;
  auto* spins = new QHBoxLayout;
  spins->addWidget(bladeLabel);
  spins->addWidget(bladeuptime);
  spins->addSpacing(16);
  spins->addWidget(startupLabel);
  spins->addWidget(startupdelay);
  spins->addStretch(1);
  grid->addLayout(spins, row, 0, 1, 2);
  grid->addWidget(cartridgebox, row + 1, 0, 1, 2);
  grid->addWidget(note, row + 2, 0, 1, 2);
  grid->setRowStretch(row + 3, 1);

  options_.BindRows(Layout::Zorv, "Global", "Options", group_);
  cartridge_.BindRows(Layout::Zorv, "Global", "Power/Cartridge Valve", group_);
  delays_.BindRows(Layout::Zorv, "Global", "Delays", group_);
}

void GlobalOptions::Refresh(ZorvStep step, SettingsImage& local) {
  switch (step) {
    case ZorvStep::SafeStickAndCartridge:
      RepairZorvOptions(local);
      cartridge_.Show(local);
      break;
    case ZorvStep::Delays:
      delays_.Show(local);
      break;
    case ZorvStep::OptionBoxes:
      options_.Show(local);
      break;
    default: break;
  }
}

}  // namespace zorv
