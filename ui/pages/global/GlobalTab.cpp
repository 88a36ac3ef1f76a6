#include "GlobalTab.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

#include "image/Encodings.h"
#include "image/ZorvLayout.h"
#include "ui/pages/global/GlobalOptions.h"
#include "ui/pages/global/ValvePresets.h"
#include "ui/pages/trims/TrimPair.h"

namespace zorv {

namespace {

constexpr int kFreqMin = 25;
constexpr int kFreqMax = 450;
constexpr int kFreqInitial = 50;

const QString kWindowCaption = "Zorv Configuration Tool";

QString HertzText(int hertz) { return QString::number(hertz) + " Hertz"; }

}  // namespace

GlobalTab::GlobalTab(PageHost& host, QWidget* sheet)
    : host_(host), frequency_(host, Bindings::AfterStore::Nothing) {
  // Frequency and valve type.
  auto* freqGroup = new QGroupBox("PWM Frequency", sheet);
  freqBar_ = new QScrollBar(Qt::Horizontal, freqGroup);
  freqBar_->setObjectName("FreqScrollbar");
  freqBar_->setFocusPolicy(Qt::StrongFocus);  // reachable with Tab, moved with the arrow keys
  freqBar_->setRange(kFreqMin, kFreqMax);
  freqBar_->setSingleStep(5);
  freqBar_->setPageStep(10);
  freqBar_->setValue(kFreqInitial);
  hertzLabel_ = new QLabel(HertzText(kFreqInitial), freqGroup);
  hertzLabel_->setObjectName("HertzLabel");
  hertzLabel_->setMinimumWidth(hertzLabel_->fontMetrics().horizontalAdvance("450 Hertz") + 8);
  valveCombo_ = new QComboBox(freqGroup);
  valveCombo_->setObjectName("ValveComboBox");
  for (const ValveType& type : ZorvValveTypes()) valveCombo_->addItem(type.text);
  valveCombo_->setCurrentIndex(kValveOther);
  // The items are long; the closed box stays narrow and the list opens wide enough for them.
  valveCombo_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  valveCombo_->setMinimumContentsLength(24);
  valveCombo_->view()->setMinimumWidth(valveCombo_->view()->sizeHintForColumn(0) + 24);
  auto* valveLabel = new QLabel("Valve Type:", freqGroup);
  valveLabel->setBuddy(valveCombo_);

  auto* freqGrid = new QGridLayout(freqGroup);
  freqGrid->setContentsMargins(8, 6, 8, 6);
  freqGrid->addWidget(freqBar_, 0, 0, 1, 2);
  freqGrid->addWidget(hertzLabel_, 0, 2);
  freqGrid->addWidget(valveLabel, 1, 0);
  freqGrid->addWidget(valveCombo_, 1, 1, 1, 2);
  freqGrid->setColumnStretch(1, 1);

  options_ = std::make_unique<GlobalOptions>(host, sheet);

  // Global trims.
  auto* trimGroup = new QGroupBox("Global Trims", sheet);
  auto* allLabel = new QLabel("(All Hydraulics)", trimGroup);
  allLabel->setAlignment(Qt::AlignCenter);
  globalMinBar_ = MakeTrimBar("GlobalMinScrollBar", trimGroup);
  globalMaxBar_ = MakeTrimBar("GlobalMaxScrollbar", trimGroup);
  globalMinLabel_ = MakeTrimValueLabel("GlobalMinValueLabel", trimGroup);
  globalMaxLabel_ = MakeTrimValueLabel("GlobalMaxValueLabel", trimGroup);
  globalButton_ = new QPushButton("Set All Trims", trimGroup);
  globalButton_->setObjectName("GlobalButton");
  auto* minHead = new QLabel("Min", trimGroup);
  auto* maxHead = new QLabel("Max", trimGroup);
  minHead->setAlignment(Qt::AlignCenter);
  maxHead->setAlignment(Qt::AlignCenter);

  auto* trimGrid = new QGridLayout(trimGroup);
  trimGrid->setContentsMargins(8, 6, 8, 8);
  trimGrid->addWidget(allLabel, 0, 0, 1, 2);
  trimGrid->addWidget(minHead, 1, 0);
  trimGrid->addWidget(maxHead, 1, 1);
  trimGrid->addWidget(globalMinBar_, 2, 0, Qt::AlignHCenter);
  trimGrid->addWidget(globalMaxBar_, 2, 1, Qt::AlignHCenter);
  trimGrid->setRowStretch(2, 1);
  trimGrid->addWidget(globalMinLabel_, 3, 0);
  trimGrid->addWidget(globalMaxLabel_, 3, 1);
  trimGrid->addWidget(globalButton_, 4, 0, 1, 2);

  auto* left = new QVBoxLayout;
  left->addWidget(freqGroup);
  left->addWidget(options_->group(), 1);
  auto* row = new QHBoxLayout(sheet);
  row->setContentsMargins(6, 6, 6, 6);
  row->addLayout(left, 1);
  row->addWidget(trimGroup);

  frequency_.BindRows(Layout::Zorv, "Global", "PWM Frequency", freqGroup);
  const auto other = [this](const Shown&) { valveCombo_->setCurrentIndex(kValveOther); };
  frequency_.OnStored("zorv.global.frequency", other);
  frequency_.OnShown("zorv.global.frequency", other);
  connect(valveCombo_, &QComboBox::activated, this, &GlobalTab::ValveComboBoxChange);
  connect(globalMinBar_, &QScrollBar::valueChanged, this, &GlobalTab::GlobalMinScrollBarChange);
  connect(globalMaxBar_, &QScrollBar::valueChanged, this, &GlobalTab::GlobalMaxScrollbarChange);
  connect(globalButton_, &QPushButton::clicked, this, &GlobalTab::GlobalButtonClick);
}

GlobalTab::~GlobalTab() = default;

void GlobalTab::ValveComboBoxChange() {
  const int chosen = valveCombo_->currentIndex();
  if (chosen >= 0 && chosen < kValveTypeCount) {
    if (const auto& preset = ZorvValveTypes()[static_cast<std::size_t>(chosen)].preset) {
      freqBar_->setValue(preset->hertz);
      host_.Trims().min = preset->globalMin;
      host_.Trims().max = preset->globalMax;
    }
  }
  host_.RefreshControls(0);
  QCoreApplication::processEvents();
  // The refresh may have moved the frequency bar, which shows "Other".
  valveCombo_->setCurrentIndex(chosen);
  host_.prompts().Message(Prompts::Kind::Information, kWindowCaption,
                          "You must press \"Set All Trims\" to change all PWM channels");
}

void GlobalTab::GlobalMinScrollBarChange() {
  GlobalTrimPair& trims = host_.Trims();
  trims.min = TrimByteFromBar(globalMinBar_->value());
  trims.max = std::max(trims.min, trims.max);
  valveCombo_->setCurrentIndex(kValveOther);
  host_.RefreshControls(0);
}

void GlobalTab::GlobalMaxScrollbarChange() {
  GlobalTrimPair& trims = host_.Trims();
  trims.max = TrimByteFromBar(globalMaxBar_->value());
  trims.min = std::min(trims.min, trims.max);
  valveCombo_->setCurrentIndex(kValveOther);
  host_.RefreshControls(0);
}

void GlobalTab::GlobalButtonClick() {
  if (host_.prompts().Confirm(kWindowCaption, "This will change ALL the trims!  Are you sure?")) {
    SettingsImage& image = host_.Image();
    const GlobalTrimPair trims = host_.Trims();
    for (int function = 1; function <= kFunctionCount; ++function) {
      image[zorvfield::TrimMin(function)] = trims.min;
      image[zorvfield::TrimMax(function)] = trims.max;
    }
    if (valveCombo_->currentIndex() == kValveHusco) {
      // Husco hoist sections run on trims of their own.
      for (int function : {1, 2}) {
        image[zorvfield::TrimMin(function)] = 124;
        image[zorvfield::TrimMax(function)] = 232;
      }
    }
  }
  host_.RefreshControls(0);
}

void GlobalTab::Refresh(ZorvStep step, SettingsImage& local) {
  switch (step) {
    case ZorvStep::Frequency:
      frequency_.Show(local);
      break;
    case ZorvStep::TrimBars:
      globalMinBar_->setValue(TrimBarPosition(host_.Trims().min));
      globalMaxBar_->setValue(TrimBarPosition(host_.Trims().max));
      break;
    case ZorvStep::TrimLabels:
      globalMinLabel_->setText(QString::fromStdString(TrimVoltsText(host_.Trims().min)));
      globalMaxLabel_->setText(QString::fromStdString(TrimVoltsText(host_.Trims().max)));
      break;
    default: break;
  }
  options_->Refresh(step, local);
}

}  // namespace zorv
