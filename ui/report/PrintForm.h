#pragma once
// The small "Printing...." window shown while the report prints: borderless, always on top,
// centred, a black frame around a white panel with the text and a picture.
#include <QWidget>

namespace zorv {

class TPrintForm final : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kWidth = 235;
  static constexpr int kHeight = 66;

  explicit TPrintForm(QWidget* parent = nullptr);

  // Shows the window centred on the screen and lets it paint before the job blocks the loop.
  void ShowAndPaint();
};

// Our own drawing of a printer with a sheet coming out.
QPixmap PrinterPicture(int size);

}  // namespace zorv
