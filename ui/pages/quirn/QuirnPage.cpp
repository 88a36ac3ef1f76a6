#include "QuirnPage.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <optional>

#include "image/QuirnLayout.h"
#include "image/TextFields.h"
#include "ui/widgets/BoxExit.h"

namespace zorv {

namespace {

namespace qf = quirnfield;

struct Field {
  std::size_t offset;
  bool word;  // 16 bits, high byte first; otherwise 8 bits
};

// Edit1 .. Edit19.
constexpr std::array<Field, QuirnPage::kFieldBoxes> kFields = {{
    {qf::ReduceStartSpeed, false},   {qf::ReduceStartWeight, true},
    {qf::ReduceStartPsi, true},      {qf::ReduceStartOutput, true},
    {qf::ReduceStopSpeed, false},    {qf::ReduceStopWeight, true},
    {qf::ReduceStopPsi, true},       {qf::ReduceStopOutput, true},
    {qf::IncreaseStartSpeed, false}, {qf::IncreaseStartWeight, true},
    {qf::IncreaseStartPsi, true},    {qf::IncreaseStartOutput, true},
    {qf::IncreaseStopSpeed, false},  {qf::IncreaseStopWeight, true},
    {qf::IncreaseStopPsi, true},     {qf::IncreaseStopOutput, true},
    {qf::PulsesPerDistance, true},   {qf::PistonAngle, false},
    {qf::PistonFaceDiameter, false},
}};

constexpr std::size_t kReduceStartWeightBox = 1;    // Edit2
constexpr std::size_t kIncreaseStartWeightBox = 9;  // Edit10
constexpr std::size_t kPistonAngleBox = 17;         // Edit18
constexpr std::size_t kPistonFaceBox = 18;          // Edit19

constexpr std::array<const char*, 4> kRows = {"SPEED", "WEIGHT", "PSI", "OUTPUT"};

// A signed 32-bit decimal number, or nothing.
std::optional<long long> ParseNumber(const QString& text) {
  bool ok = false;
  const int value = text.trimmed().toInt(&ok, 10);
  if (!ok) return std::nullopt;
  return value;
}

// What the user entered in `box`. A read-only box holds no entry: what it shows may be stale (the
// plow weight after math setup was turned off) and must not overwrite what was typed elsewhere.
std::optional<long long> Entered(const QLineEdit* box) {
  if (box->isReadOnly()) return std::nullopt;
  return ParseNumber(box->text());
}

void Store(SettingsImage& image, const Field& field, long long value) {
  if (field.word) {
    WriteWord(image, field.offset, value);
  } else {
    image[field.offset] = static_cast<std::uint8_t>(value & 0xFF);
  }
}

QString Show(const SettingsImage& image, const Field& field) {
  return QString::number(field.word ? ReadWord(image, field.offset) : image[field.offset]);
}

}  // namespace

QuirnPage::QuirnPage(PageHost& host, QWidget* page) : host_(host) {
  BuildGrid(page);
  using P = QuirnPage;
  constexpr std::array<void (P::*)(), kFieldBoxes> exits = {
      &P::Edit1Exit,  &P::Edit2Exit,  &P::Edit3Exit,  &P::Edit4Exit,  &P::Edit5Exit,
      &P::Edit6Exit,  &P::Edit7Exit,  &P::Edit8Exit,  &P::Edit9Exit,  &P::Edit10Exit,
      &P::Edit11Exit, &P::Edit12Exit, &P::Edit13Exit, &P::Edit14Exit, &P::Edit15Exit,
      &P::Edit16Exit, &P::Edit17Exit, &P::Edit18Exit, &P::Edit19Exit};
  for (std::size_t i = 0; i < kFieldBoxes; ++i) {
    OnBoxExit(boxes_[i], this, [this, exit = exits[i]] { (this->*exit)(); });
  }
  OnBoxExit(edit21_, this, [this] { Edit21Exit(); });
  connect(checkBox1_, &QCheckBox::toggled, this, &P::CheckBox1Click);
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
        QLineEdit* box = MakeBox(number, block);
        boxes_[static_cast<std::size_t>(number - 1)] = box;
        grid->addWidget(box, r + 1, c + 1);
      }
    }
    blocks->addWidget(block);
  }
  column->addLayout(blocks);

  auto* geometry = new QGroupBox("Plow", page);
  auto* form = new QFormLayout(geometry);
  form->setLabelAlignment(Qt::AlignRight);
  boxes_[16] = MakeBox(17, geometry);
  boxes_[17] = MakeBox(18, geometry);
  boxes_[18] = MakeBox(19, geometry);
  edit20_ = MakeBox(20, geometry);
  edit21_ = MakeBox(21, geometry);
  // These show "Enter" until the first refresh.
  for (QLineEdit* box : {boxes_[17], boxes_[18], edit20_, edit21_}) box->setText("Enter");
  form->addRow("Pulses per distance", boxes_[16]);
  form->addRow("Piston angle from horizontal", boxes_[17]);
  form->addRow("Piston face diameter (reduce)", boxes_[18]);
  form->addRow("Piston rod diameter (increase)", edit20_);
  form->addRow("Plow Weight", edit21_);
  checkBox1_ = new QCheckBox("Use Math Setup", geometry);
  checkBox1_->setObjectName("CheckBox1");
  form->addRow(QString(), checkBox1_);
  column->addWidget(geometry);
  column->addStretch(1);
}

void QuirnPage::Refresh(SettingsImage& local) {
  for (std::size_t i = 0; i < kFieldBoxes; ++i) boxes_[i]->setText(Show(local, kFields[i]));

  std::uint8_t& math = local[qf::UseMathSetup];
  const bool on = math == 1;
  if (!on) math = 0;
  checkBox1_->setChecked(on);
  // With math setup the plow weight is entered once, for both start weights.
  for (QLineEdit* box : {boxes_[kPistonAngleBox], boxes_[kPistonFaceBox], edit20_, edit21_}) {
    box->setReadOnly(!on);
  }
  boxes_[kReduceStartWeightBox]->setReadOnly(on);
  boxes_[kIncreaseStartWeightBox]->setReadOnly(on);
  if (on) {
    const QString weight = boxes_[kReduceStartWeightBox]->text();
    edit21_->setText(weight);
    boxes_[kIncreaseStartWeightBox]->setText(weight);
  }
}

void QuirnPage::StoreBox(std::size_t box) {
  if (const auto value = Entered(boxes_.at(box))) {
    Store(host_.Image(), kFields.at(box), *value);
  }
  host_.RefreshControls(0);
}

void QuirnPage::Edit21Exit() {
  if (const auto value = Entered(edit21_)) {
    WriteWord(host_.Image(), qf::ReduceStartWeight, *value);
    WriteWord(host_.Image(), qf::IncreaseStartWeight, *value);
  }
  host_.RefreshControls(0);
}

void QuirnPage::CheckBox1Click() {
  host_.Image()[qf::UseMathSetup] = checkBox1_->isChecked() ? 1 : 0;
  host_.RefreshControls(0);
}

}  // namespace zorv
