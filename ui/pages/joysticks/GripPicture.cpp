#include "GripPicture.h"

#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <utility>

namespace zorv {

namespace gripcolour {
QColor Red() {
  return {220, 30, 30};
}
QColor Green() {
  return {30, 170, 60};
}
QColor Blue() {
  return {40, 90, 220};
}
QColor Yellow() {
  return {245, 210, 30};
}
QColor Orange() {
  return {245, 140, 20};
}
QColor Purple() {
  return {140, 50, 180};
}
}  // namespace gripcolour

namespace {
constexpr qreal kW = 100;
constexpr qreal kH = 220;
constexpr int kLegendRow = 20;  // one row under the drawing each for "Blast" and "Pass"
const QPointF kBlastAt{66, 104};
const QPointF kPassAt{66, 132};
const QColor kBlastColour(30, 30, 30);
const QColor kPassColour(150, 150, 150);

void DrawButton(QPainter& p, QPointF centre, qreal radius, const QColor& colour) {
  QRadialGradient shine(centre - QPointF(radius / 3, radius / 3), radius * 1.4);
  shine.setColorAt(0, colour.lighter(160));
  shine.setColorAt(1, colour.darker(130));
  p.setBrush(shine);
  p.setPen(QPen(QColor(20, 20, 20), 1.2));
  p.drawEllipse(centre, radius, radius);
}
}  // namespace

GripPicture::GripPicture(QWidget* parent, std::vector<QColor> modeButtons, bool blastAndPass)
    : QWidget(parent), modeButtons_(std::move(modeButtons)) {
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
  if (blastAndPass) {
    blast_ = new QLabel(QStringLiteral("Blast"), this);
    pass_ = new QLabel(QStringLiteral("Pass"), this);
  }
}

int GripPicture::LegendHeight() const {
  return blast_ != nullptr ? 2 * kLegendRow + 4 : 0;
}

QSize GripPicture::sizeHint() const {
  return {100, 220 + LegendHeight()};
}
QSize GripPicture::minimumSizeHint() const {
  return {86, 190 + LegendHeight()};
}

QRectF GripPicture::DrawingRect() const {
  const qreal room = height() - LegendHeight() - 4;
  const qreal scale = std::max<qreal>(0.1, std::min((width() - 4) / kW, room / kH));
  const qreal w = kW * scale;
  const qreal h = kH * scale;
  return {(width() - w) / 2, 2, w, h};
}

// Legend row `row` (0 Blast, 1 Pass): the button's colour then its caption.
QRectF GripPicture::LegendRow(int row) const {
  const QRectF r = DrawingRect();
  return {r.left() + 8, r.bottom() + 4 + row * kLegendRow, r.width() - 8, kLegendRow};
}

void GripPicture::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (blast_ == nullptr) return;
  int row = 0;
  for (QLabel* label : {blast_, pass_}) {
    label->adjustSize();
    const QRectF r = LegendRow(row++);
    label->move(static_cast<int>(r.left() + 20),
                static_cast<int>(r.center().y() - label->height() / 2.0));
  }
}

void GripPicture::paintEvent(QPaintEvent* /*event*/) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF r = DrawingRect();
  p.translate(r.topLeft());
  p.scale(r.width() / kW, r.height() / kH);

  // Handle: tapers from the head to the boot, with finger grooves at the back.
  QPainterPath handle;
  handle.moveTo(24, 70);
  handle.lineTo(76, 70);
  handle.cubicTo(80, 120, 74, 170, 70, 200);
  handle.quadTo(50, 214, 30, 200);
  handle.cubicTo(22, 170, 28, 160, 22, 150);
  handle.cubicTo(28, 140, 22, 130, 22, 120);
  handle.cubicTo(28, 110, 22, 100, 24, 70);
  QLinearGradient body(0, 0, kW, 0);
  body.setColorAt(0, QColor(35, 35, 38));
  body.setColorAt(0.45, QColor(95, 95, 100));
  body.setColorAt(1, QColor(30, 30, 33));
  p.setPen(QPen(Qt::black, 1.5));
  p.setBrush(body);
  p.drawPath(handle);

  // Boot ring at the bottom.
  p.setBrush(QColor(25, 25, 25));
  p.drawRoundedRect(QRectF(26, 200, 48, 14), 5, 5);

  // Head with the mode buttons.
  QLinearGradient head(0, 0, 0, 80);
  head.setColorAt(0, QColor(110, 115, 120));
  head.setColorAt(1, QColor(50, 52, 56));
  p.setBrush(head);
  p.drawRoundedRect(QRectF(8, 4, 84, 70), 16, 16);

  const int n = static_cast<int>(modeButtons_.size());
  const int columns = n <= 2 ? n : (n <= 4 ? 2 : 3);
  const int rows = columns == 0 ? 0 : (n + columns - 1) / columns;
  const qreal radius = rows >= 2 && columns >= 3 ? 9.5 : 11;
  for (int i = 0; i < n; ++i) {
    const int row = i / columns;
    const int col = i % columns;
    const qreal x = 50 + (col - (columns - 1) / 2.0) * (columns >= 3 ? 25 : 30);
    const qreal y = 39 + (row - (rows - 1) / 2.0) * 27;
    DrawButton(p, {x, y}, radius, modeButtons_[static_cast<std::size_t>(i)]);
  }

  if (blast_ == nullptr) return;
  DrawButton(p, kBlastAt, 7, kBlastColour);
  DrawButton(p, kPassAt, 7, kPassColour);
  // The legend under the drawing names the two buttons.
  p.resetTransform();
  int row = 0;
  for (const QColor& colour : {kBlastColour, kPassColour}) {
    const QRectF legend = LegendRow(row++);
    DrawButton(p, {legend.left() + 7, legend.center().y()}, 6, colour);
  }
}

}  // namespace zorv
