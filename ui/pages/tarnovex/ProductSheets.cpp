#include "ProductSheets.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>

namespace zorv {

QWidget* AddProductSheet(QTabWidget* tabs, const char* name, const char* caption) {
  auto* sheet = new QWidget(tabs);
  sheet->setObjectName(name);
  tabs->addTab(sheet, caption);
  return sheet;
}

void AddTrimRow(PageHost& host, QWidget* sheet, std::span<const TrimPairDef> defs,
                TrimPairs& pairs) {
  auto* row = new QHBoxLayout(sheet);
  const bool crowded = defs.size() > 4;
  if (crowded) {
    // Six pairs in one row keep their tall bars with a slightly smaller font.
    QFont font = sheet->font();
    font.setPointSizeF(font.pointSizeF() * 0.9);
    sheet->setFont(font);
  }
  const int gap = crowded ? 3 : 6;
  row->setContentsMargins(gap, gap, gap, gap);
  row->setSpacing(gap);
  for (const TrimPairDef& def : defs) {
    pairs.push_back(std::make_unique<TrimPair>(host, def, sheet));
    TrimPair& pair = *pairs.back();
    // The buttons take the width of their text, not the style's wider default.
    for (QPushButton* button : {static_cast<QPushButton*>(pair.minButton()),
                                static_cast<QPushButton*>(pair.maxButton())}) {
      button->setMinimumWidth(button->fontMetrics().horizontalAdvance(button->text()) + 14);
    }
    row->addWidget(pair.group(), 1);
  }
}

}  // namespace zorv
