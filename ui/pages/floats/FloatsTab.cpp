#include "FloatsTab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "image/Repairs.h"
#include "image/ZorvLayout.h"
#include "ui/pages/global/PageControls.h"
#include "ui/pages/global/WrapCheckBox.h"

namespace zorv {

namespace f = zorvfield;

namespace {

constexpr int kFloatDelayMax = 10;

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

FloatsTab::FloatsTab(PageHost& host, QWidget* sheet)
    : floats_(host, Bindings::AfterStore::Nothing, Bindings::Typing::StoredAsTyped),
      float1_(host, Bindings::AfterStore::Nothing),
      flags_(host),
      delay_(host) {
  auto* group = new QGroupBox("Zorv System Floats:", sheet);
  struct Float {
    QComboBox* output;
    QLineEdit* name;
  };
  const std::array<Float, 4> floats = {{
      {MakeOutputBox("PlowFloatSelect", group), MakeNameBox("float1", group)},
      {MakeOutputBox("BladeFloatSelect", group), MakeNameBox("float2", group)},
      {MakeOutputBox("WingFloatSelect", group), MakeNameBox("float3", group)},
      {MakeOutputBox("ToeFloatSelect", group), MakeNameBox("float4", group)},
  }};

  const char* const ordinals[] = {"One", "Two", "Three", "Four"};
  auto* grid = new QGridLayout(group);
  grid->setContentsMargins(8, 6, 8, 6);
  grid->setVerticalSpacing(4);
  for (std::size_t i = 0; i < floats.size(); ++i) {
    const int row = static_cast<int>(i);
    auto* outputLabel = new QLabel(QStringLiteral("Float %1:").arg(ordinals[i]), group);
    outputLabel->setBuddy(floats[i].output);
    auto* nameLabel = new QLabel(QStringLiteral("Float %1 Name:").arg(ordinals[i]), group);
    nameLabel->setBuddy(floats[i].name);
    grid->addWidget(outputLabel, row, 0);
    grid->addWidget(floats[i].output, row, 1);
    grid->addWidget(nameLabel, row, 2);
    grid->addWidget(floats[i].name, row, 3);
  }
  grid->setColumnStretch(1, 1);
  grid->setColumnMinimumWidth(2, 100);

  auto* floatdelay = MakeSpinEdit("floatdelay", 1, kFloatDelayMax, group);
  auto* delayLabel = new QLabel("Float Delay Time:", group);
  delayLabel->setBuddy(floatdelay);
  delayLabel->setToolTip("Seconds the joystick must be held at full deflection before a float is set");
  auto* delayRow = new QHBoxLayout;
  delayRow->addWidget(delayLabel);
  delayRow->addWidget(floatdelay);
  delayRow->addStretch(1);
  grid->addLayout(delayRow, 4, 0, 1, 4);

  auto* doubleactingfloat = new WrapCheckBox(
      "Make Float One a double acting float, which will replace the wing slide functions with "
      "a dump valve.",
      group);
  doubleactingfloat->setObjectName("doubleactingfloat");
  grid->addWidget(doubleactingfloat, 5, 0, 1, 4);
  grid->addWidget(MakeCheckBox("minfloat", "Active pressure holding float.  ", group), 6, 0, 1, 4);

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

  // Outputs and names store without a refresh; names two to four as typed, name one when left.
  floats_.BindKeys(Layout::Zorv,
                   {"zorv.float.one.output", "zorv.float.two.output", "zorv.float.three.output",
                    "zorv.float.four.output", "zorv.float.two.name", "zorv.float.three.name",
                    "zorv.float.four.name"},
                   group);
  float1_.BindKeys(Layout::Zorv, {"zorv.float.one.name"}, group);
  flags_.BindKeys(Layout::Zorv, {"zorv.float.double_acting", "zorv.float.min_float"}, group);
  delay_.BindKeys(Layout::Zorv, {"zorv.float.delay"}, group);
}

void FloatsTab::Refresh(ZorvStep step, SettingsImage& local) {
  switch (step) {
    case ZorvStep::Floats:
      RepairZorvFloats(local);
      floats_.Show(local);
      float1_.Show(local);
      break;
    case ZorvStep::FloatOptions: flags_.Show(local); break;
    case ZorvStep::Delays: delay_.Show(local); break;
    default: break;
  }
}

}  // namespace zorv
