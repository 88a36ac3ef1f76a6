#include "TarnovexGlobalSheet.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <optional>

#include "image/Encodings.h"
#include "image/Repairs.h"
#include "ui/pages/global/PageControls.h"
#include "ui/pages/trims/TrimPair.h"

namespace zorv {

namespace {

namespace tf = tarnovexfield;

constexpr const char* kWindowCaption = "Zorv Configuration Tool";

constexpr std::array<const char*, 10> kSystemModes = {"Single (Hoist / Plow)",
                                                      "Dual (Hoist / Plow)",
                                                      "Dual (Hoist / V-Plow)",
                                                      "Hoist Only",
                                                      "V-Plow Only",
                                                      "Plow Only",
                                                      "Dual (Hoist / Wide Out Plow)",
                                                      "Wide Out Only",
                                                      "Hook Only",
                                                      "3 stick"};

// Which safety boxes a system mode can use: joystick 1, 2, 3.
constexpr std::array<std::array<bool, 3>, 10> kSafetiesByMode = {{
    {false, false, false},
    {true, true, false},
    {true, false, false},
    {true, false, false},
    {false, false, false},
    {false, true, false},
    {true, false, false},
    {false, false, false},
    {true, false, false},
    {true, true, true},
}};

struct TarnovexValveType {
  const char* text;
  std::optional<int> hertz;  // with the global trims; none for "Other"
  std::uint8_t globalMin;
  std::uint8_t globalMax;
};

constexpr int kHusco = 3;
constexpr std::array<TarnovexValveType, 5> kValveTypes = {{
    {"Other", std::nullopt, 0, 0},
    {"MP18", 150, 70, 120},
    {"HydraForce", 220, 70, 150},
    {"Husco", 100, 88, 180},
    {"Sauer Danfoss", 100, 50, 128},
}};

constexpr int kFreqMin = 45;
constexpr int kFreqMax = 325;

QString HertzText(int hertz) {
  return QString::number(hertz) + " Hertz";
}

}  // namespace

TarnovexGlobalSheet::TarnovexGlobalSheet(PageHost& host, QWidget* sheet)
    : QObject(sheet), host_(host), mode_(host), options_(host), safeties_(host),
      frequency_(host, Bindings::AfterStore::Nothing) {
  auto* grid = new QGridLayout(sheet);
  grid->setContentsMargins(6, 6, 6, 6);
  grid->setHorizontalSpacing(8);
  grid->setVerticalSpacing(6);
  grid->addWidget(BuildSystemGroup(sheet), 0, 0);
  grid->addWidget(BuildFrequencyGroup(sheet), 1, 0);
  grid->addWidget(BuildOptionsGroup(sheet), 0, 1);
  grid->addWidget(BuildGlobalTrimsGroup(sheet), 1, 1);
  grid->setRowStretch(1, 1);
  grid->setColumnStretch(1, 1);
  mode_.BindRows(Layout::Tarnovex, "Global", "System Mode", sheet);
  options_.BindRows(Layout::Tarnovex, "Global", "Options", sheet);
  safeties_.BindRows(Layout::Tarnovex, "Global", "Enable Saftey Triggers", sheet);
  frequency_.BindRows(Layout::Tarnovex, "Global", "Valve Frequency", sheet);
  const auto other = [this](const Shown&) { valvetypes_->setCurrentIndex(0); };
  frequency_.OnStored("tarnovex.frequency", other);
  frequency_.OnShown("tarnovex.frequency", other);
  Connect();
}

QWidget* TarnovexGlobalSheet::BuildSystemGroup(QWidget* sheet) {
  auto* box = new QWidget(sheet);
  auto* column = new QVBoxLayout(box);
  column->setContentsMargins(0, 0, 0, 0);
  auto* modeLabel = new QLabel("System Mode:", box);
  joysetting_ = new QComboBox(box);
  joysetting_->setObjectName("joysetting");
  for (const char* mode : kSystemModes) joysetting_->addItem(mode);
  modeLabel->setBuddy(joysetting_);
  column->addWidget(modeLabel);
  column->addWidget(joysetting_);

  auto* safeties = new QGroupBox("Enable Saftey Triggers", box);
  auto* list = new QVBoxLayout(safeties);
  joy1saftey_ = MakeCheckBox("joy1saftey", "Joystick 1 (Hoist/Hook) ", safeties);
  joy2saftey_ = MakeCheckBox("joy2saftey", "Joystick 2 (Plow)", safeties);
  joy3safety_ = MakeCheckBox("joy3safety", "Joystick 3 (Wing)", safeties);
  list->addWidget(joy1saftey_);
  list->addWidget(joy2saftey_);
  list->addWidget(joy3safety_);
  column->addWidget(safeties);
  return box;
}

QWidget* TarnovexGlobalSheet::BuildOptionsGroup(QWidget* sheet) {
  auto* group = new QGroupBox("Options", sheet);
  auto* list = new QVBoxLayout(group);
  list->setSpacing(2);
  for (QCheckBox* box : MakeOptionBoxes(CatalogueRows(Layout::Tarnovex, "Global", "Options"), group)) {
    list->addWidget(box);
  }
  auto* note = new QLabel(
      "NOTE: Once enabled the hoist up will only operate if +12v is applied to the Hoist limit "
      "input.  If no voltage is applied the hoist will not go up.",
      group);
  note->setObjectName("HoistLimitNote");
  note->setWordWrap(true);
  list->addWidget(note);
  return group;
}

QWidget* TarnovexGlobalSheet::BuildFrequencyGroup(QWidget* sheet) {
  auto* group = new QGroupBox("Valve Frequency", sheet);
  auto* column = new QVBoxLayout(group);
  freqbar_ = new QScrollBar(Qt::Horizontal, group);
  freqbar_->setObjectName("freqbar");
  freqbar_->setFocusPolicy(Qt::StrongFocus);  // reachable with Tab, moved with the arrow keys
  freqbar_->setRange(kFreqMin, kFreqMax);
  freqbar_->setSingleStep(1);
  freqbar_->setPageStep(1);
  freqbar_->setValue(kFreqMin);
  hertzlabel2_ = new QLabel(HertzText(kFreqMin), group);
  hertzlabel2_->setObjectName("Hertzlabel2");
  hertzlabel2_->setAlignment(Qt::AlignCenter);
  column->addWidget(freqbar_);
  column->addWidget(hertzlabel2_);

  auto* typeLabel = new QLabel("Valve types", group);
  valvetypes_ = new QComboBox(group);
  valvetypes_->setObjectName("Valvetypes");
  valvetypes_->setEditable(true);
  // Typed text is only text: it inserts no item, completes to none and selects none.
  valvetypes_->setInsertPolicy(QComboBox::NoInsert);
  valvetypes_->setCompleter(nullptr);
  QObject::disconnect(valvetypes_->lineEdit(), &QLineEdit::editingFinished, valvetypes_, nullptr);
  for (const TarnovexValveType& type : kValveTypes) valvetypes_->addItem(type.text);
  valvetypes_->setCurrentIndex(-1);
  valvetypes_->setEditText(" ");
  typeLabel->setBuddy(valvetypes_);
  column->addSpacing(6);
  column->addWidget(typeLabel);
  column->addWidget(valvetypes_);
  column->addStretch(1);
  return group;
}

QWidget* TarnovexGlobalSheet::BuildGlobalTrimsGroup(QWidget* sheet) {
  auto* group = new QGroupBox("Global Trims", sheet);
  auto* grid = new QGridLayout(group);
  grid->setVerticalSpacing(2);
  globalmintrim2_ = MakeTrimBar("globalmintrim2", group);
  globalmaxtrim2_ = MakeTrimBar("globalmaxtrim2", group);
  globalmintrim2_->setMinimumHeight(70);
  globalmaxtrim2_->setMinimumHeight(70);
  gminvalue_ = new QLabel(QString::fromStdString(TrimVoltsText(host_.Trims().min)), group);
  gminvalue_->setObjectName("gminvalue");
  gmaxvalue_ = new QLabel(QString::fromStdString(TrimVoltsText(host_.Trims().max)), group);
  gmaxvalue_->setObjectName("gmaxvalue");
  setglobal2_ = new QPushButton("Set All Trims", group);
  setglobal2_->setObjectName("setglobal2");
  auto* minHead = new QLabel("Min", group);
  auto* maxHead = new QLabel("Max", group);
  for (QLabel* label : {minHead, maxHead, gminvalue_, gmaxvalue_}) {
    label->setAlignment(Qt::AlignCenter);
  }
  grid->addWidget(minHead, 0, 0);
  grid->addWidget(maxHead, 0, 1);
  grid->addWidget(globalmintrim2_, 1, 0, Qt::AlignHCenter);
  grid->addWidget(globalmaxtrim2_, 1, 1, Qt::AlignHCenter);
  grid->addWidget(gminvalue_, 2, 0);
  grid->addWidget(gmaxvalue_, 2, 1);
  grid->addWidget(setglobal2_, 1, 2, Qt::AlignVCenter);
  grid->setRowStretch(1, 1);
  return group;
}

void TarnovexGlobalSheet::Connect() {
  using S = TarnovexGlobalSheet;
  connect(globalmintrim2_, &QScrollBar::valueChanged, this, &S::globalmintrim2Change);
  connect(globalmaxtrim2_, &QScrollBar::valueChanged, this, &S::globalmaxtrim2Change);
  connect(setglobal2_, &QPushButton::clicked, this, &S::setglobal2Click);
  connect(valvetypes_, &QComboBox::activated, this, &S::ValvetypesChange);
  // Text typed over a choice is only text: "Set All Trims" must not still see "Husco".
  connect(valvetypes_->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
    if (valvetypes_->currentIndex() < 0) return;
    const int cursor = valvetypes_->lineEdit()->cursorPosition();
    valvetypes_->setCurrentIndex(-1);
    valvetypes_->setEditText(text);
    valvetypes_->lineEdit()->setCursorPosition(cursor);
  });
}

