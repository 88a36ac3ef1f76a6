#pragma once
// The Halverston product page (page 3 of ProductNotebook): `TabbedNotebook2` with the pages
// "Main", "Arm / Boom Trims" and "Grip / Dump Trims", and its share of the refresh.
#include <QObject>

#include "ui/PageHost.h"
#include "ui/RefreshSteps.h"

class QTabWidget;

namespace zorv {

class HalverstonMainSheet;
class HalverstonTrims;

class HalverstonPage final : public QObject, public ProductPageRefreshTarget {
  Q_OBJECT

 public:
  // Fills `page`, which owns the controls; the window owns this object.
  HalverstonPage(PageHost& host, QWidget* page);

  void Refresh(SettingsImage& local) override;

  QTabWidget* notebook() const { return tabbedNotebook2_; }
  HalverstonMainSheet& main() { return *main_; }
  HalverstonTrims& trims() { return *trims_; }

 private:
  QTabWidget* tabbedNotebook2_;
  HalverstonMainSheet* main_;
  HalverstonTrims* trims_;
};

}  // namespace zorv
