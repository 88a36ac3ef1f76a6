#pragma once
// A product page on a page-sized widget, registered with the refresh of a fake window.
#include <gtest/gtest.h>

#include <QString>
#include <QWidget>

#include "tests/support/FakePageHost.h"

namespace zorv::test {

// The page of ProductNotebook: the window's client area less the status strip.
inline constexpr int kPageWidth = 578;
inline constexpr int kPageHeight = 391;

template <class Page>
struct ProductPageFixture {
  explicit ProductPageFixture(int pageNumber, std::uint8_t code) {
    widget.resize(kPageWidth, kPageHeight);
    host.refresher().SetProductPage(pageNumber, &page);
    host.productCode = code;
  }

  template <class T>
  T* Find(const QString& name) {
    T* found = widget.findChild<T*>(name);
    EXPECT_NE(found, nullptr) << "no control " << name.toStdString();
    return found;
  }

  FakePageHost host;
  QWidget widget;
  Page page{host, &widget};
};

}  // namespace zorv::test
