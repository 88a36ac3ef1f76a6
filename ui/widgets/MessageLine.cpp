#include "ui/widgets/MessageLine.h"

namespace zorv {

MessageLine::MessageLine(QWidget* parent) : QLabel(parent) {
  setObjectName("MessageLine");
  setFixedHeight(kHeight);
  setContentsMargins(4, 0, 4, 0);
  setTextFormat(Qt::PlainText);
  expiry_.setSingleShot(true);
  connect(&expiry_, &QTimer::timeout, this, &MessageLine::Clear);
}

void MessageLine::Show(const QString& text, Tone tone, int shownMs) {
  tone_ = tone;
  setStyleSheet(tone == Tone::Warning ? "color: rgb(176, 0, 0); font-weight: bold;"
                                      : "color: rgb(0, 0, 128);");
  setText(text);
  setToolTip(text);  // a long message is cut at the window's edge
  if (shownMs > 0) {
    expiry_.start(shownMs);
  } else {
    expiry_.stop();
  }
}

void MessageLine::Clear() {
  expiry_.stop();
  clear();
  setToolTip({});
}

}  // namespace zorv
