#include "TarnovexPage.h"

#include <QTabWidget>
#include <QVBoxLayout>

#include "image/TarnovexLayout.h"
#include "ui/pages/tarnovex/ProductSheets.h"
#include "ui/pages/tarnovex/TarnovexGlobalSheet.h"
#include "ui/pages/tarnovex/TarnovexTrims.h"

namespace zorv {

TarnovexPage::TarnovexPage(PageHost& host, QWidget* page) : host_(host) {
  pageControl1_ = new QTabWidget(page);
  pageControl1_->setObjectName("PageControl1");
  QWidget* plow = AddProductSheet(pageControl1_, "TarnovexPlowSheet", "Plow");
  QWidget* hoist = AddProductSheet(pageControl1_, "TarnovexHoistSheet", "Hoist/Hook");
  QWidget* global = AddProductSheet(pageControl1_, "TarnovexGlobalSheet", "Global");
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(2, 2, 2, 0);
  layout->addWidget(pageControl1_);

  trims_ = new TarnovexTrims(host, plow, hoist);
  global_ = new TarnovexGlobalSheet(host, global);
}

void TarnovexPage::Refresh(SettingsImage& local) {
  global_->ShowSystemMode(local);
  // The safety boxes follow the mode as stored, before attitude control may change it.
  global_->EnableSafeties(local[tarnovexfield::SystemMode]);
  global_->ShowOptions(local);
  trims_->ShowCaptions(local[tarnovexfield::SystemMode]);
  global_->ShowSafeties(local);
  global_->ShowFrequency(local);
  global_->ShowGlobalTrims(host_.Trims());
  trims_->Show(local);
}

}  // namespace zorv
