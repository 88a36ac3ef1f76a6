// The catalogue cannot drift from the window: for every setting of every layout, distinctive
// bytes written into the image must show, after the real window's refresh, in every control the
// catalogue names, as the catalogue says they show.
#include <QAbstractButton>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <algorithm>

#include "image/Catalogue.h"
#include "image/DefaultImage.h"
#include "image/TextFields.h"
#include "tests/app/ControlShows.h"
#include "tests/app/FormFixture.h"
#include "tests/app/UserChange.h"
#include "ui/pages/custom/TAxisScreen.h"
#include "ui/widgets/SpinEdit.h"

#include <functional>

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

QString Trimmed(QString caption) {
  caption.remove('&');
  caption = caption.trimmed();
  while (caption.endsWith(':') || caption.endsWith('.')) caption.chop(1);
  return caption.trimmed();
}

// The label at the top of the grid column `control` sits in, below which it is shown (the stick
// names of the stick pages), or null.
QLabel* ColumnTitle(QWidget* control) {
  QWidget* parent = control->parentWidget();
  if (parent == nullptr) return nullptr;
  for (QGridLayout* grid : parent->findChildren<QGridLayout*>()) {
    const int index = grid->indexOf(control);
    if (index < 0) continue;
    int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
    grid->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
    QLayoutItem* top = row > 0 ? grid->itemAtPosition(0, column) : nullptr;
    return top != nullptr ? qobject_cast<QLabel*>(top->widget()) : nullptr;
  }
  if (QLayout* layout = parent->layout(); layout != nullptr) {
    if (auto* grid = qobject_cast<QGridLayout*>(layout); grid != nullptr && grid->indexOf(control) >= 0) {
      int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
      grid->getItemPosition(grid->indexOf(control), &row, &column, &rowSpan, &columnSpan);
      QLayoutItem* top = row > 0 ? grid->itemAtPosition(0, column) : nullptr;
      return top != nullptr ? qobject_cast<QLabel*>(top->widget()) : nullptr;
    }
  }
  return nullptr;
}

// The catalogue's caption against the page's: a control's own text or its buddy label is part
// of the caption, as the page spells it ("Switch Group 3 Switch Plus" under "Switch Plus:"); a
// stick's drop-down is named by the stick ("JS2") above it. A failure text, or nothing.
std::string CaptionMismatch(QObject* root, QObject* control, const Setting& s) {
  const QString caption = QString::fromStdString(s.caption).trimmed();
  QString page;
  if (auto* button = qobject_cast<QAbstractButton*>(control)) {
    page = Trimmed(button->text());
  } else if (auto* widget = qobject_cast<QWidget*>(control)) {
    for (QLabel* label : root->findChildren<QLabel*>()) {
      if (label->buddy() == widget) page = Trimmed(label->text());
    }
    if (page.isEmpty() && qobject_cast<QComboBox*>(widget) != nullptr) {
      if (QLabel* title = ColumnTitle(widget); title != nullptr && Trimmed(title->text()).startsWith("JS")) {
        const QString stick = Trimmed(title->text());
        if (!caption.contains(stick, Qt::CaseInsensitive)) {
          return "under \"" + stick.toStdString() + "\" on its page";
        }
        return {};
      }
    }
  }
  if (page.isEmpty() || caption.contains(page)) return {};
  return "captioned \"" + page.toStdString() + "\" on its page";
}


class CatalogueDrift : public FormFixture, public ::testing::WithParamInterface<ProductCase> {};

TEST_P(CatalogueDrift, EverySettingShowsInTheControlsItNames) {
  MakeForm();
  const ProductCase c = GetParam();
  const std::vector<Setting>& rows = CatalogueOf(c.layout);
  ASSERT_FALSE(rows.empty());
  // Seed 2 puts a condition at its upper end (a remote's target in slave mode).
  for (int seed = 0; seed < 3; ++seed) {
    for (std::size_t row = 0; row < rows.size(); ++row) {
      const Setting& s = rows[row];
      if (seed == 2 && s.when.lo == s.when.hi) continue;
      SettingsImage image;
      LoadDefaultImage(image, form->Trims());
      if (s.when.offset != Condition::kAlways) image[s.when.offset] = seed == 2 ? s.when.hi : s.when.lo;
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
        if (seed != 1) {
          const std::string caption = CaptionMismatch(root, control, s);
          EXPECT_TRUE(caption.empty()) << s.key << " \"" << s.caption << "\": " << name << " is "
                                       << caption;
          const bool plainNumber = s.encoding == Encoding::Number || s.encoding == Encoding::QuirnWord;
          if (auto* spin = qobject_cast<SpinEdit*>(control); spin != nullptr && s.values.empty() && plainNumber) {
            EXPECT_EQ(std::make_pair(spin->minimum(), spin->maximum()), std::make_pair(s.min, s.max))
                << s.key << ": " << name << " allows " << spin->minimum() << ".." << spin->maximum()
                << ", the catalogue " << s.min << ".." << s.max;
          }
        }
        const std::string wrong = Mismatch(control, s, shown);
        EXPECT_TRUE(wrong.empty()) << s.key << " (seed " << seed << "): " << name << " shows "
                                   << wrong << ", the catalogue says \"" << shown.text << "\" ("
                                   << shown.position << ")";
      }
    }
  }
}

