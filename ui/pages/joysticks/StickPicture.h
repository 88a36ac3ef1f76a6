#pragma once
// Our drawing of a single joystick: base plate, rubber boot, shaft and a knob with its button.
#include <QColor>
#include <QWidget>

namespace zorv {

class StickPicture final : public QWidget {
 public:
  StickPicture(QWidget* parent, QColor buttonColour);

  QSize sizeHint() const override { return {80, 96}; }
  QSize minimumSizeHint() const override { return {50, 64}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor buttonColour_;
};

}  // namespace zorv
