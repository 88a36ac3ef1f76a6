#include "TaliveForm.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace zorv {

const char* const TaliveForm::kCaption = "Always Live Mode Warning";
const char* const TaliveForm::kHeading = "Always Live Mode";
const char* const TaliveForm::kCaution =
    "Caution:  Activating this feature disables the safety trigger and makes the Zentiq joystick "
    "active in the mode you have chosen.  Any joystick motion will move the device selected.";
const char* const TaliveForm::kAdvice =
    "Dravik Controls recommends leaving the \"Always Live Mode\" INACTIVE for maximum operator "
    "safety,";

namespace {
QLabel* WrappedText(QWidget* parent, const char* text, const char* name) {
  auto* label = new QLabel(QString::fromLatin1(text), parent);
  label->setObjectName(name);
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(true);
  return label;
}
}  // namespace

TaliveForm::TaliveForm(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setObjectName("TaliveForm");
  setWindowTitle(QString::fromLatin1(kCaption));
  setModal(true);

  auto* heading = WrappedText(this, kHeading, "HeadingLabel");
  QFont font = heading->font();
  font.setPointSizeF(font.pointSizeF() * 1.4);
  font.setBold(true);
  font.setUnderline(true);
  heading->setFont(font);
  QPalette palette = heading->palette();
  palette.setColor(QPalette::WindowText, QColor(128, 0, 128));
  heading->setPalette(palette);
  heading->setAlignment(Qt::AlignHCenter);

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName("OKButton");
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(10, 8, 10, 8);
  layout->setSpacing(8);
  layout->addWidget(heading);
  layout->addWidget(WrappedText(this, kCaution, "CautionLabel"));
  layout->addWidget(WrappedText(this, kAdvice, "AdviceLabel"));
  layout->addStretch(1);
  layout->addWidget(ok, 0, Qt::AlignHCenter);
  setFixedSize(237, 239);
}

void TaliveForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
}

}  // namespace zorv
