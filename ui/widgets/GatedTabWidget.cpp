#include "GatedTabWidget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QTabBar>

namespace zorv {

GatedTabWidget::GatedTabWidget(QWidget* parent) : QTabWidget(parent) {
  tabBar()->installEventFilter(this);
}

bool GatedTabWidget::RequestPage(int index) {
  if (index < 0 || index >= count() || index == currentIndex()) return index == currentIndex();
  if (gate_ && !gate_(index)) return false;
  setCurrentIndex(index);
  return true;
}

bool GatedTabWidget::eventFilter(QObject* watched, QEvent* event) {
  if (watched == tabBar()) {
    if (event->type() == QEvent::MouseButtonPress) {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() == Qt::LeftButton) {
        const int index = tabBar()->tabAt(mouse->position().toPoint());
        if (index >= 0) RequestPage(index);
        return true;
      }
    } else if (event->type() == QEvent::KeyPress) {
      auto* key = static_cast<QKeyEvent*>(event);
      int target = -1;
      if (key->key() == Qt::Key_Left) target = currentIndex() - 1;
      if (key->key() == Qt::Key_Right) target = currentIndex() + 1;
      if (target >= 0) {
        RequestPage(target);
        return true;
      }
    } else if (event->type() == QEvent::Wheel) {
      return true;  // the wheel would skip the gate
    }
  }
  return QTabWidget::eventFilter(watched, event);
}

void GatedTabWidget::keyPressEvent(QKeyEvent* event) {
  // Ctrl+Tab and Ctrl+PgUp/PgDn would switch pages without asking.
  const bool ctrl = event->modifiers() & Qt::ControlModifier;
  int step = 0;
  if (ctrl && (event->key() == Qt::Key_Tab || event->key() == Qt::Key_PageDown)) step = 1;
  if (ctrl && (event->key() == Qt::Key_Backtab || event->key() == Qt::Key_PageUp)) step = -1;
  if (step != 0) {
    if (count() > 0) RequestPage((currentIndex() + step + count()) % count());
    event->accept();
    return;
  }
  QTabWidget::keyPressEvent(event);
}

}  // namespace zorv
