#include "TwoStickPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>

#include "Controls.h"
#include "JoystickLists.h"
#include "StickPicture.h"
#include "image/ZorvLayout.h"
#include "ui/PageHost.h"

namespace zorv {

using namespace joystickui;
using namespace joysticklists;

namespace {

struct TwoStickView {
  std::uint8_t type;
  const char* label140;
  const char* label142;
  const char* j1;
  const char* j2;
  const char* button1Caption;
  bool button1Enabled;
  bool hoistDropDown;  // stick 2's button: the hoist drop-down, else TwoButton2Checkbox
};
constexpr std::array<TwoStickView, 3> kViews = {{
    {21, "Plow or JS2", "Hoist or JS1", "Plow (port A)", "Hoist (port A)", "Safety", true, true},
    {22, "Hoist or JS1", "Wing/Blade or JS3", "Plow/Hoist (port A)", "Wing or Blade (port C)",
     "Plow/Hoist", false, false},
    {25, "Plow or JS2", "Wing/Blade or JS3", "Plow (port A)", "Hook (port C)", "Safety", true,
     false},
}};

QWidget* Row(QWidget* parent, QWidget* a, QWidget* b, QWidget* c = nullptr) {
  auto* row = new QWidget(parent);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addStretch(1);
  for (QWidget* w : {a, b, c}) {
    if (w != nullptr) layout->addWidget(w);
  }
  layout->addStretch(1);
  return row;
}

}  // namespace

TwoStickPage::TwoStickPage(QWidget* parent, PageHost& host) : QWidget(parent), host_(host) {
  setObjectName(kPageCaptions[page::kTwoStick]);

  TwoButton1Checkbox = MakeCheckBox(this, "TwoButton1Checkbox", "Safety");
  TwoButton2Checkbox = MakeCheckBox(this, "TwoButton2Checkbox", "Safety");
  TwoHoistButtonDropDown = MakeDropDown(this, "TwoHoistButtonDropDown", kHoistButtonItems);
  TwoButton2Checkbox->hide();
  auto* button1 = Row(this, MakeCaption(this, "Button1:"), TwoButton1Checkbox);
  auto* button2 =
      Row(this, MakeCaption(this, "Button2:"), TwoButton2Checkbox, TwoHoistButtonDropDown);

  TwoJ1Label = MakeCaption(this, kViews[0].j1, "TwoJ1Label");
  TwoJ2Label = MakeCaption(this, kViews[0].j2, "TwoJ2Label");
  Label140 = MakeCaption(this, kViews[0].label140, "Label140");
  Label142 = MakeCaption(this, kViews[0].label142, "Label142");
  for (QLabel* l : {TwoJ1Label, TwoJ2Label, Label140, Label142}) l->setAlignment(Qt::AlignHCenter);
  QFont bold = TwoJ1Label->font();
  bold.setBold(true);
  TwoJ1Label->setFont(bold);
  TwoJ2Label->setFont(bold);
  auto* heading = MakeCaption(this, "Zorv Joystick Board Mounting Locations");
  heading->setFont(bold);
  heading->setAlignment(Qt::AlignHCenter);

  TwoStickComboBox = new QComboBox(this);
  TwoStickComboBox->setObjectName("TwoStickComboBox");
  for (const TwoStickVariant& v : kTwoStickVariants) TwoStickComboBox->addItem(v.text);
  TwoStickComboBox->setCurrentIndex(-1);

  auto* note = MakeCaption(this,
                           "NOTE: 1.  Joystick mounting locations may not match the layout of "
                           "setup screen. ");
  note->setWordWrap(true);

  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(10, 6, 10, 6);
  grid->setVerticalSpacing(5);
  grid->addWidget(button1, 0, 0);
  grid->addWidget(button2, 0, 1);
  grid->addWidget(new StickPicture(this, QColor(220, 30, 30)), 1, 0);
  grid->addWidget(new StickPicture(this, QColor(220, 30, 30)), 1, 1);
  grid->addWidget(TwoJ1Label, 2, 0);
  grid->addWidget(TwoJ2Label, 2, 1);
  grid->setRowMinimumHeight(3, 6);
  grid->addWidget(heading, 4, 0, 1, 2);
  grid->addWidget(Label140, 5, 0);
  grid->addWidget(Label142, 5, 1);
  grid->addWidget(TwoStickComboBox, 6, 0, 1, 2, Qt::AlignHCenter);
  grid->addWidget(note, 7, 0, 1, 2);
  grid->setRowStretch(1, 1);

  connect(TwoStickComboBox, &QComboBox::activated, this, [this](int) { TwoStickComboBoxChange(); });
  connect(TwoButton1Checkbox, &QCheckBox::toggled, this, [this] { TwoButton1CheckboxClick(); });
  connect(TwoButton2Checkbox, &QCheckBox::toggled, this, [this] { TwoButton2CheckboxClick(); });
  connect(TwoHoistButtonDropDown, &QComboBox::activated, this,
          [this](int) { TwoHoistButtonDropDownChange(); });
}

void TwoStickPage::Show(const SettingsImage& local) {
  // Showing stores nothing: the boxes' handlers would write a safety where another mode stands.
  const QSignalBlocker quiet1(TwoButton1Checkbox);
  const QSignalBlocker quiet2(TwoButton2Checkbox);
  TwoButton1Checkbox->setChecked(local[zorvfield::GreenButtonMode] != 0);
  const std::uint8_t type = local[zorvfield::JoystickType];
  for (std::size_t i = 0; i < kViews.size(); ++i) {
    const TwoStickView& v = kViews[i];
    if (v.type != type) continue;
    if (!v.hoistDropDown) TwoButton2Checkbox->setChecked(local[zorvfield::BlueButtonMode] != 0);
    Label140->setText(v.label140);
    Label142->setText(v.label142);
    TwoJ1Label->setText(v.j1);
    TwoJ2Label->setText(v.j2);
    TwoButton1Checkbox->setText(v.button1Caption);
    TwoButton1Checkbox->setEnabled(v.button1Enabled);
    TwoButton2Checkbox->setVisible(!v.hoistDropDown);
    TwoHoistButtonDropDown->setVisible(v.hoistDropDown);
    if (v.hoistDropDown) {
      SelectItem(TwoHoistButtonDropDown,
                 ItemOfCode(kHoistButtonCodes, local[zorvfield::RedButtonMode]));
    }
    SelectItem(TwoStickComboBox, static_cast<int>(i));
  }
}

void TwoStickPage::TwoStickComboBoxChange() {
  const int item = TwoStickComboBox->currentIndex();
  if (item < 0) return;
  const TwoStickVariant& v = kTwoStickVariants[static_cast<std::size_t>(item)];
  SettingsImage& image = host_.Image();
  image[zorvfield::JoystickType] = v.type;
  image[zorvfield::RedButtonMode] = v.redMode;
  image[zorvfield::GreenButtonMode] = v.greenMode;
  host_.RefreshControls(0);
}

void TwoStickPage::TwoButton1CheckboxClick() {
  host_.Image()[zorvfield::GreenButtonMode] = TwoButton1Checkbox->isChecked() ? mode::kSafety : 0;
  host_.RefreshControls(0);
}

void TwoStickPage::TwoButton2CheckboxClick() {
  host_.Image()[zorvfield::BlueButtonMode] = TwoButton2Checkbox->isChecked() ? mode::kSafety : 0;
  host_.RefreshControls(0);
}

void TwoStickPage::TwoHoistButtonDropDownChange() {
  StoreCode(host_.Image(), zorvfield::RedButtonMode, TwoHoistButtonDropDown, kHoistButtonCodes);
}

}  // namespace zorv
