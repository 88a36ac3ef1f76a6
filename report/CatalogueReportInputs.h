#pragma once
// The report's inputs without a window: each drop-down's text is the item the catalogue places
// it on for the image bytes behind it, and the frequency bar's position comes from its byte.
#include <cstdint>

#include "report/ReportLines.h"

namespace zorv {

// What the window's drop-downs and frequency bar would show for `image` on the product of
// `productCode` (a drop-down the layout does not have is left out and prints as empty).
ReportInputs CatalogueReportInputs(const SettingsImage& image, std::uint8_t productCode);

}  // namespace zorv
