#include "Controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>

namespace zorv::joystickui {

QComboBox* MakeDropDownOf(QWidget* parent, const char* name, const char* const* items, int count) {
  auto* combo = new QComboBox(parent);
  combo->setObjectName(name);
  combo->setEditable(false);
  for (int i = 0; i < count; ++i) combo->addItem(QString::fromLatin1(items[i]));
  combo->setCurrentIndex(-1);
  return combo;
}

QLabel* MakeCaption(QWidget* parent, const QString& text, const char* name) {
  auto* label = new QLabel(text, parent);
  label->setTextFormat(Qt::PlainText);
  if (name != nullptr) label->setObjectName(name);
  return label;
}

QCheckBox* MakeCheckBox(QWidget* parent, const char* name, const QString& caption) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(name);
  return box;
}

void SelectItem(QComboBox* combo, int index) {
  combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
}

int SelectedItem(const QComboBox* combo) {
  return combo->currentIndex();
}

bool StoreItem(SettingsImage& image, std::size_t offset, const QComboBox* combo) {
  const int item = combo->currentIndex();
  if (item < 0) return false;
  image[offset] = static_cast<std::uint8_t>(item);
  return true;
}

}  // namespace zorv::joystickui