void TarnovexGlobalSheet::ShowSystemMode(const SettingsImage& local) {
  // Also under attitude control, which forces "V-Plow Only" for the next refresh; a mode outside
  // the list shows no selection.
  mode_.ShowAll(local);
}

void TarnovexGlobalSheet::EnableSafeties(std::uint8_t systemMode) {
  if (systemMode >= kSafetiesByMode.size()) return;  // unknown modes leave the boxes as they are
  const auto& on = kSafetiesByMode[systemMode];
  joy1saftey_->setEnabled(on[0]);
  joy2saftey_->setEnabled(on[1]);
  joy3safety_->setEnabled(on[2]);
}

void TarnovexGlobalSheet::ShowOptions(SettingsImage& local) {
  RepairTarnovexOptions(local);
  options_.Show(local);
  // Attitude control runs a V-plow alone; "System Mode:" catches up at the next refresh.
  if (local[tf::AttitudeControl] == 1) local[tf::SystemMode] = 4;
}

void TarnovexGlobalSheet::ShowSafeties(SettingsImage& local) {
  safeties_.Show(local);
}

void TarnovexGlobalSheet::ShowFrequency(const SettingsImage& local) { frequency_.Show(local); }

void TarnovexGlobalSheet::ShowGlobalTrims(const GlobalTrimPair& trims) {
  gminvalue_->setText(QString::fromStdString(TrimVoltsText(trims.min)));
  gmaxvalue_->setText(QString::fromStdString(TrimVoltsText(trims.max)));
  globalmintrim2_->setValue(TrimBarPosition(trims.min));
  globalmaxtrim2_->setValue(TrimBarPosition(trims.max));
}

