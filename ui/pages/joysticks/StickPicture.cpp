#include "StickPicture.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>

namespace zorv {

namespace {
constexpr qreal kW = 80;
constexpr qreal kH = 100;
}  // namespace

StickPicture::StickPicture(QWidget* parent, QColor buttonColour)
    : QWidget(parent), buttonColour_(buttonColour) {
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
}

void StickPicture::paintEvent(QPaintEvent* /*event*/) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const qreal scale = std::min(width() / kW, height() / kH);
  p.translate((width() - kW * scale) / 2, (height() - kH * scale) / 2);
  p.scale(scale, scale);

  // Base plate with four screws.
  p.setPen(QPen(Qt::black, 1.2));
  QLinearGradient plate(0, 82, 0, 98);
  plate.setColorAt(0, QColor(150, 155, 160));
  plate.setColorAt(1, QColor(90, 95, 100));
  p.setBrush(plate);
  QPainterPath base;
  base.moveTo(10, 84);
  base.lineTo(70, 84);
  base.lineTo(76, 97);
  base.lineTo(4, 97);
  base.closeSubpath();
  p.drawPath(base);
  p.setBrush(QColor(40, 40, 40));
  for (qreal x : {12.0, 26.0, 54.0, 68.0}) p.drawEllipse(QPointF(x, 91), 1.6, 1.6);

  // Rubber boot.
  QLinearGradient boot(15, 0, 65, 0);
  boot.setColorAt(0, QColor(25, 25, 25));
  boot.setColorAt(0.45, QColor(85, 85, 85));
  boot.setColorAt(1, QColor(20, 20, 20));
  p.setBrush(boot);
  QPainterPath dome;
  dome.moveTo(14, 85);
  dome.cubicTo(16, 62, 64, 62, 66, 85);
  dome.closeSubpath();
  p.drawPath(dome);

  // Shaft.
  p.setBrush(QColor(170, 170, 175));
  p.drawRect(QRectF(37, 34, 6, 34));

  // Knob and its button.
  QLinearGradient knob(24, 0, 56, 0);
  knob.setColorAt(0, QColor(30, 30, 32));
  knob.setColorAt(0.4, QColor(100, 100, 105));
  knob.setColorAt(1, QColor(25, 25, 28));
  p.setBrush(knob);
  p.drawRoundedRect(QRectF(25, 8, 30, 30), 12, 12);
  QRadialGradient shine(QPointF(38, 13), 9);
  shine.setColorAt(0, buttonColour_.lighter(160));
  shine.setColorAt(1, buttonColour_.darker(130));
  p.setBrush(shine);
  p.drawEllipse(QPointF(40, 16), 6.5, 5);
}

}  // namespace zorv
