#pragma once
// The six- and eight-button pages: one group per button slot with its mode drop-down and label
// edit, the trigger and multi-mode boxes, and the "Always Live Mode" group.
#include <QWidget>
#include <array>

#include "ButtonSlots.h"

class QCheckBox;
class QComboBox;

namespace zorv {

class LabelEdit;

class LabelledButtonsPage : public QWidget {
 public:
  struct Names {
    const char* page;
    const char* prefix;  // "SixButton": SixButton1DropDown, SixButton1LabelEdit, ...
    const char* trigger;
    const char* multi;
    const char* alwayslive;
    const char* alwayslivetext;
    int colourButtons;  // 4 or 6
  };

  LabelledButtonsPage(QWidget* parent, const Names& names);
  void Register(ButtonPageControls& controls) const;

  // Per slot (slot order); null where the grip has no such button.
  std::array<QComboBox*, kSlotCount> dropDowns{};
  std::array<LabelEdit*, kSlotCount> labelEdits{};
  QCheckBox* trigger = nullptr;
  QCheckBox* multi = nullptr;
  QComboBox* alwayslive = nullptr;
  LabelEdit* alwayslivetext = nullptr;
};

class SixButtonPage final : public LabelledButtonsPage {
 public:
  explicit SixButtonPage(QWidget* parent);
};

class EightButtonPage final : public LabelledButtonsPage {
 public:
  explicit EightButtonPage(QWidget* parent);
};

}  // namespace zorv
