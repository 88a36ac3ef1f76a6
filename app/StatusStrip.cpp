#include "app/StatusStrip.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace zorv {
namespace {

QFrame* MakeLamp(const char* name, QWidget* parent) {
  auto* lamp = new QFrame(parent);
  lamp->setObjectName(name);
  lamp->setFrameShape(QFrame::Panel);
  lamp->setFrameShadow(QFrame::Sunken);
  lamp->setFixedSize(18, 14);
  lamp->setAutoFillBackground(true);
  StatusStrip::SetLamp(lamp, kLampIdle);
  return lamp;
}

QPushButton* MakeButton(const char* name, const QString& caption, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->setFixedSize(74, 23);
  return button;
}

QLabel* MakeCaption(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
  return label;
}

}  // namespace

StatusStrip::StatusStrip(QWidget* parent) : QFrame(parent) {
  setObjectName("BottomPanel");
  setFrameShape(QFrame::NoFrame);
  setFixedHeight(kHeight);

  connected_ = new QLabel(this);
  connected_->setObjectName("ConnectedPanel");
  connected_->setFrameShape(QFrame::Panel);
  connected_->setFrameShadow(QFrame::Sunken);
  connected_->setAlignment(Qt::AlignCenter);
  connected_->setWordWrap(true);
  connected_->setAutoFillBackground(true);
  connected_->setFixedSize(222, 47);
  SetStatus("Not Connected", QColor(255, 0, 0));

  tx_ = MakeLamp("TXPanel", this);
  rx_ = MakeLamp("RXPanel", this);
  auto* lamps = new QGridLayout;
  lamps->setSpacing(2);
  lamps->addWidget(MakeCaption("TX", this), 0, 0, Qt::AlignHCenter);
  lamps->addWidget(MakeCaption("RX", this), 0, 1, Qt::AlignHCenter);
  lamps->addWidget(tx_, 1, 0, Qt::AlignHCenter);
  lamps->addWidget(rx_, 1, 1, Qt::AlignHCenter);

  gauge_ = new QProgressBar(this);
  gauge_->setObjectName("ProgressGauge");
  gauge_->setRange(0, 100);
  gauge_->setValue(0);
  // Wide enough for a firmware job's stage and time left ("Verifying, 1:12 left").
  gauge_->setFixedSize(142, 18);
  auto* progress = new QVBoxLayout;
  progress->setSpacing(2);
  auto* progressLabel = new QLabel("Progress:", this);
  progressLabel->setBuddy(gauge_);
  progress->addWidget(progressLabel);
  progress->addWidget(gauge_);

  upload_ = MakeButton("UploadButton", "&Send Cal", this);
  download_ = MakeButton("DownloadButton", "&Get Cal", this);
  reset_ = MakeButton("ResetButton", "Reset", this);
  auto* buttons = new QGridLayout;
  buttons->setSpacing(2);
  buttons->addWidget(upload_, 0, 0);
  buttons->addWidget(download_, 0, 1);
  buttons->addWidget(reset_, 1, 1);

  auto* top = new QHBoxLayout;
  top->setContentsMargins(4, 4, 4, 4);
  top->setSpacing(8);
  top->addWidget(connected_);
  top->addLayout(lamps);
  top->addLayout(progress);
  top->addStretch(1);
  top->addLayout(buttons);

  memoPanel_ = new QFrame(this);
  memoPanel_->setObjectName("MemoPanel");
  memoPanel_->setFixedHeight(kLogHeight);
  memo_ = new QPlainTextEdit(memoPanel_);
  memo_->setObjectName("Memo1");
  memo_->setReadOnly(true);
  memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memo_->setMaximumBlockCount(kLogLines);
  auto* memoLayout = new QVBoxLayout(memoPanel_);
  memoLayout->setContentsMargins(4, 0, 4, 4);
  memoLayout->addWidget(memo_);
  memoPanel_->hide();

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addLayout(top);
  layout->addWidget(memoPanel_);
  layout->addStretch(1);
}

void StatusStrip::SetStatus(const QString& text, const QColor& colour) {
  connected_->setText(text);
  QPalette palette = connected_->palette();
  palette.setColor(QPalette::Window, colour);
  palette.setColor(QPalette::WindowText, Qt::white);
  connected_->setPalette(palette);
}

void StatusStrip::SetLamp(QFrame* lamp, const QColor& colour) {
  QPalette palette = lamp->palette();
  palette.setColor(QPalette::Window, colour);
  lamp->setPalette(palette);
}

QColor StatusStrip::LampColour(const QFrame* lamp) { return PanelColour(lamp); }

QColor StatusStrip::PanelColour(const QWidget* panel) {
  return panel->palette().color(QPalette::Window);
}

void StatusStrip::ShowLog(bool shown) {
  if (shown) {
    memoPanel_->show();
    setFixedHeight(kHeight + kLogHeight);
  } else {
    setFixedHeight(kHeight);
    memoPanel_->hide();
  }
}

bool StatusStrip::LogShown() const { return !memoPanel_->isHidden(); }

void StatusStrip::AppendLogLine(const QString& line) { memo_->appendPlainText(line); }

}  // namespace zorv
