#pragma once
// The printed settings report as text lines: a pure function of the image, the texts the
// button-mode drop-downs show and the Tarnovex frequency bar, so it can be checked line by line
// without a printer.
#include <QString>
#include <QStringList>
#include <map>

#include "image/SettingsImage.h"

namespace zorv {

// What the report takes from the window besides the image.
struct ReportInputs {
  // Current text of each button-mode drop-down, by objectName; a missing one prints as empty.
  std::map<QString, QString> modeTexts;
  // Position of the Tarnovex page's frequency bar `freqbar`.
  int freqbarPosition = 0;
};

// The objectNames of every drop-down the report may print.
QStringList ReportDropDownNames();

// The Tarnovex form when byte 33 holds the Tarnovex marker, the Zorv form for every other image;
// blank lines are empty strings.
QStringList ReportLines(const SettingsImage& image, const ReportInputs& inputs);

// "12.7v", left-padded to 5 characters.
QString ReportTrimValue(int trimByte);

}  // namespace zorv
