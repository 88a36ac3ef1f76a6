#pragma once
// File > "Export..." (the window's image as JSON or CSV), File > "Compare with File..." and the
// opening of an exported JSON file by File > Open.
#include <QString>

#include "ui/PageHost.h"

namespace zorv {

inline constexpr const char* kExportFilter = "JSON (*.json);;CSV (*.csv)";
inline constexpr const char* kCompareFilter =
    "Switch Files (*.joy);;Exported Settings (*.json);;All Files (*.*)";

class ExportCommands {
 public:
  explicit ExportCommands(PageHost& host) : host_(host) {}

  void Export1Click();
  void CompareWithFile1Click();

 private:
  PageHost& host_;
};

// Loads a switch file or an exported JSON file as File > Open does: the bytes become the image
// (the product code and the global trims stay), then the refresh. A refused file is shown as an
// error and leaves the image as it was. Returns whether it loaded.
bool OpenSettingsFile(PageHost& host, const QString& fileName);

}  // namespace zorv
