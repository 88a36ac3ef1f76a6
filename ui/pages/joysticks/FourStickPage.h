#pragma once
// Page "4 HFX": four sticks JS1..JS4, each with a function (bound to the catalogue) and a
// safety button.
#include <QWidget>
#include <array>

#include "image/SettingsImage.h"
#include "ui/binders/Bindings.h"

class QCheckBox;
class QComboBox;

namespace zorv {

class PageHost;

class FourStickPage final : public QWidget {
 public:
  FourStickPage(QWidget* parent, PageHost& host);

  // What the refresh shows for type 28; repairs the safety bytes in `local`.
  void Show(SettingsImage& local);

  void js1checkboxClick();
  void js2checkboxClick();
  void js3checkboxClick();
  void js4checkboxClick();

  QComboBox* js1setting = nullptr;  // JS1, byte 195
  QComboBox* js3setting = nullptr;  // JS2 primary, byte 196
  QComboBox* js4setting = nullptr;  // JS2 secondary, byte 197
  QComboBox* js2setting = nullptr;  // JS3, byte 198
  QComboBox* js5setting = nullptr;  // JS4, byte 194
  // Safety of JS1..JS4 in bytes 35..38; js2checkbox is never shown.
  std::array<QCheckBox*, 4> jscheckboxes{};

 private:
  void StoreSafety(int box);

  PageHost& host_;
  Bindings functions_;  // the five function drop-downs
};

}  // namespace zorv
