#pragma once
// A product page on a page-sized widget, registered with the refresh of a fake window.
#include <gtest/gtest.h>

#include <QLabel>
#include <QScrollBar>
#include <QString>
#include <QWidget>

#include "image/Encodings.h"
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

// One trim pair of a product page: its controls, its bytes and its live-test command.
struct TrimPairCase {
  const char* minBar;
  const char* maxBar;
  const char* minLabel;
  const char* maxLabel;
  const char* minButton;
  const char* maxButton;
  std::size_t minByte;
  std::uint8_t command;
};

// The pair's bars and labels show its two bytes.
template <class Fixture>
void ExpectPairShown(Fixture& f, const TrimPairCase& c) {
  const std::uint8_t min = f.host.image[c.minByte];
  const std::uint8_t max = f.host.image[c.minByte + 1];
  EXPECT_EQ(f.template Find<QScrollBar>(c.minBar)->value(), 256 - min) << c.minBar;
  EXPECT_EQ(f.template Find<QScrollBar>(c.maxBar)->value(), 256 - max) << c.maxBar;
  EXPECT_EQ(f.template Find<QLabel>(c.minLabel)->text().toStdString(), TrimVoltsText(min));
  EXPECT_EQ(f.template Find<QLabel>(c.maxLabel)->text().toStdString(), TrimVoltsText(max));
}

// The minimum bar moved above the maximum drags it along, the maximum moved below the minimum
// too; no other byte changes.
template <class Fixture>
void ExpectBarsDragEachOther(Fixture& f, const TrimPairCase& c) {
  const SettingsImage before = f.host.image;
  f.template Find<QScrollBar>(c.minBar)->setValue(256 - 240);
  EXPECT_EQ(f.host.image[c.minByte], 240) << c.minBar;
  EXPECT_EQ(f.host.image[c.minByte + 1], 240) << c.minBar;
  EXPECT_EQ(f.template Find<QLabel>(c.maxLabel)->text(), "12.0v");
  f.template Find<QScrollBar>(c.maxBar)->setValue(256 - 20);
  EXPECT_EQ(f.host.image[c.minByte], 20) << c.maxBar;
  EXPECT_EQ(f.host.image[c.minByte + 1], 20) << c.maxBar;
  EXPECT_EQ(f.template Find<QLabel>(c.minLabel)->text(), "1.0v");
  for (std::size_t b = 0; b < kImageSize; ++b) {
    if (b != c.minByte && b != c.minByte + 1) {
      EXPECT_EQ(f.host.image[b], before[b]) << "byte " << b;
    }
  }
}

}  // namespace zorv::test
