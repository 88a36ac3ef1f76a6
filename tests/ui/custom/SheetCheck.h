#pragma once
// Looks at a laid-out window the way a user would: renders it to a PNG for a person to view and
// reports controls that stick out of it, are cut short, or lie on top of each other.
#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLabel>
#include <QPixmap>
#include <QString>
#include <QStringList>
#include <QWidget>

namespace zorv::test {

inline bool IsControl(const QWidget* w) {
  return qobject_cast<const QLabel*>(w) || qobject_cast<const QAbstractButton*>(w) ||
         qobject_cast<const QComboBox*>(w) || qobject_cast<const QAbstractSpinBox*>(w);
}

// Problems found in `top` (empty when it is readable); saves the picture to `png`. A window
// that must fit a given space (a tab sheet) passes it as `room`.
inline QStringList CheckSheet(QWidget& top, const QString& png, QSize room = {}) {
  QStringList problems;
  if (room.isValid() && (top.width() > room.width() || top.height() > room.height())) {
    problems << QStringLiteral("the controls need %1 x %2, more than the %3 x %4 there is")
                    .arg(top.width())
                    .arg(top.height())
                    .arg(room.width())
                    .arg(room.height());
  }
  if (!top.grab().save(png)) problems << "could not save " + png;
  QList<QWidget*> controls;
  for (QWidget* w : top.findChildren<QWidget*>()) {
    if (IsControl(w) && w->isVisibleTo(&top) && !w->parentWidget()->inherits("QAbstractSpinBox") &&
        !w->parentWidget()->inherits("QComboBox")) {
      controls << w;
    }
  }
  const QRect area = top.rect();
  for (qsizetype i = 0; i < controls.size(); ++i) {
    QWidget* w = controls[i];
    const QRect r(w->mapTo(&top, QPoint(0, 0)), w->size());
    const QString name = w->objectName().isEmpty() ? w->metaObject()->className() : w->objectName();
    if (!area.contains(r)) problems << name + " sticks out of the window";
    const auto* label = qobject_cast<const QLabel*>(w);
    const auto* button = qobject_cast<const QAbstractButton*>(w);
    const QString text = label ? label->text() : button ? button->text() : QString();
    if (!text.isEmpty() && w->width() < w->fontMetrics().horizontalAdvance(text)) {
      problems << name + " is cut short: \"" + text + "\"";
    }
    for (qsizetype j = i + 1; j < controls.size(); ++j) {
      QWidget* other = controls[j];
      const QRect o(other->mapTo(&top, QPoint(0, 0)), other->size());
      if (r.intersects(o)) problems << name + " overlaps " + other->objectName();
    }
  }
  return problems;
}

}  // namespace zorv::test
