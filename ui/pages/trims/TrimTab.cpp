#include "TrimTab.h"

#include <QGroupBox>
#include <QHBoxLayout>

namespace zorv {

TrimTab::TrimTab(PageHost& host, QWidget* sheet, std::span<const TrimPairDef> defs)
    : host_(host) {
  auto* row = new QHBoxLayout(sheet);
  row->setContentsMargins(4, 4, 4, 4);
  row->setSpacing(4);
  // Few groups stay at a readable width instead of stretching over the whole sheet.
  const bool narrow = defs.size() < 4;
  if (narrow) row->addStretch(1);
  for (const TrimPairDef& def : defs) {
    pairs_.push_back(std::make_unique<TrimPair>(host, def, sheet));
    QGroupBox* group = pairs_.back()->group();
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
