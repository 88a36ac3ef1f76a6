#pragma once
// Whether a control shows what the catalogue says a setting shows, whatever its kind.
#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "image/Catalogue.h"
#include "ui/widgets/SpinEdit.h"

namespace zorv::test {

// Checks that `control` shows `shown`; returns a failure text or nothing.
inline std::string Mismatch(QObject* control, const Setting& s, const Shown& shown) {
  const QString text = QString::fromLatin1(shown.text.c_str());
  if (auto* box = qobject_cast<QAbstractButton*>(control)) {
    if (box->isChecked() != (shown.position == 1)) return "checked " + std::to_string(box->isChecked());
  } else if (auto* bar = qobject_cast<QScrollBar*>(control)) {
    if (bar->value() != shown.position) return "bar at " + std::to_string(bar->value());
  } else if (auto* spin = qobject_cast<SpinEdit*>(control)) {
    if (spin->value() != shown.position) return "spin at " + std::to_string(spin->value());
  } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
    const int item = shown.position >= 0 && shown.position < combo->count() ? shown.position : -1;
    if (combo->currentIndex() != item) return "item " + std::to_string(combo->currentIndex());
    if (s.encoding == Encoding::Choice && combo->currentText() != text)
      return "item text " + combo->currentText().toStdString();
  } else if (auto* label = qobject_cast<QLabel*>(control)) {
    if (label->text() != text) return "label " + label->text().toStdString();
  } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
    if (edit->text() != text) return "text " + edit->text().toStdString();
  } else {
    return "a control of an unknown kind";
  }
  return {};
}

// Each product's layout, for the tables that run over every product.
struct ProductCase {
  std::uint8_t productCode;
  Layout layout;
};
inline void PrintTo(const ProductCase& c, std::ostream* os) { *os << LayoutName(c.layout); }
inline std::vector<ProductCase> AllProductCases() {
  return {{0, Layout::Zorv},
          {product::kTarnovex, Layout::Tarnovex},
          {product::kHalverston, Layout::Halverston},
          {product::kQuirn, Layout::Quirn}};
}
inline std::string ProductCaseName(const ::testing::TestParamInfo<ProductCase>& p) {
  return LayoutName(p.param.layout);
}

}  // namespace zorv::test