void TarnovexGlobalSheet::globalmintrim2Change() {
  GlobalTrimPair& trims = host_.Trims();
  trims.min = TrimByteFromBar(globalmintrim2_->value());
  trims.max = std::max(trims.min, trims.max);
  valvetypes_->setCurrentIndex(0);
  host_.RefreshControls(0);
}

void TarnovexGlobalSheet::globalmaxtrim2Change() {
  GlobalTrimPair& trims = host_.Trims();
  trims.max = TrimByteFromBar(globalmaxtrim2_->value());
  trims.min = std::min(trims.min, trims.max);
  valvetypes_->setCurrentIndex(0);
  host_.RefreshControls(0);
}

void TarnovexGlobalSheet::setglobal2Click() {
  if (host_.prompts().Confirm(kWindowCaption, "This will change ALL the trims!  Are you sure?")) {
    SettingsImage& image = host_.Image();
    const GlobalTrimPair trims = host_.Trims();
    std::size_t first = tf::HoistUpMin;
    if (valvetypes_->currentIndex() == kHusco) {
      // Husco hoist valves need their own pair on both hoist outputs.
      image[tf::HoistUpMin] = 124;
      image[tf::HoistUpMax] = 232;
      image[tf::HoistDownMin] = 124;
      image[tf::HoistDownMax] = 232;
      first = tf::HoistLeftMin;
    }
    // The right wing trims (bytes 25 to 28) keep their own values.
    for (std::size_t min = first; min <= tf::PlowRightMin; min += 2) {
      image[min] = trims.min;
      image[min + 1] = trims.max;
    }
  }
  host_.RefreshControls(0);
}

void TarnovexGlobalSheet::ValvetypesChange(int index) {
  if (index >= 0 && index < static_cast<int>(kValveTypes.size())) {
    const TarnovexValveType& type = kValveTypes[static_cast<std::size_t>(index)];
    if (type.hertz) {
      freqbar_->setValue(*type.hertz);
      host_.Trims() = GlobalTrimPair{type.globalMin, type.globalMax};
    }
  }
  host_.RefreshControls(0);
  QApplication::processEvents();
  // The frequency bar's handler showed "Other"; the choice stays on view.
  valvetypes_->setCurrentIndex(index);
}

}  // namespace zorv
