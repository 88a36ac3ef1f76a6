#include "TrimTab.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QScrollBar>
#include <string>
#include <string_view>

namespace zorv {

TrimTab::TrimTab(PageHost& host, QWidget* sheet, const char* page,
                 std::span<const char* const> ports)
    : host_(host) {
  std::vector<TrimPairButtons> buttons;
  for (const char* port : ports) buttons.push_back({nullptr, nullptr, 0, port});
  std::vector<TrimPairDef> defs = TrimPairsOf(Layout::Zorv, page, buttons);
  // The buttons are named after the minimum bar ("HoistUpMinScrollBar" gives "HoistUpButton"
  // and "HoistUpMaxButton"); function n (bytes 2n-1, 2n) tests with command n.
  std::vector<std::string> names;
  names.reserve(2 * defs.size());  // the defs point into it while the pairs are built
  for (TrimPairDef& def : defs) {
    std::string stem = def.minBar;
    stem.resize(stem.size() - std::string_view("MinScrollBar").size());
    def.minButton = names.emplace_back(stem + "Button").c_str();
    def.maxButton = names.emplace_back(stem + "MaxButton").c_str();
    def.command = static_cast<std::uint8_t>((def.minByte + 1) / 2);
  }
  auto* row = new QHBoxLayout(sheet);
  row->setContentsMargins(4, 4, 4, 4);
  row->setSpacing(4);
  // Few groups stay at a readable width instead of stretching over the whole sheet.
  const bool narrow = defs.size() < 4;
  if (narrow) row->addStretch(1);
  for (const TrimPairDef& def : defs) {
    pairs_.push_back(std::make_unique<TrimPair>(host, def, sheet));
    TrimPair& p = *pairs_.back();
    connect(p.minBar(), &QScrollBar::valueChanged, this, [&p] { p.MinBarChange(); });
    connect(p.maxBar(), &QScrollBar::valueChanged, this, [&p] { p.MaxBarChange(); });
    connect(p.minButton(), &TestButton::mouseDown, this, [&p] { p.TestMinDown(); });
    connect(p.maxButton(), &TestButton::mouseDown, this, [&p] { p.TestMaxDown(); });
    connect(p.minButton(), &TestButton::mouseUp, this, &TrimTab::ButtonMouseUp);
    connect(p.maxButton(), &TestButton::mouseUp, this, &TrimTab::ButtonMouseUp);
    QGroupBox* group = p.group();
    if (narrow) group->setFixedWidth(150);
    row->addWidget(group, narrow ? 0 : 1);
  }
  if (narrow) row->addStretch(1);
}

void TrimTab::Refresh(ZorvStep step, SettingsImage& local) {
  if (step == ZorvStep::TrimBars) {
    for (auto& p : pairs_) p->ShowBars(local);
  } else if (step == ZorvStep::TrimLabels) {
    for (auto& p : pairs_) p->ShowLabels(local);
  }
}

void TrimTab::ButtonMouseUp() { StopLiveTest(host_); }

}  // namespace zorv
