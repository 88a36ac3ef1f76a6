#include "ui/binders/Bindings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <optional>
#include <stdexcept>

#include "image/Encodings.h"
#include "image/RowValue.h"
#include "ui/widgets/BoxExit.h"
#include "ui/widgets/SpinEdit.h"

namespace zorv {

namespace {

// What the user typed as a signed 32-bit decimal number; a read-only box holds no entry (what
// it shows may be stale and must not overwrite what was typed elsewhere).
std::optional<long long> Entered(const QLineEdit* box) {
  if (box->isReadOnly()) return std::nullopt;
  bool ok = false;
  const int value = box->text().trimmed().toInt(&ok, 10);
  if (!ok) return std::nullopt;
  return value;
}

// A button label shows in capitals without its outer spaces: an edit whose text reads as the
// stored label keeps its text and cursor while the user types (a space typed at the end).
bool ReadsAs(const Setting& row, const QString& text, const std::string& stored) {
  return row.width == Width::Label9 &&
         TrimTextSpaces(text.toUpper().toLatin1().toStdString()) == stored;
}

// The radio button that says "off" beside `on`: the other one of its group on the same parent.
QRadioButton* PartnerOf(QRadioButton* on) {
  for (QRadioButton* other : on->parentWidget()->findChildren<QRadioButton*>(
           QString(), Qt::FindDirectChildrenOnly)) {
    if (other != on) return other;
  }
  return nullptr;
}

}  // namespace

Bindings::Bindings(PageHost& host, AfterStore after, Typing typing)
    : image_([&host]() -> SettingsImage& { return host.Image(); }), typing_(typing) {
  if (after == AfterStore::Refresh) refresh_ = [&host] { host.RefreshControls(0); };
}

Bindings::Bindings(SettingsImage& copy)
    : image_([&copy]() -> SettingsImage& { return copy; }) {}

void Bindings::BindRows(Layout layout, const std::string& page, const std::string& group,
                        QWidget* controls) {
  for (const Setting& row : CatalogueOf(layout)) {
    if (row.page == page && (group.empty() || row.group == group)) Bind(row, controls);
  }
}

void Bindings::BindKeys(Layout layout, std::initializer_list<const char*> keys,
                        QWidget* controls) {
  for (const char* key : keys) {
    const Setting* row = FindSetting(layout, key);
    if (row == nullptr) throw std::logic_error(std::string("no catalogue row ") + key);
    Bind(*row, controls);
  }
}

void Bindings::Bind(const Setting& row, QWidget* controls) {
  // A bar's second control is its value label, not a second place of the row.
  QLabel* label = row.controls.size() > 1
                      ? controls->findChild<QLabel*>(QString::fromStdString(row.controls[1]))
                      : nullptr;
  bool bound = false;
  for (const std::string& name : row.controls) {
    QWidget* control = controls->findChild<QWidget*>(QString::fromStdString(name));
    if (control == nullptr || control == label) continue;
    if (!BindControl(row, control, label)) {
      throw std::logic_error("no binder takes control " + name + " of " + row.key);
    }
    bound = true;
  }
  if (!bound) throw std::logic_error("no control to bind for " + row.key);
}

// False when `control` is of a kind no binder takes.
bool Bindings::BindControl(const Setting& row, QWidget* control, QLabel* label) {
  auto* radio = qobject_cast<QRadioButton*>(control);
  QRadioButton* partner = radio != nullptr ? PartnerOf(radio) : nullptr;
  if (auto* box = qobject_cast<QCheckBox*>(control)) {
    BindCheck(row, box);
  } else if (radio != nullptr && partner != nullptr) {
    BindRadio(row, radio, partner);
  } else if (auto* spin = qobject_cast<SpinEdit*>(control)) {
    BindSpin(row, spin);
  } else if (auto* bar = qobject_cast<QScrollBar*>(control); bar != nullptr && label != nullptr) {
    BindBar(row, bar, label);
  } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
    if (IsTextual(row)) {
      BindText(row, edit);
    } else {
      BindNumber(row, edit);
    }
  } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
    BindChoice(row, combo);
  } else {
    return false;
  }
  return true;
}

void Bindings::OnStored(const std::string& key, Hook hook) {
  stored_[key] = std::move(hook);
}

void Bindings::OnShown(const std::string& key, Hook hook) {
  shown_[key] = std::move(hook);
}

void Bindings::Show(const SettingsImage& image) const {
  for (const Bound& b : bound_) {
    if (b.row->when.Holds(image)) ShowRow(b, image);
  }
}

void Bindings::ShowAll(const SettingsImage& image) const {
  for (const Bound& b : bound_) ShowRow(b, image);
}

void Bindings::ShowRow(const Bound& b, const SettingsImage& image) const {
  const QSignalBlocker quiet(b.control);
  const QSignalBlocker quietPartner(b.partner);
  if (b.show(zorv::Show(*b.row, image))) Run(shown_, *b.row, image);
}

