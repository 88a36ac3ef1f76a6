#pragma once
// The Tarnovex product page (page 1 of ProductNotebook): `PageControl1` with the sheets
// "Plow", "Hoist/Hook" and "Global", and its share of the refresh.
#include <QObject>

#include "ui/PageHost.h"
#include "ui/RefreshSteps.h"

class QTabWidget;

namespace zorv {

class TarnovexGlobalSheet;
class TarnovexTrims;

class TarnovexPage final : public QObject, public ProductPageRefreshTarget {
  Q_OBJECT

 public:
  // Fills `page`, which owns the controls; the window owns this object.
  TarnovexPage(PageHost& host, QWidget* page);

  // The frame has already set the marker in byte 33 and the product code to 0.
  void Refresh(SettingsImage& local) override;

  QTabWidget* pageControl() const { return pageControl1_; }
  TarnovexTrims& trims() { return *trims_; }
  TarnovexGlobalSheet& global() { return *global_; }

 private:
  PageHost& host_;
  QTabWidget* pageControl1_;
  TarnovexTrims* trims_;
  TarnovexGlobalSheet* global_;
};

}  // namespace zorv