bool Valid(const Setting& s, long long v) {
  if (!s.values.empty()) return std::find(s.values.begin(), s.values.end(), v) != s.values.end();
  return v >= s.min && v <= s.max;
}

// Every value a user can give a spin edit or a drop-down that the catalogue names is one the
// catalogue accepts, and every byte such a change writes is named by a row that holds then.
TEST_P(CatalogueDrift, EveryValueAControlWritesIsNamedAndInRange) {
  AcceptAlwaysLivePrompts answering(prompts);
  MakeFormWith(answering);
  const ProductCase c = GetParam();
  const std::vector<Setting>& rows = CatalogueOf(c.layout);
  for (std::size_t row = 0; row < rows.size(); ++row) {
    const Setting& s = rows[row];
    if (IsTextual(s)) continue;
    SettingsImage image;
    LoadDefaultImage(image, form->Trims());
    if (s.when.offset != Condition::kAlways) image[s.when.offset] = s.when.lo;
    Write(s, image, row, 0);
    form->Image() = image;
    form->SetProductCode(c.productCode);
    form->RefreshControls(1);
    const bool axis = s.page == "Axis Switch Setup";
    SettingsImage axisImage = form->Image();
    std::unique_ptr<TAxisScreen> switches;
    QObject* root = form.get();
    if (axis) {
      switches = std::make_unique<TAxisScreen>(axisImage);
      switches->ShowSwitchGroups();
      root = switches.get();
    }
    for (const std::string& name : s.controls) {
      QObject* control = root->findChild<QObject*>(QString::fromStdString(name));
      ASSERT_NE(control, nullptr) << name;
      std::vector<std::function<void()>> choices;
      if (auto* spin = qobject_cast<SpinEdit*>(control)) {
        for (const int v : {spin->minimum(), spin->maximum()}) choices.push_back([spin, v] { spin->setValue(v); });
      } else if (auto* combo = qobject_cast<QComboBox*>(control); combo != nullptr && !combo->isEditable()) {
        for (int i = 0; i < combo->count(); ++i) {
          choices.push_back([combo, i] {
            combo->setCurrentIndex(i);
            emit combo->activated(i);
          });
        }
      }
      for (std::size_t k = 0; k < choices.size(); ++k) {
        const SettingsImage before = axis ? axisImage : form->Image();
        choices[k]();
        if (axis) {
          switches->findChild<QPushButton*>("AxisClose")->click();
          switches->ShowSwitchGroups();
        }
        const SettingsImage after = axis ? axisImage : form->Image();
        const Shown shown = Show(s, after);
        if (s.when.Holds(after)) {
          EXPECT_TRUE(Valid(s, shown.value)) << s.key << ": " << name << " choice " << k
                                             << " writes " << shown.value << ", outside the catalogue's range";
        }
        for (std::size_t o = 0; o < kImageSize; ++o) {
          if (before[o] == after[o]) continue;
          // Named by a row that holds, or by one whose condition this change moved (a mode
          // that is no longer remote clears its remote switch).
          const bool named = std::any_of(rows.begin(), rows.end(), [&](const Setting& r) {
            const bool moved = r.when.offset != Condition::kAlways &&
                               before[r.when.offset] != after[r.when.offset];
            if (!r.when.Holds(after) && !moved) return false;
            return std::any_of(r.ranges.begin(), r.ranges.end(), [&](const ByteRange& br) {
              return o >= br.offset && o < br.offset + br.length;
            });
          });
          EXPECT_TRUE(named) << s.key << ": " << name << " choice " << k << " writes byte " << o
                             << ", which no row that holds names";
        }
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(AllProducts, CatalogueDrift, ::testing::ValuesIn(AllProductCases()),
                         ProductCaseName);

}  // namespace
}  // namespace zorv::test
