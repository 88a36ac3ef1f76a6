#include "HalverstonPage.h"

#include <QTabWidget>
#include <QVBoxLayout>

#include "ui/pages/halverston/HalverstonMainSheet.h"
#include "ui/pages/halverston/HalverstonTrims.h"
#include "ui/pages/tarnovex/ProductSheets.h"

namespace zorv {

HalverstonPage::HalverstonPage(PageHost& host, QWidget* page) {
  tabbedNotebook2_ = new QTabWidget(page);
  tabbedNotebook2_->setObjectName("TabbedNotebook2");
  QWidget* mainSheet = AddProductSheet(tabbedNotebook2_, "HalverstonMainSheet", "Main");
  QWidget* arm = AddProductSheet(tabbedNotebook2_, "HalverstonArmSheet", "Arm / Boom Trims");
  QWidget* grip = AddProductSheet(tabbedNotebook2_, "HalverstonGripSheet", "Grip / Dump Trims");
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(2, 2, 2, 0);
  layout->addWidget(tabbedNotebook2_);

  main_ = new HalverstonMainSheet(host, mainSheet);
  trims_ = new HalverstonTrims(host, arm, grip);
}

void HalverstonPage::Refresh(SettingsImage& local) {
  main_->Show(local);
  trims_->ShowBars(local);
  trims_->ShowLabels(local);
}

}  // namespace zorv
