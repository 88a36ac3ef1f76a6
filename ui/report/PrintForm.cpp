#include "ui/report/PrintForm.h"

#include <QCoreApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QScreen>

namespace zorv {

QPixmap PrinterPicture(int size) {
  QPixmap picture(size, size);
  picture.fill(Qt::white);
  QPainter p(&picture);
  p.setRenderHint(QPainter::Antialiasing);
  const qreal u = size / 16.0;
  // Sheet behind, body, sheet coming out with text lines.
  p.setPen(QPen(Qt::black, u * 0.6));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(4 * u, 1 * u, 8 * u, 5 * u));
  p.setBrush(QColor(90, 90, 100));
  p.drawRoundedRect(QRectF(1 * u, 5 * u, 14 * u, 6 * u), u, u);
  p.setBrush(QColor(0, 160, 0));
  p.setPen(Qt::NoPen);
  p.drawEllipse(QPointF(12.5 * u, 7 * u), 0.8 * u, 0.8 * u);
  p.setPen(QPen(Qt::black, u * 0.6));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(4 * u, 9 * u, 8 * u, 6 * u));
  p.setPen(QPen(QColor(40, 40, 40), u * 0.5));
  for (int row = 0; row < 3; ++row) {
    const qreal y = (10.7 + 1.4 * row) * u;
    p.drawLine(QPointF(5 * u, y), QPointF((row == 2 ? 8.5 : 11) * u, y));
  }
  return picture;
}

TPrintForm::TPrintForm(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setObjectName("PrintForm");
  setWindowTitle("Printing....");
  setFixedSize(kWidth, kHeight);
  setAutoFillBackground(true);
  QPalette black = palette();
  black.setColor(QPalette::Window, Qt::black);
  setPalette(black);

  auto* panel = new QFrame(this);
  panel->setObjectName("PrintPanel");
  panel->setAutoFillBackground(true);
  QPalette white = panel->palette();
  white.setColor(QPalette::Window, Qt::white);
  white.setColor(QPalette::WindowText, Qt::black);
  panel->setPalette(white);

  auto* picture = new QLabel(panel);
  picture->setObjectName("PrintPicture");
  picture->setPixmap(PrinterPicture(40));
  auto* text = new QLabel("Printing....", panel);
  text->setObjectName("PrintLabel");
  QFont font = text->font();
  font.setPointSize(12);
  font.setBold(true);
  text->setFont(font);

  auto* inner = new QHBoxLayout(panel);
  inner->setContentsMargins(12, 4, 12, 4);
  inner->setSpacing(16);
  inner->addWidget(picture);
  inner->addWidget(text, 1);

  auto* frame = new QHBoxLayout(this);
  frame->setContentsMargins(2, 2, 2, 2);  // the black frame
  frame->addWidget(panel);
}

void TPrintForm::ShowAndPaint() {
  const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
  if (screen) {
    QRect area(QPoint(0, 0), size());
    area.moveCenter(screen->availableGeometry().center());
    move(area.topLeft());
  }
  show();
  raise();
  repaint();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace zorv
