#pragma once
// The history's lists look and behave alike: whole rows selected, read-only, compact rows, no row
// numbers, the last column taking the rest of the width.
#include <QAbstractItemView>
#include <QHeaderView>
#include <QTableView>

namespace zorv {

inline void SetUpList(QTableView& table, QAbstractItemView::SelectionMode mode) {
  table.setSelectionBehavior(QAbstractItemView::SelectRows);
  table.setSelectionMode(mode);
  table.setEditTriggers(QAbstractItemView::NoEditTriggers);
  table.verticalHeader()->hide();
  table.verticalHeader()->setDefaultSectionSize(20);
  table.horizontalHeader()->setStretchLastSection(true);
}

}  // namespace zorv
