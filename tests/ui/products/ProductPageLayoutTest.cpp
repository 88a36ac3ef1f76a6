// Every sheet of the three product pages at the size of a ProductNotebook page: readable, each
// control with the room it needs and inside the page. The sheets are also written to
// PNG files under /tmp/zorv-products for a look by eye.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTabWidget>

#include "tests/ui/SheetCheck.h"
#include "tests/ui/products/ProductPageFixture.h"
#include "ui/pages/halverston/HalverstonPage.h"
#include "ui/pages/quirn/QuirnPage.h"
#include "ui/pages/tarnovex/TarnovexPage.h"

namespace zorv {
namespace {

const QString kShotFolder = "/tmp/zorv-products";

// Checks the visible controls of `page` as it is shown now and saves a picture of it.
void CheckSheet(QWidget& page, const QString& shotName) {
  QApplication::processEvents();
  EXPECT_EQ(page.size(), QSize(test::kPageWidth, test::kPageHeight)) << shotName.toStdString();
  EXPECT_GT(test::ShownControls(page).size(), 5) << shotName.toStdString();
  QDir().mkpath(kShotFolder);
  test::ExpectReadable(page, kShotFolder + "/" + shotName + ".png",
                       {test::kPageWidth, test::kPageHeight});
}

template <class Page>
void CheckPage(int pageNumber, std::uint8_t code, const char* notebook, const QString& name) {
  test::ProductPageFixture<Page> f(pageNumber, code);
  f.host.image[kTarnovexMarkerOffset] = code == 0 ? kTarnovexMarker : 0;
  f.widget.setFixedSize(test::kPageWidth, test::kPageHeight);
  f.widget.show();
  f.host.RefreshControls(1);
  auto* tabs = notebook != nullptr ? f.widget.template findChild<QTabWidget*>(notebook) : nullptr;
  if (tabs == nullptr) {
    CheckSheet(f.widget, name);
    return;
  }
  for (int i = 0; i < tabs->count(); ++i) {
    tabs->setCurrentIndex(i);
    CheckSheet(f.widget, name + "-" + QString::number(i));
  }
}

TEST(ProductPageLayout, TarnovexSheets) {
  CheckPage<TarnovexPage>(productpage::kTarnovex, 0, "PageControl1", "tarnovex");
}

TEST(ProductPageLayout, HalverstonSheets) {
  CheckPage<HalverstonPage>(productpage::kHalverston, product::kHalverston, "TabbedNotebook2",
                            "halverston");
}

TEST(ProductPageLayout, QuirnPage) {
  CheckPage<QuirnPage>(productpage::kQuirn, product::kQuirn, nullptr, "quirn");
}

}  // namespace
}  // namespace zorv
