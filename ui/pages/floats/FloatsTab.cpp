#include "FloatsTab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "image/TextFields.h"
#include "image/ZorvLayout.h"
#include "ui/pages/global/PageControls.h"
#include "ui/pages/global/WrapCheckBox.h"
#include "ui/widgets/BoxExit.h"

namespace zorv {

namespace f = zorvfield;

namespace {

constexpr int kFloatDelayMax = 10;
constexpr int kOutputItems = kFunctionCount + 1;  // "None" and the 16 outputs

QComboBox* MakeOutputBox(const char* name, QWidget* parent) {
  auto* box = new QComboBox(parent);
  box->setObjectName(name);
  box->addItem("None");
  for (std::string_view output : kFunctionOutputNames) {
    box->addItem(QString::fromLatin1(output.data(), static_cast<qsizetype>(output.size())));
  }
  return box;
}

QLineEdit* MakeNameBox(const char* name, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  edit->setMaxLength(static_cast<int>(f::kFloatNameWidth));
  edit->setFixedWidth(edit->fontMetrics().horizontalAdvance("WWWWW") + 14);
  return edit;
}

QLabel* MakeNote(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setWordWrap(true);
  return label;
}

}  // namespace

FloatsTab::FloatsTab(PageHost& host, QWidget* sheet) : host_(host) {
  auto* group = new QGroupBox("Zorv System Floats:", sheet);
  floats_[0] = {MakeOutputBox("PlowFloatSelect", group), f::FloatOneOutput,
                MakeNameBox("float1", group), f::FloatOneName};
  floats_[1] = {MakeOutputBox("BladeFloatSelect", group), f::FloatTwoOutput,
                MakeNameBox("float2", group), f::FloatTwoName};
  floats_[2] = {MakeOutputBox("WingFloatSelect", group), f::FloatThreeOutput,
                MakeNameBox("float3", group), f::FloatThreeName};
  floats_[3] = {MakeOutputBox("ToeFloatSelect", group), f::FloatFourOutput,
                MakeNameBox("float4", group), f::FloatFourName};

  const char* const ordinals[] = {"One", "Two", "Three", "Four"};
  auto* grid = new QGridLayout(group);
  grid->setContentsMargins(8, 6, 8, 6);
  grid->setVerticalSpacing(4);
  for (std::size_t i = 0; i < floats_.size(); ++i) {
    const int row = static_cast<int>(i);
    auto* outputLabel = new QLabel(QStringLiteral("Float %1:").arg(ordinals[i]), group);
    outputLabel->setBuddy(floats_[i].output);
    auto* nameLabel = new QLabel(QStringLiteral("Float %1 Name:").arg(ordinals[i]), group);
    nameLabel->setBuddy(floats_[i].name);
    grid->addWidget(outputLabel, row, 0);
    grid->addWidget(floats_[i].output, row, 1);
    grid->addWidget(nameLabel, row, 2);
    grid->addWidget(floats_[i].name, row, 3);
  }
  grid->setColumnStretch(1, 1);
  grid->setColumnMinimumWidth(2, 100);

  floatdelay_ = MakeSpinEdit("floatdelay", 1, kFloatDelayMax, group);
  auto* delayLabel = new QLabel("Float Delay Time:", group);
  delayLabel->setBuddy(floatdelay_);
  delayLabel->setToolTip("Seconds the joystick must be held at full deflection before a float is set");
  auto* delayRow = new QHBoxLayout;
  delayRow->addWidget(delayLabel);
  delayRow->addWidget(floatdelay_);
  delayRow->addStretch(1);
  grid->addLayout(delayRow, 4, 0, 1, 4);

  doubleactingfloat_ = new WrapCheckBox(
      "Make Float One a double acting float, which will replace the wing slide functions with "
      "a dump valve.",
      group);
  doubleactingfloat_->setObjectName("doubleactingfloat");
  minfloat_ = MakeCheckBox("minfloat", "Active pressure holding float.  ", group);
  grid->addWidget(doubleactingfloat_, 5, 0, 1, 4);
  grid->addWidget(minfloat_, 6, 0, 1, 4);

  auto* notes = new QVBoxLayout;
  notes->setSpacing(4);
  notes->addWidget(MakeNote(
      "Note: The 4 floats can be set to any output port.  The names of the ports are labeled at "
      "the top of each trim tab ( Hoist(A2), Plow(A4), Wing (B), Blade(C)). ",
      sheet));
  notes->addWidget(MakeNote(
      "Floats can be triggered by moving the joystick to max deflection for that particular "
      "direction of motion on the implement and holding there until the delay time has been "
      "met. ",
      sheet));
  notes->addWidget(MakeNote(
      "Floats are turned off by moving the jotstick in the opposite direction that set the "
      "float.",
      sheet));

  auto* column = new QVBoxLayout(sheet);
  column->setContentsMargins(6, 6, 6, 6);
  column->addWidget(group);
  column->addLayout(notes);
  column->addStretch(1);

  connect(floats_[0].output, &QComboBox::activated, this, &FloatsTab::PlowFloatSelectChange);
  connect(floats_[1].output, &QComboBox::activated, this, &FloatsTab::BladeFloatSelectChange);
  connect(floats_[2].output, &QComboBox::activated, this, &FloatsTab::WingFloatSelectChange);
  connect(floats_[3].output, &QComboBox::activated, this, &FloatsTab::ToeFloatSelectChange);
  OnBoxExit(floats_[0].name, this, [this] { float1Exit(); });
  connect(floats_[1].name, &QLineEdit::textChanged, this, &FloatsTab::float2Change);
  connect(floats_[2].name, &QLineEdit::textChanged, this, &FloatsTab::float3Change);
  connect(floats_[3].name, &QLineEdit::textChanged, this, &FloatsTab::float4Change);
  connect(floatdelay_, &SpinEdit::valueChanged, this, &FloatsTab::floatdelayChange);
  connect(doubleactingfloat_, &QCheckBox::toggled, this, &FloatsTab::doubleactingfloatClick);
  connect(minfloat_, &QCheckBox::toggled, this, &FloatsTab::minfloatClick);
}

void FloatsTab::StoreOutput(const Float& fl) {
  const int index = fl.output->currentIndex();
  if (index >= 0) host_.Image()[fl.outputByte] = static_cast<std::uint8_t>(index);
}

void FloatsTab::StoreName(const Float& fl) {
  // Raw 8-bit characters; one the byte cannot hold becomes '?'.
  const QByteArray text = fl.name->text().toLatin1();
  WriteFloatName(host_.Image(), fl.nameByte,
                 std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
}

void FloatsTab::PlowFloatSelectChange() { StoreOutput(floats_[0]); }
void FloatsTab::BladeFloatSelectChange() { StoreOutput(floats_[1]); }
void FloatsTab::WingFloatSelectChange() { StoreOutput(floats_[2]); }
void FloatsTab::ToeFloatSelectChange() { StoreOutput(floats_[3]); }
void FloatsTab::float1Exit() { StoreName(floats_[0]); }
void FloatsTab::float2Change() { StoreName(floats_[1]); }
void FloatsTab::float3Change() { StoreName(floats_[2]); }
void FloatsTab::float4Change() { StoreName(floats_[3]); }

void FloatsTab::floatdelayChange() {
  host_.Image()[f::FloatDelay] = static_cast<std::uint8_t>(floatdelay_->value());
  host_.RefreshControls(0);
}

void FloatsTab::doubleactingfloatClick() {
  host_.Image()[f::DoubleActingFloat] = doubleactingfloat_->isChecked() ? 1 : 0;
  host_.RefreshControls(0);
}

void FloatsTab::minfloatClick() {
  host_.Image()[f::MinFloat] = minfloat_->isChecked() ? 1 : 0;
  host_.RefreshControls(0);
}

void FloatsTab::Refresh(ZorvStep step, SettingsImage& local) {
  switch (step) {
    case ZorvStep::Floats:
      for (const Float& fl : floats_) {
        if (local[fl.outputByte] >= kOutputItems) local[fl.outputByte] = 0;
        fl.output->setCurrentIndex(local[fl.outputByte]);
        const QString name = QString::fromLatin1(ReadFloatName(local, fl.nameByte));
        // Setting the same text again would move the cursor of a box being typed in.
        if (fl.name->text() != name) fl.name->setText(name);
      }
      break;
    case ZorvStep::FloatOptions:
      ShowFlag(doubleactingfloat_, local[f::DoubleActingFloat]);
      ShowFlag(minfloat_, local[f::MinFloat]);
      break;
    case ZorvStep::Delays:
      if (local[f::FloatDelay] > kFloatDelayMax || local[f::FloatDelay] < 1) local[f::FloatDelay] = 1;
      ShowSpinValue(floatdelay_, local[f::FloatDelay]);
      break;
    default: break;
  }
}

}  // namespace zorv
