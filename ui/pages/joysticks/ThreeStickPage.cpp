#include "ThreeStickPage.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>

#include "Controls.h"
#include "JoystickLists.h"
#include "StickPicture.h"
#include "image/ZorvLayout.h"
#include "ui/PageHost.h"

namespace zorv {

using namespace joystickui;
using namespace joysticklists;

namespace {

// The two fixed three-stick layouts.
struct FixedView {
  std::uint8_t type;
  int item;
  const char* label12;
  const char* label9;
  const char* label10;
  const char* primaryOnly;
  const char* withSecondary;  // middle button 6 or 11
};
constexpr std::array<FixedView, 2> kFixedViews = {{
    {23, 0, "Plow", "Plow Button:", "Wing/Blade Button:", "Primary Wing (port B)",
     "Primary Wing (port B)/Secondary Blade (port C)"},
    {24, 1, "Wing", "Wing Button:", "Plow/Blade Button:", "Primary Plow (port A)",
     "Primary Plow (port A)/Secondary Blade (port C)"},
}};

QLabel* Centred(QLabel* label) {
  label->setAlignment(Qt::AlignHCenter);
  return label;
}
}  // namespace

ThreeStickPage::ThreeStickPage(QWidget* parent, PageHost& host) : QWidget(parent), host_(host),
      functions_(host, Bindings::AfterStore::Nothing) {
  setObjectName(kPageCaptions[page::kThreeStick]);

  // Left to right, top to bottom, for the Tab order.
  Label9 = Centred(MakeCaption(this, "Plow Button:", "Label9"));
  Label10 = Centred(MakeCaption(this, "Wing/Blade Button:", "Label10"));
  Label13 = Centred(MakeCaption(this, "Hoist Button:", "Label13"));
  plowoptions = MakeDropDown(this, "plowoptions", kPlowOptionItems);
  ThreeWingButtonDropDown = MakeDropDown(this, "ThreeWingButtonDropDown", kWingButtonItems);
  ThreeHoistButtonDropDown = MakeDropDown(this, "ThreeHoistButtonDropDown", kHoistButtonItems);

  QFont bold = font();
  bold.setBold(true);
  Label12 = Centred(MakeCaption(this, "Plow", "Label12"));
  WingBladeLabel = Centred(MakeCaption(this, "Primary Wing (port B)", "WingBladeLabel"));
  WingBladeLabel->setWordWrap(true);
  Label14 = Centred(MakeCaption(this, "Hoist", "Label14"));
  for (QLabel* l : {Label12, WingBladeLabel, Label14}) l->setFont(bold);

  joystick3 = MakeDropDown(this, "joystick3", kThreeStickFunctions);
  Label119 = MakeCaption(this, "Primary:", "Label119");
  joystick2a = MakeDropDown(this, "joystick2a", kThreeStickFunctions);
  Label120 = MakeCaption(this, "Secondary:", "Label120");
  joystick2b = MakeDropDown(this, "joystick2b", kThreeStickFunctions);
  joystick1 = MakeDropDown(this, "joystick1", kThreeStickFunctions);
  for (QWidget* w : std::initializer_list<QWidget*>{joystick3, Label119, joystick2a, Label120,
                                                    joystick2b, joystick1}) {
    w->hide();
  }

  auto* heading = Centred(MakeCaption(this, "Zorv Joystick board mounting locations "));
  heading->setFont(bold);
  heading->setContentsMargins(0, 6, 0, 0);
  triomodes = MakeDropDown(this, "triomodes", kThreeStickItems);
  auto* notes = MakeCaption(this, kStickNotes);
  notes->setWordWrap(true);

  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(8, 4, 8, 4);
  grid->setVerticalSpacing(3);
  grid->setHorizontalSpacing(10);
  grid->addWidget(Label9, 0, 0);
  grid->addWidget(Label10, 0, 1, 1, 2);
  grid->addWidget(Label13, 0, 3);
  grid->addWidget(plowoptions, 1, 0);
  grid->addWidget(ThreeWingButtonDropDown, 1, 1, 1, 2);
  grid->addWidget(ThreeHoistButtonDropDown, 1, 3);
  grid->addWidget(new StickPicture(this, QColor(220, 30, 30)), 2, 0);
  grid->addWidget(new StickPicture(this, QColor(220, 30, 30)), 2, 1, 1, 2);
  grid->addWidget(new StickPicture(this, QColor(220, 30, 30)), 2, 3);
  grid->addWidget(Label12, 3, 0);
  grid->addWidget(WingBladeLabel, 3, 1, 1, 2);
  grid->addWidget(Label14, 3, 3);
  grid->addWidget(joystick3, 4, 0);
  grid->addWidget(Label119, 4, 1);
  grid->addWidget(joystick2a, 4, 2);
  grid->addWidget(joystick1, 4, 3);
  grid->addWidget(Label120, 5, 1);
  grid->addWidget(joystick2b, 5, 2);
  grid->addWidget(heading, 6, 0, 1, 4);
  grid->addWidget(Centred(MakeCaption(this, "Plow or JS2")), 7, 0);
  grid->addWidget(Centred(MakeCaption(this, "Wing/Blade or JS3")), 7, 1, 1, 2);
  grid->addWidget(Centred(MakeCaption(this, "Hoist or JS1")), 7, 3);
  grid->addWidget(triomodes, 8, 0, 1, 4, Qt::AlignHCenter);
  grid->addWidget(notes, 9, 0, 1, 4);
  grid->setRowStretch(2, 1);
  for (int c : {0, 3}) grid->setColumnStretch(c, 2);
  for (int c : {1, 2}) grid->setColumnStretch(c, 1);

  connect(triomodes, &QComboBox::activated, this, [this](int) { triomodesChange(); });
  connect(ThreeHoistButtonDropDown, &QComboBox::activated, this,
          [this](int) { ThreeHoistButtonDropDownChange(); });
  connect(plowoptions, &QComboBox::activated, this, [this](int) { plowoptionsChange(); });
  connect(ThreeWingButtonDropDown, &QComboBox::activated, this,
          [this](int) { ThreeWingButtonDropDownChange(); });
  // The function drop-downs store without a refresh.
  functions_.BindKeys(Layout::Zorv,
                      {"zorv.three_stick.stick1", "zorv.three_stick.stick2a",
                       "zorv.three_stick.stick2b", "zorv.three_stick.stick3"},
                      this);
}

void ThreeStickPage::Show(const SettingsImage& local) {
  const std::initializer_list<QWidget*> captions = {Label9,  Label10, Label12,
                                                    Label13, Label14, WingBladeLabel};
  const std::initializer_list<QWidget*> custom = {Label119,   Label120,   joystick1,
                                                  joystick2a, joystick2b, joystick3};
  for (QWidget* w : captions) w->show();
  for (QWidget* w : custom) w->hide();

  const std::uint8_t type = local[zorvfield::JoystickType];
  const std::uint8_t blue = local[zorvfield::BlueButtonMode];
  const bool secondary = blue == mode::kMode || blue == mode::kToggle;
  for (const FixedView& v : kFixedViews) {
    if (v.type != type) continue;
    SelectItem(triomodes, v.item);
    Label12->setText(v.label12);
    Label9->setText(v.label9);
    Label10->setText(v.label10);
    ShowButtonDropDowns(local);
    WingBladeLabel->setText(secondary ? v.withSecondary : v.primaryOnly);
  }
  switch (type) {
    case joystick::kThreeHfxCustom:
      SelectItem(triomodes, 2);
      for (QWidget* w : captions) w->hide();
      for (QWidget* w : custom) w->show();
      ShowButtonDropDowns(local);
      functions_.Show(local);
      break;
    default:
      break;
  }
}

void ThreeStickPage::ShowButtonDropDowns(const SettingsImage& local) {
  SelectItem(plowoptions, ItemOfCode(kPlowOptionCodes, local[zorvfield::GreenButtonMode]));
  SelectItem(ThreeHoistButtonDropDown,
             ItemOfCode(kHoistButtonCodes, local[zorvfield::RedButtonMode]));
  SelectItem(ThreeWingButtonDropDown,
             ItemOfCode(kWingButtonCodes, local[zorvfield::BlueButtonMode]));
}

void ThreeStickPage::triomodesChange() {
  if (StoreCode(host_.Image(), zorvfield::JoystickType, triomodes, kThreeStickTypes)) {
    host_.RefreshControls(0);
  }
}

void ThreeStickPage::ThreeHoistButtonDropDownChange() {
  StoreCode(host_.Image(), zorvfield::RedButtonMode, ThreeHoistButtonDropDown, kHoistButtonCodes);
}

void ThreeStickPage::plowoptionsChange() {
  StoreCode(host_.Image(), zorvfield::GreenButtonMode, plowoptions, kPlowOptionCodes);
}

void ThreeStickPage::ThreeWingButtonDropDownChange() {
  if (StoreCode(host_.Image(), zorvfield::BlueButtonMode, ThreeWingButtonDropDown,
                kWingButtonCodes)) {
    host_.RefreshControls(0);
  }
}

}  // namespace zorv
