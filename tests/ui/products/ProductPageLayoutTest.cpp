// Every sheet of the three product pages at the size of a ProductNotebook page: each control
// gets at least the room it needs and lies inside the page. The sheets are also written to
// PNG files under /tmp/zorv-products for a look by eye.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTabWidget>
#include <functional>

#include "tests/ui/products/ProductPageFixture.h"
#include "ui/pages/halverston/HalverstonPage.h"
#include "ui/pages/quirn/QuirnPage.h"
#include "ui/pages/tarnovex/TarnovexPage.h"

namespace zorv {
namespace {

const QString kShotFolder = "/tmp/zorv-products";

bool IsControl(const QWidget* w) {
  return qobject_cast<const QLabel*>(w) || qobject_cast<const QAbstractButton*>(w) ||
         qobject_cast<const QComboBox*>(w) || qobject_cast<const QScrollBar*>(w) ||
         qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QGroupBox*>(w) ||
         (qobject_cast<const QLineEdit*>(w) && !qobject_cast<const QComboBox*>(w->parentWidget()) &&
          !qobject_cast<const QAbstractSpinBox*>(w->parentWidget()));
}

// Checks the visible controls of `page` as it is shown now and saves a picture of it.
void CheckSheet(QWidget& page, const QString& shotName) {
  QApplication::processEvents();
  EXPECT_EQ(page.size(), QSize(test::kPageWidth, test::kPageHeight)) << shotName.toStdString();
  EXPECT_LE(page.minimumSizeHint().width(), test::kPageWidth) << shotName.toStdString();
  EXPECT_LE(page.minimumSizeHint().height(), test::kPageHeight) << shotName.toStdString();
  const QRect bounds = page.rect();
  int checked = 0;
  for (QWidget* w : page.findChildren<QWidget*>()) {
    if (!w->isVisibleTo(&page) || !IsControl(w)) continue;
    ++checked;
    const QString what = shotName + ": " + w->metaObject()->className() + " " + w->objectName() +
                         " \"" +
                         (qobject_cast<QLabel*>(w) ? qobject_cast<QLabel*>(w)->text() : "") + "\"";
    const QRect where(w->mapTo(&page, QPoint(0, 0)), w->size());
    EXPECT_TRUE(bounds.contains(where)) << what.toStdString();
    // What a layout gives at least: the minimum size where one is set, else the hint.
    const QSize set = w->minimumSize();
    const QSize hint = w->minimumSizeHint();
    const QSize need(set.width() > 0 ? set.width() : hint.width(),
                     set.height() > 0 ? set.height() : hint.height());
    auto* label = qobject_cast<QLabel*>(w);
    if (label != nullptr && label->wordWrap()) {
      EXPECT_GE(w->height(), label->heightForWidth(w->width())) << what.toStdString();
    } else {
      if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        EXPECT_GE(w->width(), w->fontMetrics().horizontalAdvance(button->text()) + 8)
            << what.toStdString();
      }
      EXPECT_GE(w->width(), need.width()) << what.toStdString();
      EXPECT_GE(w->height(), need.height()) << what.toStdString();
    }
  }
  EXPECT_GT(checked, 5) << shotName.toStdString();
  QDir().mkpath(kShotFolder);
  EXPECT_TRUE(page.grab().save(kShotFolder + "/" + shotName + ".png"));
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
