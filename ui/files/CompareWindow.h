#pragma once
// The named differences between the window's image and a file: a table (setting, window, file),
// a note when the file belongs to another layout or product, and "Load this file".
#include <QDialog>
#include <QString>
#include <cstdint>

#include "image/SettingsImage.h"
#include "report/SettingsExport.h"

class QLabel;
class QTableWidget;

namespace zorv {

class CompareWindow final : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kLoadFile = 2;  // result of "Load this file"

  CompareWindow(const SettingsImage& window, std::uint8_t productCode, const SettingsFile& file,
                const QString& fileName, QWidget* parent = nullptr);

  // The note above the table: what the user must know before reading it ("" when nothing).
  static QString Note(const SettingsImage& window, std::uint8_t productCode,
                      const SettingsFile& file);
};

}  // namespace zorv
