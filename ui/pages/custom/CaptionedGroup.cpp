#include "CaptionedGroup.h"

#include <QApplication>
#include <QGroupBox>
#include <QPalette>
#include <QVBoxLayout>

namespace zorv {
namespace {

// The roles the style paints a group box caption with.
constexpr QPalette::ColorRole kCaptionRoles[] = {QPalette::WindowText, QPalette::Text};

void SetRoles(QWidget* widget, auto colourOf) {
  QPalette palette = widget->palette();
  for (QPalette::ColorRole role : kCaptionRoles) {
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
      palette.setColor(group, role, colourOf(group, role));
    }
  }
  widget->setPalette(palette);
}

}  // namespace

CaptionedGroup MakeCaptionedGroup(QWidget* parent, const QString& name, const QString& caption) {
  CaptionedGroup group;
  group.box = new QGroupBox(caption, parent);
  group.box->setObjectName(name);
  group.body = new QWidget(group.box);
  group.body->setObjectName(name + "Body");
  // The body pins the ordinary text colours so that only the caption follows the box.
  const QPalette normal = QApplication::palette();
  SetRoles(group.body,
           [&normal](QPalette::ColorGroup g, QPalette::ColorRole r) { return normal.color(g, r); });
  auto* layout = new QVBoxLayout(group.box);
  layout->setContentsMargins(2, 2, 2, 3);
  layout->addWidget(group.body);
  return group;
}

void SetCaptionColour(QGroupBox* box, QColor colour) {
  if (CaptionColour(box) == colour) return;
  SetRoles(box, [colour](QPalette::ColorGroup, QPalette::ColorRole) { return colour; });
}

QColor CaptionColour(const QGroupBox* box) {
  return box->palette().color(QPalette::WindowText);
}

}  // namespace zorv
