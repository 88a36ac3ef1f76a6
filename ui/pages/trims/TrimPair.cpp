#include "TrimPair.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QScrollBar>
#include <QSignalBlocker>
#include <algorithm>
#include <stdexcept>

#include "image/Encodings.h"
#include "ui/pages/trims/TestButton.h"

namespace zorv {

std::vector<TrimPairDef> TrimPairsOf(Layout layout, const std::string& page,
                                     std::span<const TrimPairButtons> buttons) {
  std::vector<const Setting*> rows;
  for (const Setting& row : CatalogueOf(layout)) {
    if (row.page == page && row.encoding == Encoding::TrimVolts) rows.push_back(&row);
  }
  if (rows.size() != 2 * buttons.size()) throw std::logic_error("trim rows and buttons disagree");
  std::vector<TrimPairDef> defs;
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    const Setting& min = *rows[2 * i];
    const Setting& max = *rows[2 * i + 1];
    const TrimPairButtons& b = buttons[i];
    defs.push_back({min.group.c_str(), b.port, min.controls[0].c_str(), max.controls[0].c_str(),
                    min.controls[1].c_str(), max.controls[1].c_str(), b.minButton, b.maxButton,
                    min.ranges.front().offset, max.ranges.front().offset, b.command});
  }
  return defs;
}

QScrollBar* MakeTrimBar(const char* name, QWidget* parent) {
  auto* bar = new QScrollBar(Qt::Vertical, parent);
  bar->setObjectName(name);
  bar->setFocusPolicy(Qt::StrongFocus);  // a scroll bar takes no focus by default: no Tab, no keys
  bar->setRange(kTrimBarMin, kTrimBarMax);
  bar->setSingleStep(kTrimBarSmallStep);
  bar->setPageStep(kTrimBarLargeStep);
  bar->setValue(kTrimBarMin);
  bar->setMinimumHeight(120);
  return bar;
}

QLabel* MakeTrimValueLabel(const char* name, QWidget* parent) {
  auto* label = new QLabel(QString::fromStdString(TrimVoltsText(0)), parent);
  label->setObjectName(name);
  label->setAlignment(Qt::AlignCenter);
  label->setMinimumWidth(label->fontMetrics().horizontalAdvance("12.8v"));
  return label;
}

TrimPair::TrimPair(PageHost& host, const TrimPairDef& def, QWidget* parent)
    : host_(host), def_(def) {
  group_ = new QGroupBox(QString::fromLatin1(def.caption), parent);
  minBar_ = MakeTrimBar(def.minBar, group_);
  maxBar_ = MakeTrimBar(def.maxBar, group_);
  minLabel_ = MakeTrimValueLabel(def.minLabel, group_);
  maxLabel_ = MakeTrimValueLabel(def.maxLabel, group_);
  minButton_ = new TestButton("Test Min", group_);
  minButton_->setObjectName(def.minButton);
  maxButton_ = new TestButton("Test Max", group_);
  maxButton_->setObjectName(def.maxButton);
  // Six groups share a tab: the buttons need room for their text only.
  for (TestButton* button : {minButton_, maxButton_}) {
    button->setMinimumWidth(button->fontMetrics().horizontalAdvance(button->text()) + 16);
    // Ends with this pair (its group may outlive it while the window is destroyed).
    focusLost_.push_back(QObject::connect(button, &TestButton::heldFocusLost, button,
                                          [&host] { StopLiveTest(host); }));
  }

  auto* grid = new QGridLayout(group_);
  grid->setContentsMargins(4, 4, 4, 4);
  grid->setVerticalSpacing(3);
  grid->setHorizontalSpacing(2);
  int row = 0;
  if (def.port != nullptr) {
    auto* port = new QLabel(QStringLiteral("Output %1").arg(QLatin1String(def.port)), group_);
    port->setAlignment(Qt::AlignCenter);
    grid->addWidget(port, row++, 0, 1, 2);
  }
  auto* minHead = new QLabel("Min", group_);
  auto* maxHead = new QLabel("Max", group_);
  minHead->setAlignment(Qt::AlignCenter);
  maxHead->setAlignment(Qt::AlignCenter);
  grid->addWidget(minHead, row, 0);
  grid->addWidget(maxHead, row++, 1);
  grid->addWidget(minBar_, row, 0, Qt::AlignHCenter);
  grid->addWidget(maxBar_, row, 1, Qt::AlignHCenter);
  grid->setRowStretch(row++, 1);
  grid->addWidget(minLabel_, row, 0);
  grid->addWidget(maxLabel_, row++, 1);
  grid->addWidget(minButton_, row++, 0, 1, 2);
  grid->addWidget(maxButton_, row, 0, 1, 2);
}

TrimPair::~TrimPair() {
  for (const QMetaObject::Connection& c : focusLost_) QObject::disconnect(c);
}

void TrimPair::MinBarChange() {
  SettingsImage& image = host_.Image();
  const std::uint8_t trim = TrimByteFromBar(minBar_->value());
  image[def_.minByte] = trim;
  image[def_.maxByte] = std::max(trim, image[def_.maxByte]);
  host_.RefreshControls(0);
}

void TrimPair::MaxBarChange() {
  SettingsImage& image = host_.Image();
  const std::uint8_t trim = TrimByteFromBar(maxBar_->value());
  image[def_.maxByte] = trim;
  image[def_.minByte] = std::min(image[def_.minByte], trim);
  host_.RefreshControls(0);
}

void TrimPair::StartTest(std::size_t byte) {
  host_.SetCommand(def_.command, host_.Image()[byte]);
  // 0 means "no test" to the window's timer, which would then never stop this one; a press at
  // tick 0 is stamped one millisecond earlier instead.
  const std::uint32_t now = host_.clock().Ticks();
  host_.TestTimeStamp() = now != 0 ? now : UINT32_MAX;
}

void TrimPair::TestMinDown() { StartTest(def_.minByte); }
void TrimPair::TestMaxDown() { StartTest(def_.maxByte); }

void StopLiveTest(PageHost& host) {
  host.SetCommand(0, 0);
  host.TestTimeStamp() = 0;
}

void TrimPair::ReleaseToIdle() { StopLiveTest(host_); }

void TrimPair::ReleaseOwnCommand() {
  host_.SetCommand(def_.command, 0);
  host_.TestTimeStamp() = 1;
}

void TrimPair::ShowBars(const SettingsImage& local) {
  // The bar holds an out-of-range position at its nearer end; showing stores nothing.
  const QSignalBlocker quietMin(minBar_);
  const QSignalBlocker quietMax(maxBar_);
  minBar_->setValue(TrimBarPosition(local[def_.minByte]));
  maxBar_->setValue(TrimBarPosition(local[def_.maxByte]));
}

void TrimPair::ShowLabels(const SettingsImage& local) {
  minLabel_->setText(QString::fromStdString(TrimVoltsText(local[def_.minByte])));
  maxLabel_->setText(QString::fromStdString(TrimVoltsText(local[def_.maxByte])));
}

}  // namespace zorv
