#include "WrapCheckBox.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <algorithm>

namespace zorv {

namespace {
constexpr int kFlags = Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop;
}

WrapCheckBox::WrapCheckBox(const QString& text, QWidget* parent) : QCheckBox(text, parent) {
  QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
  policy.setHeightForWidth(true);
  setSizePolicy(policy);
}

int WrapCheckBox::IndicatorSpace() const {
  return style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, this) +
         style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, this);
}

QRect WrapCheckBox::TextRect(int width) const {
  const int textWidth = std::max(1, width - IndicatorSpace());
  const QRect bound = fontMetrics().boundingRect(QRect(0, 0, textWidth, 10000), kFlags, text());
  return QRect(IndicatorSpace(), 0, textWidth, bound.height());
}

int WrapCheckBox::heightForWidth(int width) const {
  const int indicator = style()->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, this);
  return std::max(indicator, TextRect(width).height()) + 2;
}

QSize WrapCheckBox::sizeHint() const {
  const int width = IndicatorSpace() + fontMetrics().horizontalAdvance(text()) + 2;
  return {width, heightForWidth(width)};
}

QSize WrapCheckBox::minimumSizeHint() const {
  // Narrower than this the caption would grow too tall to be read comfortably.
  const int width = std::min(sizeHint().width(), IndicatorSpace() + 240);
  return {width, heightForWidth(width)};
}

void WrapCheckBox::paintEvent(QPaintEvent* /*event*/) {
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  option.text.clear();
  painter.drawControl(QStyle::CE_CheckBox, option);
  painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                 QPalette::WindowText));
  painter.drawText(TextRect(width()), kFlags, text());
}

bool WrapCheckBox::hitButton(const QPoint& pos) const { return rect().contains(pos); }

}  // namespace zorv
