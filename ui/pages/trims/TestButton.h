#pragma once
// A live-test button: it reports the press and the release of any mouse button (not only the
// left one), and of the space bar for a user who works from the keyboard. The output runs
// between the two, so a plain click would be too late to be useful.
#include <QPushButton>

namespace zorv {

class TestButton : public QPushButton {
  Q_OBJECT

 public:
  explicit TestButton(const QString& text, QWidget* parent = nullptr);

 signals:
  void mouseDown();
  void mouseUp();
  // The focus left while the button was held: the test ends and the button is released.
  void heldFocusLost();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  bool held_ = false;
};

}  // namespace zorv
