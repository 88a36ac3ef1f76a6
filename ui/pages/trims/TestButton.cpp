#include "TestButton.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>

namespace zorv {

TestButton::TestButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {}

void TestButton::mousePressEvent(QMouseEvent* event) {
  QPushButton::mousePressEvent(event);
  held_ = true;
  emit mouseDown();
}

void TestButton::mouseReleaseEvent(QMouseEvent* event) {
  QPushButton::mouseReleaseEvent(event);
  // Only the release that ends a press of this button stops the output.
  if (!held_) return;
  held_ = false;
  emit mouseUp();
}

void TestButton::keyPressEvent(QKeyEvent* event) {
  QPushButton::keyPressEvent(event);
  if (event->key() == Qt::Key_Space && !event->isAutoRepeat() && !held_) {
    held_ = true;
    emit mouseDown();
  }
}

void TestButton::keyReleaseEvent(QKeyEvent* event) {
  QPushButton::keyReleaseEvent(event);
  if (event->key() == Qt::Key_Space && !event->isAutoRepeat() && held_) {
    held_ = false;
    emit mouseUp();
  }
}

void TestButton::focusOutEvent(QFocusEvent* event) {
  // The key release goes to another control now: without this the output would run on and the
  // next press would send nothing.
  QPushButton::focusOutEvent(event);
  setDown(false);
  if (!held_) return;
  held_ = false;
  emit heldFocusLost();
}

}  // namespace zorv
