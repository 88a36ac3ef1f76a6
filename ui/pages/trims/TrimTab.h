#pragma once
// A trim tab of the Zorv product page: a row of trim pairs on its sheet. It sets their bars and
// labels in the refresh and ends a live test on the release of any of its test buttons. The
// tabs themselves (ZorvTrimTabs.h) add the named handlers and bind them.
#include <QObject>
#include <QScrollBar>
#include <memory>
#include <span>
#include <vector>

#include "ui/PageHost.h"
#include "ui/RefreshSteps.h"
#include "ui/pages/trims/TestButton.h"
#include "ui/pages/trims/TrimPair.h"

namespace zorv {

class TrimTab : public QObject, public ZorvRefreshTarget {
  Q_OBJECT

 public:
  void Refresh(ZorvStep step, SettingsImage& local) override;

  // Release of any test button of the tab: every output stops.
  void ButtonMouseUp();

  TrimPair& pair(std::size_t i) { return *pairs_.at(i); }
  std::size_t pairCount() const { return pairs_.size(); }

 protected:
  TrimTab(PageHost& host, QWidget* sheet, std::span<const TrimPairDef> defs);

  template <class Tab>
  void Bind(std::size_t i, void (Tab::*minChange)(), void (Tab::*maxChange)(),
            void (Tab::*minDown)(), void (Tab::*maxDown)()) {
    Tab* self = static_cast<Tab*>(this);
    TrimPair& p = pair(i);
    connect(p.minBar(), &QScrollBar::valueChanged, self, minChange);
    connect(p.maxBar(), &QScrollBar::valueChanged, self, maxChange);
    connect(p.minButton(), &TestButton::mouseDown, self, minDown);
    connect(p.maxButton(), &TestButton::mouseDown, self, maxDown);
    connect(p.minButton(), &TestButton::mouseUp, this, &TrimTab::ButtonMouseUp);
    connect(p.maxButton(), &TestButton::mouseUp, this, &TrimTab::ButtonMouseUp);
  }

 private:
  PageHost& host_;
  std::vector<std::unique_ptr<TrimPair>> pairs_;
};

}  // namespace zorv
