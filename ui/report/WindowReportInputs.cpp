#include "ui/report/WindowReportInputs.h"

#include <QAbstractSlider>
#include <QComboBox>
#include <QWidget>

#include "image/Encodings.h"
#include "image/TarnovexLayout.h"

namespace zorv {

ReportInputs ReportInputsFrom(const QWidget& window, const SettingsImage& image) {
  ReportInputs inputs;
  for (const QString& name : ReportDropDownNames()) {
    if (const auto* box = window.findChild<QComboBox*>(name)) inputs.modeTexts[name] = box->currentText();
  }
  if (const auto* bar = window.findChild<QAbstractSlider*>("freqbar")) {
    inputs.freqbarPosition = bar->value();
  } else {
    inputs.freqbarPosition = FreqBarPositionTarnovex(image[tarnovexfield::Frequency]);
  }
  return inputs;
}

}  // namespace zorv
