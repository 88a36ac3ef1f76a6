#pragma once
// Reads what the report needs from the window's controls, found by objectName.
#include "report/ReportLines.h"

class QWidget;

namespace zorv {

// The current texts of the report's drop-downs and the position of `freqbar`. A control the
// window does not have yet leaves its text empty; without `freqbar` the position follows
// image byte 0 as the Tarnovex page shows it.
ReportInputs ReportInputsFrom(const QWidget& window, const SettingsImage& image);

}  // namespace zorv
