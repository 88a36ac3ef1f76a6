#pragma once
// Page "FourButton": the four-button grip (Red, Green, Blast, Pass) and its mode drop-downs.
#include <QWidget>

class QCheckBox;
class QComboBox;

namespace zorv {

struct ButtonPageControls;

class FourButtonPage final : public QWidget {
 public:
  explicit FourButtonPage(QWidget* parent);
  void Register(ButtonPageControls& controls) const;

  QComboBox* FourButton0DropDown = nullptr;
  QComboBox* FourButton1DropDown = nullptr;
  QComboBox* FourButton2DropDown = nullptr;
  QCheckBox* ModeButtonsAreTriggerCheckbox3 = nullptr;
  QCheckBox* MultiModeCheckbox3 = nullptr;
};

}  // namespace zorv
