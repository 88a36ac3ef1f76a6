#pragma once
// A trim tab of the Zorv product page: a row of trim pairs on its sheet, one per pair of the
// catalogue's trim rows of the tab (minimum, then maximum). The rows name the bars, the value
// labels and the bytes; the buttons are named after the bars ("HoistUpMinScrollBar" gives
// "HoistUpButton" and "HoistUpMaxButton"), and function n (bytes 2n-1, 2n) tests with command
// n. The tab sets the bars and labels in the refresh and ends a live test on the release of any
// of its test buttons.
#include <QObject>
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
  // `ports` names the output of each pair of the tab `page`, in the catalogue's order.
  TrimTab(PageHost& host, QWidget* sheet, const char* page, std::span<const char* const> ports);

 private:
  PageHost& host_;
  std::vector<std::unique_ptr<TrimPair>> pairs_;
};

}  // namespace zorv
