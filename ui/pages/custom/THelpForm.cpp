#include "THelpForm.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace zorv {

THelpForm::THelpForm(QWidget* parent) : QDialog(parent) {
  setObjectName("HelpForm");
  setWindowTitle("Zorv Help");
  // A small tool window: title and minimise box only; "OK" or Escape closes it.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowMinimizeButtonHint);
  setFixedSize(kWidth, kHeight);

  memo_ = new QPlainTextEdit(this);
  memo_->setObjectName("HelpMemo");
  memo_->setReadOnly(true);
  memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memo_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  memo_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  memo_->setPlainText(CustomHelpText());

  ok_ = new QPushButton("OK", this);
  ok_->setObjectName("HelpOkButton");
  ok_->setDefault(true);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);

  auto* panel = new QHBoxLayout;
  panel->addStretch();
  panel->addWidget(ok_);
  panel->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 6);
  layout->addWidget(memo_, 1);
  layout->addLayout(panel);
  ok_->setFocus();

  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect frame(QPoint(0, 0), size());
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
}

}  // namespace zorv
