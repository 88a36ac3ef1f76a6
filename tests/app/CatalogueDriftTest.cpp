// The catalogue cannot drift from the window: for every setting of every layout, distinctive
// bytes written into the image must show, after the real window's refresh, in every control the
// catalogue names, as the catalogue says they show.
#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>

#include "image/Catalogue.h"
#include "image/DefaultImage.h"
#include "image/TextFields.h"
#include "tests/app/FormFixture.h"
#include "ui/pages/custom/TAxisScreen.h"
#include "ui/widgets/SpinEdit.h"

namespace zorv::test {
namespace {

// A valid value for row `row`; two seeds give each on/off setting both states.
int Distinctive(const Setting& s, std::size_t row, int seed) {
  const std::size_t pick = row * 37 + static_cast<std::size_t>(seed) * 101 + 1;
  if (!s.values.empty()) return s.values[pick % s.values.size()];
  return s.min + static_cast<int>(pick % static_cast<std::size_t>(s.max - s.min + 1));
}

std::string DistinctiveText(const Setting& s, std::size_t row, int seed) {
  std::string text = std::string(1, static_cast<char>('A' + seed)) + std::to_string(row) + "Q";
  return text.substr(0, static_cast<std::size_t>(s.max));
}

void Write(const Setting& s, SettingsImage& image, std::size_t row, int seed) {
  for (const ByteRange& r : s.ranges) {
    switch (s.width) {
      case Width::Label9: WriteLabel(image, r.offset, DistinctiveText(s, row, seed)); break;
      case Width::FloatName5: WriteFloatName(image, r.offset, DistinctiveText(s, row, seed)); break;
      case Width::Word16: WriteWord(image, r.offset, Distinctive(s, row, seed) * 251 % 65536); break;
      case Width::Byte: image[r.offset] = static_cast<std::uint8_t>(Distinctive(s, row, seed)); break;
    }
  }
}

// Checks that `control` shows `shown`; returns a failure text or nothing.
std::string Mismatch(QObject* control, const Setting& s, const Shown& shown) {
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

struct ProductCase {
  std::uint8_t productCode;
  Layout layout;
};

void PrintTo(const ProductCase& c, std::ostream* os) { *os << LayoutName(c.layout); }

class CatalogueDrift : public FormFixture, public ::testing::WithParamInterface<ProductCase> {};

TEST_P(CatalogueDrift, EverySettingShowsInTheControlsItNames) {
  MakeForm();
  const ProductCase c = GetParam();
  const std::vector<Setting>& rows = CatalogueOf(c.layout);
  ASSERT_FALSE(rows.empty());
  for (int seed = 0; seed < 2; ++seed) {
    for (std::size_t row = 0; row < rows.size(); ++row) {
      const Setting& s = rows[row];
      SettingsImage image;
      LoadDefaultImage(image, form->Trims());
      if (s.when.offset != Condition::kAlways) image[s.when.offset] = s.when.lo;
      Write(s, image, row, seed);
      form->Image() = image;
      form->SetProductCode(c.productCode);
      form->RefreshControls(1);
      // What the window kept is what the catalogue must describe.
      const SettingsImage shownImage = form->Image();
      ASSERT_EQ(SelectLayout(0, shownImage) == Layout::Tarnovex, c.layout == Layout::Tarnovex);
      const Shown shown = Show(s, shownImage);
      EXPECT_EQ(Show(s, image).text, shown.text) << s.key << ": the refresh repaired a valid value";

      // The switch groups live in their own window, opened from the Custom tab.
      std::unique_ptr<TAxisScreen> switches;
      QObject* root = form.get();
      if (s.page == "Axis Switch Setup") {
        switches = std::make_unique<TAxisScreen>(form->Image());
        switches->ShowSwitchGroups();
        root = switches.get();
      }
      for (const std::string& name : s.controls) {
        QObject* control = root->findChild<QObject*>(QString::fromStdString(name));
        ASSERT_NE(control, nullptr) << s.key << " names " << name;
        const std::string wrong = Mismatch(control, s, shown);
        EXPECT_TRUE(wrong.empty()) << s.key << " (seed " << seed << "): " << name << " shows "
                                   << wrong << ", the catalogue says \"" << shown.text << "\" ("
                                   << shown.position << ")";
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(AllProducts, CatalogueDrift,
                         ::testing::Values(ProductCase{0, Layout::Zorv},
                                           ProductCase{product::kTarnovex, Layout::Tarnovex},
                                           ProductCase{product::kHalverston, Layout::Halverston},
                                           ProductCase{product::kQuirn, Layout::Quirn}),
                         [](const auto& p) { return LayoutName(p.param.layout); });

}  // namespace
}  // namespace zorv::test
