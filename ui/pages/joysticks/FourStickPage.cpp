#include "FourStickPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QSignalBlocker>

#include "Controls.h"
#include "JoystickLists.h"
#include "StickPicture.h"
#include "image/Repairs.h"
#include "image/ZorvLayout.h"
#include "ui/PageHost.h"

namespace zorv {

using namespace joystickui;
using namespace joysticklists;

namespace {
constexpr std::array<std::size_t, 4> kSafetyBytes = {
    zorvfield::RedButtonMode, zorvfield::GreenButtonMode, zorvfield::BlueButtonMode,
    zorvfield::YellowButtonMode};
}  // namespace

FourStickPage::FourStickPage(QWidget* parent, PageHost& host)
    : QWidget(parent), host_(host), functions_(host) {
  setObjectName(kPageCaptions[page::kFourStick]);
  for (std::size_t i = 0; i < jscheckboxes.size(); ++i) {
    const QByteArray name = "js" + QByteArray::number(static_cast<int>(i) + 1) + "checkbox";
    jscheckboxes[i] = MakeCheckBox(this, name.constData(), "Safety");
  }
  jscheckboxes[1]->hide();

  QFont bold = font();
  bold.setBold(true);
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(4, 6, 4, 6);
  grid->setVerticalSpacing(4);
  grid->setHorizontalSpacing(6);
  // Column by column, so Tab goes down a stick's controls before moving right.
  auto column = [&](int col, const char* caption, QComboBox*& setting, const char* name,
                    QCheckBox* safety) {
    auto* title = MakeCaption(this, caption);
    title->setFont(bold);
    title->setAlignment(Qt::AlignHCenter);
    grid->addWidget(title, 0, col);
    grid->addWidget(new StickPicture(this, QColor(220, 30, 30)), 1, col);
    setting = MakeDropDown(this, name, kFourStickFunctions);
    grid->addWidget(setting, 2, col);
    grid->addWidget(safety, 5, col, Qt::AlignHCenter);
  };
  column(0, "JS1", js1setting, "js1setting", jscheckboxes[0]);
  column(1, "JS2", js3setting, "js3setting", jscheckboxes[1]);
  auto* secondary = MakeCaption(this, "Secondary function");
  grid->addWidget(secondary, 3, 1);
  js4setting = MakeDropDown(this, "js4setting", kFourStickFunctions);
  grid->addWidget(js4setting, 4, 1);
  column(2, "JS3", js2setting, "js2setting", jscheckboxes[2]);
  column(3, "JS4", js5setting, "js5setting", jscheckboxes[3]);

  auto* notes = MakeCaption(this, kStickNotes);
  notes->setWordWrap(true);
  grid->setRowMinimumHeight(6, 8);
  grid->addWidget(notes, 7, 0, 1, 4);
  grid->setRowStretch(1, 1);
  for (int c = 0; c < 4; ++c) grid->setColumnStretch(c, 1);

  functions_.BindKeys(Layout::Zorv,
                      {"zorv.stick.stick1", "zorv.stick.stick2a", "zorv.stick.stick2b",
                       "zorv.stick.stick3", "zorv.stick.stick4"},
                      this);
  connect(jscheckboxes[0], &QCheckBox::toggled, this, [this] { js1checkboxClick(); });
  connect(jscheckboxes[1], &QCheckBox::toggled, this, [this] { js2checkboxClick(); });
  connect(jscheckboxes[2], &QCheckBox::toggled, this, [this] { js3checkboxClick(); });
  connect(jscheckboxes[3], &QCheckBox::toggled, this, [this] { js4checkboxClick(); });

  // The safety boxes were made first; Tab still goes down each stick's column.
  QWidget* order[] = {
      js1setting, jscheckboxes[0],                   // JS1
      js3setting, js4setting,      jscheckboxes[1],  // JS2 and its secondary function
      js2setting, jscheckboxes[2],                   // JS3
      js5setting, jscheckboxes[3],                   // JS4
  };
  for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
}

void FourStickPage::Show(SettingsImage& local) {
  if (local[zorvfield::JoystickType] != joystick::kFourHfx) return;
  RepairFourStickSafeties(local);
  functions_.Show(local);
  for (std::size_t i = 0; i < kSafetyBytes.size(); ++i) {
    const QSignalBlocker quiet(jscheckboxes[i]);  // showing stores nothing
    jscheckboxes[i]->setChecked(local[kSafetyBytes[i]] == mode::kSafety);
  }
}

void FourStickPage::StoreSafety(int box) {
  const std::size_t i = static_cast<std::size_t>(box);
  host_.Image()[kSafetyBytes[i]] = jscheckboxes[i]->isChecked() ? mode::kSafety : 0;
  host_.RefreshControls(0);
}

void FourStickPage::js1checkboxClick() {
  StoreSafety(0);
}
void FourStickPage::js2checkboxClick() {
  StoreSafety(1);
}
void FourStickPage::js3checkboxClick() {
  StoreSafety(2);
}
void FourStickPage::js4checkboxClick() {
  StoreSafety(3);
}

}  // namespace zorv