void Bindings::Run(const std::map<std::string, Hook>& hooks, const Setting& row,
                   const SettingsImage& image) {
  const auto hook = hooks.find(row.key);
  if (hook != hooks.end()) hook->second(zorv::Show(row, image));
}

void Bindings::Store(const Setting& row, const std::function<void(SettingsImage&)>& store) {
  store(image_());
  Run(stored_, row, image_());
  if (refresh_) refresh_();
}

void Bindings::BindCheck(const Setting& row, QCheckBox* box) {
  bound_.push_back(
      {&row, box, nullptr, [box](const Shown& s) {
                       const bool was = box->isChecked();
                       box->setChecked(s.position == 1);
                       return box->isChecked() != was;
                     }});
  connect(box, &QCheckBox::toggled, this,
          [this, &row](bool on) { Store(row, [&](SettingsImage& i) { StoreOnOff(row, i, on); }); });
}

void Bindings::BindNumber(const Setting& row, QLineEdit* box) {
  bound_.push_back(
      {&row, box, nullptr, [box](const Shown& s) {
                       const QString was = box->text();
                       box->setText(QString::number(s.value));
                       return box->text() != was;
                     }});
  OnBoxExit(box, this, [this, &row, box] {
    const auto value = Entered(box);
    Store(row, [&](SettingsImage& i) {
      if (value) StoreNumber(row, i, *value);
    });
  });
}

void Bindings::BindText(const Setting& row, QLineEdit* box) {
  // Setting the same text again would move the cursor of a box being typed in.
  bound_.push_back({&row, box, nullptr, [&row, box](const Shown& s) {
                      const QString text = QString::fromLatin1(s.text);
                      if (box->text() == text || ReadsAs(row, box->text(), s.text)) return false;
                      box->setText(text);
                      return true;
                    }});
  const auto store = [this, &row, box] {
    // Raw 8-bit characters; one the byte cannot hold becomes '?'.
    const QByteArray text = box->text().toLatin1();
    Store(row, [&](SettingsImage& i) { StoreText(row, i, text.toStdString()); });
  };
  if (typing_ == Typing::StoredAsTyped) {
    connect(box, &QLineEdit::textChanged, this, store);
  } else {
    OnBoxExit(box, this, store);
  }
}

void Bindings::BindChoice(const Setting& row, QComboBox* box) {
  bound_.push_back(
      {&row, box, nullptr, [box](const Shown& s) {
                       const int was = box->currentIndex();
                       box->setCurrentIndex(s.position);
                       return box->currentIndex() != was;
                     }});
  connect(box, &QComboBox::activated, this,
          [this, &row](int index) {
            Store(row, [&](SettingsImage& i) { i[row.ranges.front().offset] = ByteAtPosition(row, index); });
          });
}

}  // namespace zorv

namespace zorv {

void Bindings::BindRadio(const Setting& row, QRadioButton* on, QRadioButton* off) {
  bound_.push_back({&row, on, off, [on, off](const Shown& s) {
                      const bool was = on->isChecked();
                      (s.position == 1 ? on : off)->setChecked(true);
                      return on->isChecked() != was;
                    }});
  // The "on" button toggles with either click, the other one's too.
  connect(on, &QRadioButton::toggled, this,
          [this, &row](bool ticked) { Store(row, [&](SettingsImage& i) { StoreOnOff(row, i, ticked); }); });
}

void Bindings::BindSpin(const Setting& row, SpinEdit* spin) {
  // Set only when it shows another value: a number still being typed stays as typed.
  bound_.push_back({&row, spin, nullptr, [spin](const Shown& s) {
                      if (spin->value() == s.position) return false;
                      spin->setValue(s.position);
                      return true;
                    }});
  connect(spin, &SpinEdit::valueChanged, this, [this, &row](int value) {
    Store(row, [&](SettingsImage& i) { i[row.ranges.front().offset] = ByteAtPosition(row, value); });
  });
}

void Bindings::BindBar(const Setting& row, QScrollBar* bar, QLabel* label) {
  const auto showLabel = [&row, bar, label] {
    label->setText(QString::fromStdString(PositionText(row, bar->value())));
  };
  // The bar holds a position outside its range at its nearer end; the label shows where it is.
  bound_.push_back({&row, bar, label, [bar, showLabel](const Shown& s) {
                      const int was = bar->value();
                      bar->setValue(s.position);
                      showLabel();
                      return bar->value() != was;
                    }});
  connect(bar, &QScrollBar::valueChanged, this, [this, &row, showLabel](int position) {
    showLabel();
    Store(row, [&](SettingsImage& i) { i[row.ranges.front().offset] = ByteAtPosition(row, position); });
  });
}

}  // namespace zorv
