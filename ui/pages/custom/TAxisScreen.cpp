#include "TAxisScreen.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "image/Repairs.h"
#include "image/ZorvLayout.h"
#include "ui/pages/custom/SpinEdits.h"
#include "ui/widgets/SpinEdit.h"

namespace zorv {
namespace {

constexpr int kRowsPerColumn = 4;
constexpr int kAddressDigits = 3;

}  // namespace

TAxisScreen::TAxisScreen(SettingsImage& image, QWidget* parent)
    : QDialog(parent), live_(image), edited_(image), shown_(image), bindings_(edited_) {
  setObjectName("AxisScreen");
  setWindowTitle("Axis Switch Setup");

  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(8);
  grid->setVerticalSpacing(6);
  for (int n = 1; n <= kSwitchGroups; ++n) {
    grid->addWidget(BuildGroup(n), (n - 1) % kRowsPerColumn, (n - 1) / kRowsPerColumn);
  }

  auto* note = new QLabel("NOTE: 0 = Inactive Switch Axis", this);
  note->setObjectName("AxisNoteLabel");
  close_ = new QPushButton("Close", this);
  close_->setObjectName("AxisClose");
  close_->setDefault(true);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(note);
  bottom->addStretch();
  bottom->addWidget(close_);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addLayout(bottom);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  bindings_.BindRows(Layout::Zorv, "Axis Switch Setup", "", this);
  connect(close_, &QPushButton::clicked, this, &TAxisScreen::AxisCloseClick);
}

QGroupBox* TAxisScreen::BuildGroup(int n) {
  Group& g = group(n);
  g.box = new QGroupBox(QStringLiteral("Switch Group %1").arg(n), this);
  g.box->setObjectName(QStringLiteral("switchgroup%1").arg(n));
  // A hidden group keeps its place, so each group stays where the user expects it.
  QSizePolicy policy = g.box->sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  g.box->setSizePolicy(policy);

  const QString prefix = QStringLiteral("switch%1").arg(n);
  g.address = MakeSpinEdit(g.box, prefix + "address", kMinAddress, kMaxAddress, kMinAddress);
  if (auto* edit = g.address->findChild<QLineEdit*>()) edit->setMaxLength(kAddressDigits);
  g.plus = MakeSpinEdit(g.box, prefix + "plus", 0, kMaxSwitch, 1);
  g.minus = MakeSpinEdit(g.box, prefix + "minus", 0, kMaxSwitch, 1);

  auto* grid = new QGridLayout(g.box);
  grid->setContentsMargins(6, 4, 6, 6);
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(2);
  const std::pair<const char*, SpinEdit*> columns[] = {
      {"Target ID:", g.address}, {"Switch Plus:", g.plus}, {"Switch Minus:", g.minus}};
  int column = 0;
  for (const auto& [caption, spin] : columns) {
    auto* label = new QLabel(caption, g.box);
    label->setBuddy(spin);
    grid->addWidget(label, 0, column);
    grid->addWidget(spin, 1, column);
    ++column;
  }
  return g.box;
}

void TAxisScreen::ShowSwitchGroups() {
  edited_ = live_;
  for (Group& g : groups_) g.box->hide();
  // A switch byte the window cannot show becomes "none" at once.
  RepairSwitchGroups(edited_);
  bindings_.Show(edited_);
  for (const CustomSlot& slot : kCustomSlots) {
    for (std::size_t a = 0; a < kAxesPerSlot; ++a) {
      const int value = edited_[slot.axesByte + a];
      if (value >= kFirstSwitchAxis && value <= kLastSwitchAxis) {
        group(value - kFirstSwitchAxis + 1).box->show();
      }
    }
  }
  // What showing repaired counts at once; from here on only the user's changes are written.
  for (std::size_t i = 0; i < edited_.bytes.size(); ++i) {
    if (edited_[i] != live_[i]) live_[i] = edited_[i];
  }
  shown_ = edited_;
}

void TAxisScreen::StoreAddress(int n) {
  // The address the spin edit shows once the user leaves it, so an unfinished entry (Enter
  // pressed while "3" or "999" is typed) never reaches the controller.
  const int address = std::clamp(group(n).address->value(), kMinAddress, kMaxAddress);
  edited_[zorvfield::SwitchGroupAddress(n)] = static_cast<std::uint8_t>(address);
}

void TAxisScreen::AxisCloseClick() {
  for (int n = 1; n <= kSwitchGroups; ++n) StoreAddress(n);
  accept();
}

void TAxisScreen::done(int result) {
  // Only the bytes the user changed here: a download that arrived while the window was open
  // keeps everything else.
  for (std::size_t i = 0; i < edited_.bytes.size(); ++i) {
    if (edited_[i] != shown_[i]) live_[i] = edited_[i];
  }
  shown_ = edited_;
  QDialog::done(result);
}

}  // namespace zorv
