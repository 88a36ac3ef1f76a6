#pragma once
// Page "Sevrik": the Sevrik joystick has nothing to set here.
#include <QWidget>

namespace zorv {

class SevrikPage final : public QWidget {
 public:
  explicit SevrikPage(QWidget* parent) : QWidget(parent) { setObjectName("Sevrik"); }
};

}  // namespace zorv
