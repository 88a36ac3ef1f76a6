#include "app/SplashPicture.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace zorv {

QPixmap DrawPlowTruck(int width, int height) {
  QPixmap pixmap(width, height);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(width / 220.0, height / 110.0);

  // Winter sky and a snow bank.
  QLinearGradient sky(0, 0, 0, 110);
  sky.setColorAt(0, QColor(70, 110, 170));
  sky.setColorAt(1, QColor(190, 210, 235));
  p.fillRect(QRectF(0, 0, 220, 110), sky);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(250, 250, 255));
  QPainterPath snow;
  snow.moveTo(0, 92);
  snow.cubicTo(50, 84, 110, 96, 220, 88);
  snow.lineTo(220, 110);
  snow.lineTo(0, 110);
  snow.closeSubpath();
  p.drawPath(snow);

  // Body, cab and hoist frame.
  p.setBrush(QColor(230, 120, 20));
  p.drawRect(QRectF(92, 48, 100, 30));   // dump body
  p.drawRect(QRectF(58, 40, 36, 38));    // cab
  p.setBrush(QColor(170, 210, 240));
  p.drawRect(QRectF(64, 46, 24, 14));    // window
  p.setBrush(QColor(60, 60, 60));
  p.drawRect(QRectF(40, 66, 20, 6));     // push frame

  // The plow blade, angled.
  p.setBrush(QColor(250, 200, 30));
  QPainterPath blade;
  blade.moveTo(18, 50);
  blade.quadTo(30, 66, 26, 86);
  blade.lineTo(40, 86);
  blade.quadTo(44, 66, 34, 48);
  blade.closeSubpath();
  p.drawPath(blade);

  // Wheels.
  p.setBrush(QColor(30, 30, 30));
  for (const double x : {76.0, 150.0, 174.0}) p.drawEllipse(QPointF(x, 80), 10, 10);
  p.setBrush(QColor(150, 150, 150));
  for (const double x : {76.0, 150.0, 174.0}) p.drawEllipse(QPointF(x, 80), 4, 4);

  // Snow thrown off the blade.
  p.setBrush(QColor(255, 255, 255, 220));
  struct Flake {
    double x, y, r;
  };
  constexpr Flake kFlakes[] = {{12, 44, 4}, {6, 36, 3}, {16, 30, 2.5}, {4, 52, 2}};
  for (const Flake& f : kFlakes) p.drawEllipse(QPointF(f.x, f.y), f.r, f.r);
  return pixmap;
}

}  // namespace zorv
