#pragma once
// Page "SlaveMode": which mode each colour button selects when this controller is a slave.
#include <QWidget>
#include <array>

class QComboBox;

namespace zorv {

struct ButtonPageControls;

class SlaveModePage final : public QWidget {
 public:
  explicit SlaveModePage(QWidget* parent);
  void Register(ButtonPageControls& controls) const;

  // SlaveButton1DropDown .. SlaveButton4DropDown (Red, Green, Blue, Yellow).
  std::array<QComboBox*, 4> SlaveButtonDropDowns{};
};

}  // namespace zorv
