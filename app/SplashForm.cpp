#include "app/SplashForm.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "app/SplashPicture.h"

namespace zorv {

TSplashForm::TSplashForm(QWidget* parent) : QDialog(parent) {
  setObjectName("TSplashForm");
  setWindowTitle("ZorvTrim");
  // A small tool window without border icons.
  setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  setModal(true);

  auto* picture = new QLabel(this);
  picture->setObjectName("Image1");
  picture->setPixmap(DrawPlowTruck(220, 110));
  picture->setFrameShape(QFrame::Panel);
  picture->setFrameShadow(QFrame::Sunken);

  auto* name = new QLabel("ZorvTrim", this);
  name->setObjectName("ProductName");
  QFont big = name->font();
  big.setPointSizeF(big.pointSizeF() * 1.8);
  big.setBold(true);
  name->setFont(big);
  name->setAlignment(Qt::AlignCenter);

  auto* version = new QLabel(this);
  version->setObjectName("Version");
  version->setAlignment(Qt::AlignCenter);

  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("OKButton");
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  auto* okRow = new QHBoxLayout;
  okRow->addStretch(1);
  okRow->addWidget(ok);
  okRow->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(12, 12, 12, 12);
  layout->addWidget(picture, 0, Qt::AlignHCenter);
  layout->addWidget(name);
  layout->addWidget(version);
  layout->addLayout(okRow);
  version->setText(kVersionText);
  setFixedSize(sizeHint());
}

void TSplashForm::showEvent(QShowEvent* event) {
  if (auto* version = findChild<QLabel*>("Version")) version->setText(kVersionText);
  QDialog::showEvent(event);
  // Centred on the screen, whether the main window is shown yet or not.
  if (const QScreen* shown = screen()) move(shown->availableGeometry().center() - rect().center());
}

}  // namespace zorv
