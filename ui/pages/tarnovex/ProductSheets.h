#pragma once
// Sheets of the Tarnovex and Halverston product pages: a named sheet on the page's notebook, a
// row of trim pairs filling one sheet, and the binding of a page's own named handlers to the
// widgets of one pair.
#include <QObject>
#include <QScrollBar>
#include <memory>
#include <span>
#include <vector>

class QTabWidget;

#include "ui/PageHost.h"
#include "ui/pages/trims/TestButton.h"
#include "ui/pages/trims/TrimPair.h"

namespace zorv {

// A new empty sheet on `tabs`.
QWidget* AddProductSheet(QTabWidget* tabs, const char* name, const char* caption);

using TrimPairs = std::vector<std::unique_ptr<TrimPair>>;

// Creates the pairs side by side on `sheet` and appends them to `pairs`.
void AddTrimRow(PageHost& host, QWidget* sheet, std::span<const TrimPairDef> defs,
                TrimPairs& pairs);

// The handlers a page binds to one pair's bars and buttons; a null bar handler leaves that bar
// showing the image only.
template <class Page>
struct PairHandlers {
  void (Page::*minChange)();
  void (Page::*maxChange)();
  void (Page::*minDown)();
  void (Page::*minUp)();
  void (Page::*maxDown)();
  void (Page::*maxUp)();
};

template <class Page>
void BindPair(Page* page, TrimPair& pair, const PairHandlers<Page>& h) {
  if (h.minChange != nullptr)
    QObject::connect(pair.minBar(), &QScrollBar::valueChanged, page, h.minChange);
  if (h.maxChange != nullptr)
    QObject::connect(pair.maxBar(), &QScrollBar::valueChanged, page, h.maxChange);
  QObject::connect(pair.minButton(), &TestButton::mouseDown, page, h.minDown);
  QObject::connect(pair.minButton(), &TestButton::mouseUp, page, h.minUp);
  QObject::connect(pair.maxButton(), &TestButton::mouseDown, page, h.maxDown);
  QObject::connect(pair.maxButton(), &TestButton::mouseUp, page, h.maxUp);
}

}  // namespace zorv
