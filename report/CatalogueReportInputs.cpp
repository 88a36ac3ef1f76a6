#include "report/CatalogueReportInputs.h"

#include <algorithm>
#include <string>

#include "image/Catalogue.h"
#include "image/Encodings.h"
#include "image/ModeItems.h"
#include "image/TarnovexLayout.h"

namespace zorv {
namespace {

// The setting that `control` shows; null when the layout has no such control.
const Setting* FindControl(const std::vector<Setting>& settings, const std::string& control) {
  for (const Setting& s : settings) {
    if (std::find(s.controls.begin(), s.controls.end(), control) != s.controls.end()) return &s;
  }
  return nullptr;
}

}  // namespace

ReportInputs CatalogueReportInputs(const SettingsImage& image, std::uint8_t productCode) {
  ReportInputs inputs;
  const std::vector<Setting>& settings = CatalogueOf(SelectLayout(productCode, image));
  for (const QString& name : ReportDropDownNames()) {
    const std::string control = name.toStdString();
    if (const Setting* setting = FindControl(settings, control)) {
      // The drop-down shows the item at the setting's position, or nothing when it has none.
      inputs.modeTexts[name] =
          QString::fromStdString(modeitems::ItemText(control, Show(*setting, image).position));
    }
  }
  // The Tarnovex page's bar, kept within its range as the page keeps it.
  inputs.freqbarPosition = FreqBarPositionTarnovex(image[tarnovexfield::Frequency]);
  if (const Setting* frequency = FindControl(CatalogueOf(Layout::Tarnovex), "freqbar")) {
    inputs.freqbarPosition = Show(*frequency, image).position;
  }
  return inputs;
}

}  // namespace zorv
