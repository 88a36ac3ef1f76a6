#include "QuirnPage.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "image/Repairs.h"

namespace zorv {

namespace {

constexpr std::array<const char*, 4> kRows = {"SPEED", "WEIGHT", "PSI", "OUTPUT"};

// Boxes by their number: Edit2 and Edit10 are the start weights, Edit18 to Edit21 the plow's
// geometry and weight.
constexpr std::size_t Box(int number) { return static_cast<std::size_t>(number - 1); }

}  // namespace

QuirnPage::QuirnPage(PageHost& host, QWidget* page) : bindings_(host) {
  BuildGrid(page);
  bindings_.BindRows(Layout::Quirn, "Quirn", "", page);
}

QLineEdit* QuirnPage::MakeBox(int number, QWidget* parent) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(QStringLiteral("Edit%1").arg(number));
  box->setFixedWidth(box->fontMetrics().horizontalAdvance("0000000") + 12);
  return box;
}

void QuirnPage::BuildGrid(QWidget* page) {
  auto* column = new QVBoxLayout(page);
  column->setContentsMargins(6, 6, 6, 6);
  column->setSpacing(6);

  // Two blocks, each with the START and STOP columns; boxes numbered down each column.
  auto* blocks = new QHBoxLayout;
  int number = 1;
  for (const char* blockName : {"REDUCE", "INCREASE"}) {
    auto* block = new QGroupBox(blockName, page);
    auto* grid = new QGridLayout(block);
    grid->setHorizontalSpacing(10);
    for (int r = 0; r < static_cast<int>(kRows.size()); ++r) {
      grid->addWidget(new QLabel(kRows[static_cast<std::size_t>(r)], block), r + 1, 0);
    }
    for (int c = 0; c < 2; ++c) {
      auto* head = new QLabel(c == 0 ? "START" : "STOP", block);
      head->setAlignment(Qt::AlignCenter);
      grid->addWidget(head, 0, c + 1);
      for (int r = 0; r < static_cast<int>(kRows.size()); ++r, ++number) {
        boxes_[Box(number)] = MakeBox(number, block);
        grid->addWidget(boxes_[Box(number)], r + 1, c + 1);
      }
    }
    blocks->addWidget(block);
  }
  column->addLayout(blocks);

  auto* geometry = new QGroupBox("Plow", page);
  auto* form = new QFormLayout(geometry);
  form->setLabelAlignment(Qt::AlignRight);
  for (int n = 17; n <= 21; ++n) boxes_[Box(n)] = MakeBox(n, geometry);
  // These show "Enter" until the first refresh.
  for (int n = 18; n <= 21; ++n) boxes_[Box(n)]->setText("Enter");
  form->addRow("Pulses per distance", boxes_[Box(17)]);
  form->addRow("Piston angle from horizontal", boxes_[Box(18)]);
  form->addRow("Piston face diameter (reduce)", boxes_[Box(19)]);
  form->addRow("Piston rod diameter (increase)", boxes_[Box(20)]);
  form->addRow("Plow Weight", boxes_[Box(21)]);
  checkBox1_ = new QCheckBox("Use Math Setup", geometry);
  checkBox1_->setObjectName("CheckBox1");
  form->addRow(QString(), checkBox1_);
  column->addWidget(geometry);
  column->addStretch(1);
}

void QuirnPage::Refresh(SettingsImage& local) {
  RepairQuirn(local);
  bindings_.Show(local);
  // With math setup the plow weight is entered once, for both start weights.
  const bool on = checkBox1_->isChecked();
  for (int number = 18; number <= 21; ++number) boxes_[Box(number)]->setReadOnly(!on);
  boxes_[Box(2)]->setReadOnly(on);
  boxes_[Box(10)]->setReadOnly(on);
  if (on) boxes_[Box(10)]->setText(boxes_[Box(2)]->text());
}

}  // namespace zorv
