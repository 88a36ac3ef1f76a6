#include "HalverstonMainSheet.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "image/Encodings.h"
#include "image/Repairs.h"
#include "ui/pages/global/PageControls.h"
#include "ui/widgets/SpinEdit.h"

namespace zorv {

namespace {

constexpr int kFreqMin = 25;
constexpr int kFreqMax = 450;
constexpr int kTicksMax = 250;

QString HertzText(int hertz) {
  return QString::number(hertz) + " Hertz";
}
QString TicksLabel(int ticks) {
  return QString::fromStdString(TicksText(ticks));
}

}  // namespace

HalverstonMainSheet::HalverstonMainSheet(PageHost& host, QWidget* sheet)
    : QObject(sheet), bindings_(host, Bindings::AfterStore::Nothing) {
  auto* row = new QHBoxLayout(sheet);
  row->setContentsMargins(6, 6, 6, 6);
  row->setSpacing(8);
  row->addWidget(BuildTimesGroup(sheet), 1);
  row->addWidget(BuildDecelerationGroup(sheet), 1);

  bindings_.BindRows(Layout::Halverston, "Main", "", sheet);
  // With the proximity sensors the arm timers are not used.
  connect(radioButton1_, &QRadioButton::toggled, this, [this](bool on) { EnableArmTimers(!on); });
}

HalverstonMainSheet::TimerBar HalverstonMainSheet::MakeTimer(const char* barName,
                                                             const char* labelName,
                                                             QWidget* parent) {
  auto* bar = new QScrollBar(Qt::Horizontal, parent);
  bar->setObjectName(barName);
  bar->setFocusPolicy(Qt::StrongFocus);  // reachable with Tab, moved with the arrow keys
  bar->setRange(0, kTicksMax);
  bar->setValue(0);
  bar->setMinimumWidth(120);
  auto* label = new QLabel(TicksLabel(0), parent);
  label->setObjectName(labelName);
  label->setMinimumWidth(label->fontMetrics().horizontalAdvance("14.94 s") + 4);
  return {bar, label};
}

QWidget* HalverstonMainSheet::BuildTimesGroup(QWidget* sheet) {
  auto* box = new QWidget(sheet);
  auto* column = new QVBoxLayout(box);
  column->setContentsMargins(0, 0, 0, 0);

  auto* frequency = new QGroupBox("Valve Frequency", box);
  auto* freqRow = new QHBoxLayout(frequency);
  scrollBar17_ = new QScrollBar(Qt::Horizontal, frequency);
  scrollBar17_->setObjectName("ScrollBar17");
  scrollBar17_->setFocusPolicy(Qt::StrongFocus);
  scrollBar17_->setRange(kFreqMin, kFreqMax);
  scrollBar17_->setSingleStep(5);
  scrollBar17_->setPageStep(10);
  scrollBar17_->setValue(50);
  label230_ = new QLabel(HertzText(50), frequency);
  label230_->setObjectName("Label230");
  label230_->setMinimumWidth(label230_->fontMetrics().horizontalAdvance("450 Hertz") + 4);
  freqRow->addWidget(scrollBar17_, 1);
  freqRow->addWidget(label230_);
  column->addWidget(frequency);

  auto* times = new QGroupBox("Times", box);
  auto* grid = new QGridLayout(times);
  timers_[kGripClose] = MakeTimer("ScrollBar18", "Label240", times);
  timers_[kDumpRun] = MakeTimer("ScrollBar19", "Label241", times);
  grid->addWidget(new QLabel("Grip Close Time", times), 0, 0, 1, 2);
  grid->addWidget(timers_[kGripClose].bar, 1, 0);
  grid->addWidget(timers_[kGripClose].label, 1, 1);
  grid->addWidget(new QLabel("Dump Cylinder Run Time", times), 2, 0, 1, 2);
  grid->addWidget(timers_[kDumpRun].bar, 3, 0);
  grid->addWidget(timers_[kDumpRun].label, 3, 1);
  grid->setColumnStretch(0, 1);
  column->addWidget(times);
  column->addStretch(1);
  return box;
}

QWidget* HalverstonMainSheet::BuildDecelerationGroup(QWidget* sheet) {
  auto* group = new QGroupBox("Deceleration", sheet);
  auto* column = new QVBoxLayout(group);
  radioButton1_ = new QRadioButton("Use Prox Sensors ", group);
  radioButton1_->setObjectName("RadioButton1");
  radioButton2_ = new QRadioButton("Use Timers ", group);
  radioButton2_->setObjectName("RadioButton2");
  column->addWidget(radioButton1_);
  column->addWidget(radioButton2_);

  auto* form = new QFormLayout;
  spinEdit2_ = MakeSpinEdit("SpinEdit2", 1, 50, group);
  spinEdit1_ = MakeSpinEdit("SpinEdit1", 1, 100, group);
  form->addRow("Rate", spinEdit2_);
  form->addRow("Update Laps", spinEdit1_);
  column->addLayout(form);

  auto* heading = new QLabel("Timers", group);
  QFont bold = heading->font();
  bold.setBold(true);
  heading->setFont(bold);
  column->addWidget(heading);
  auto* grid = new QGridLayout;
  timers_[kArmUp] = MakeTimer("ScrollBar22", "Label243", group);
  timers_[kArmDown] = MakeTimer("ScrollBar21", "Label244", group);
  timers_[kArmIn] = MakeTimer("ScrollBar20", "Label245", group);
  const std::array<std::pair<const char*, Timer>, 3> rows = {
      {{"Arm Up", kArmUp}, {"Arm Down", kArmDown}, {"Arm In", kArmIn}}};
  int r = 0;
  for (const auto& [caption, timer] : rows) {
    grid->addWidget(new QLabel(caption, group), r, 0);
    grid->addWidget(timers_[timer].bar, r, 1);
    grid->addWidget(timers_[timer].label, r, 2);
    ++r;
  }
  grid->setColumnStretch(1, 1);
  column->addLayout(grid);
  column->addStretch(1);
  return group;
}

void HalverstonMainSheet::Show(SettingsImage& local) {
  RepairHalverston(local);
  bindings_.Show(local);
  EnableArmTimers(!radioButton1_->isChecked());
}

void HalverstonMainSheet::EnableArmTimers(bool on) {
  for (Timer timer : {kArmUp, kArmDown, kArmIn}) timers_[timer].bar->setEnabled(on);
}

}  // namespace zorv
