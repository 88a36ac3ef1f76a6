#pragma once
// The warning shown when an always-live mode is chosen: the joystick then moves the chosen
// device without the safety trigger.
#include <QDialog>

class QLabel;
class QPushButton;

namespace zorv {

class TaliveForm final : public QDialog {
 public:
  explicit TaliveForm(QWidget* parent = nullptr);

  static const char* const kCaption;
  static const char* const kHeading;
  static const char* const kCaution;
  static const char* const kAdvice;

 protected:
  void showEvent(QShowEvent* event) override;
};

}  // namespace zorv
