#pragma once
// Our drawing of a joystick grip: a head carrying the coloured mode buttons and a handle with
// the two buttons that have no setting, captioned "Blast" and "Pass" in a legend under it.
#include <QColor>
#include <QWidget>
#include <vector>

class QLabel;

namespace zorv {

class GripPicture final : public QWidget {
 public:
  // `modeButtons` in the order they sit on the head, left to right, top to bottom.
  GripPicture(QWidget* parent, std::vector<QColor> modeButtons, bool blastAndPass);

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // The drawing is made in a 100 x 220 box, scaled into this rectangle.
  QRectF DrawingRect() const;
  int LegendHeight() const;
  QRectF LegendRow(int row) const;

  std::vector<QColor> modeButtons_;
  QLabel* blast_ = nullptr;
  QLabel* pass_ = nullptr;
};

// The grip's button colours.
namespace gripcolour {
QColor Red();
QColor Green();
QColor Blue();
QColor Yellow();
QColor Orange();
QColor Purple();
}  // namespace gripcolour

}  // namespace zorv
