#pragma once
// Looks at a laid-out window or tab sheet the way a user would: controls that stick out of it or
// out of their group, are cut shorter than their text, or lie on top of each other. Renders it
// to a PNG for a person to view. The page and window tests share this one check.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPixmap>
#include <QScrollBar>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <algorithm>

namespace zorv::test {

inline bool IsControl(const QWidget* w) {
  return qobject_cast<const QLabel*>(w) || qobject_cast<const QAbstractButton*>(w) ||
         qobject_cast<const QComboBox*>(w) || qobject_cast<const QScrollBar*>(w) ||
         qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QGroupBox*>(w) ||
         qobject_cast<const QLineEdit*>(w) || w->inherits("zorv::GripPicture") ||
         w->inherits("zorv::StickPicture");
}

// The controls a user sees in `top`; the editor inside a spin box or drop-down is part of it.
inline QList<QWidget*> ShownControls(QWidget& top) {
  QList<QWidget*> controls;
  for (QWidget* w : top.findChildren<QWidget*>()) {
    if (IsControl(w) && w->isVisibleTo(&top) && !w->parentWidget()->inherits("QAbstractSpinBox") &&
        !w->parentWidget()->inherits("QComboBox")) {
      controls << w;
    }
  }
  return controls;
}

inline QString NameOf(const QWidget* w) {
  if (!w->objectName().isEmpty()) return w->objectName();
  if (const auto* label = qobject_cast<const QLabel*>(w))
    return "\"" + label->text().left(20) + "\"";
  return w->metaObject()->className();
}

// Problems found in `top` (empty when it is readable). A window that must fit a given space (a
// tab sheet) passes it as `room`.
inline QStringList LayoutProblems(QWidget& top, QSize room = {}) {
  QApplication::processEvents();
  QStringList problems;
  if (room.isValid()) {
    const QSize need = top.layout() != nullptr ? top.layout()->minimumSize() : QSize();
    for (const QSize& size : {top.size(), top.minimumSizeHint(), need}) {
      if (size.width() > room.width() || size.height() > room.height()) {
        problems << QStringLiteral("the controls need %1 x %2, more than the %3 x %4 there is")
                        .arg(size.width())
                        .arg(size.height())
                        .arg(room.width())
                        .arg(room.height());
      }
    }
  }
  // Every widget inside its parent and apart from its siblings (Qt's own parts aside).
  const auto widgets = top.findChildren<QWidget*>();
  for (QWidget* w : widgets) {
    if (!w->isVisibleTo(&top) || w->objectName().startsWith("qt_") || w->isWindow()) continue;
    if (!w->parentWidget()->rect().contains(w->geometry()))
      problems << NameOf(w) + " leaves its parent";
    for (QWidget* other : widgets) {
      if (other != w && other->parentWidget() == w->parentWidget() && other->isVisibleTo(&top) &&
          !other->objectName().startsWith("qt_") && !other->isWindow() &&
          w->geometry().intersects(other->geometry()) && w < other) {
        problems << NameOf(w) + " overlaps its sibling " + NameOf(other);
      }
    }
  }
  // Every control inside the window, given the room it needs, and clear of the others.
  const QList<QWidget*> controls = ShownControls(top);
  auto rectOf = [&top](QWidget* w) { return QRect(w->mapTo(&top, QPoint(0, 0)), w->size()); };
  for (qsizetype i = 0; i < controls.size(); ++i) {
    QWidget* w = controls[i];
    if (!top.rect().contains(rectOf(w))) problems << NameOf(w) + " sticks out of the window";
    const auto* label = qobject_cast<const QLabel*>(w);
    const auto* button = qobject_cast<const QAbstractButton*>(w);
    const QString text = label ? label->text() : button ? button->text() : QString();
    const int textWidth = w->fontMetrics().horizontalAdvance(text);
    // What a layout gives at least: the minimum size where the page sets one, else Qt's hint.
    // A control whose text wraps needs the height of its lines at the width it has.
    const QSize set = w->minimumSize();
    const QSize hint = w->minimumSizeHint();
    const QSize need(set.width() > 0 ? set.width() : hint.width(),
                     set.height() > 0 ? set.height() : hint.height());
    const bool wraps = w->hasHeightForWidth();
    const int needHeight = wraps ? w->heightForWidth(w->width()) : need.height();
    const bool wrappedLabel = label != nullptr && wraps;
    const bool shortOfRoom =
        w->height() < needHeight || (!wrappedLabel && w->width() < need.width());
    // A caption on one line must fit whole (a button's with its margins).
    const bool textCut =
        !wraps && (w->width() < textWidth || (button != nullptr && w->width() < textWidth + 8) ||
                   (label != nullptr && w->width() < label->sizeHint().width()));
    if (shortOfRoom || textCut) {
      problems << QStringLiteral("%1 is cut short at %2 x %3 (needs %4 x %5, its text %6): \"%7\"")
                      .arg(NameOf(w))
                      .arg(w->width())
                      .arg(w->height())
                      .arg(need.width())
                      .arg(needHeight)
                      .arg(textWidth)
                      .arg(text);
    }
    for (qsizetype j = i + 1; j < controls.size(); ++j) {
      QWidget* other = controls[j];
      if (w->isAncestorOf(other) || other->isAncestorOf(w)) continue;
      if (rectOf(w).intersects(rectOf(other))) problems << NameOf(w) + " overlaps " + NameOf(other);
    }
  }
  return problems;
}

// Fails the test with every problem of `top`, and saves its picture to `png`.
inline void ExpectReadable(QWidget& top, const QString& png, QSize room = {}) {
  const QStringList problems = LayoutProblems(top, room);
  EXPECT_TRUE(problems.isEmpty()) << png.toStdString() << ":\n"
                                  << problems.join("\n").toStdString();
  EXPECT_TRUE(top.grab().save(png)) << png.toStdString();
}

}  // namespace zorv::test
