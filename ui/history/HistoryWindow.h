#pragma once
// View > "History...": the events of the service history, newest first, filtered by truck,
// product and kind; for the selected event its named differences to the window's image;
// "Restore into window", "Save as switch file..." and "Compare two events".
#include <QDialog>
#include <memory>
#include <optional>

#include "history/HistoryEvent.h"
#include "history/HistoryStore.h"
#include "image/SettingsImage.h"
#include "ui/Prompts.h"

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSqlQueryModel;
class QTableView;

namespace zorv {

class HistoryWindow final : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kRestore = 2;  // result of "Restore into window"

  HistoryWindow(const QString& file, const SettingsImage& window, std::uint8_t productCode,
                Prompts& prompts, QWidget* parent = nullptr);
  ~HistoryWindow() override;

  // The event "Restore into window" chose.
  const std::optional<history::Event>& Chosen() const { return chosen_; }
  int RowCount() const;
  // Selects the rows (as listed now) the way a click and a Ctrl+click do.
  void SelectRows(const std::vector<int>& rows);

 private:
  void Requery();
  void SelectionChanged();
  std::vector<history::Event> SelectedEvents() const;
  void RestoreClick();
  void SaveAsClick();
  void CompareTwoClick();

  history::HistoryStore store_;
  SettingsImage window_;
  std::uint8_t productCode_;
  Prompts& prompts_;
  std::optional<history::Event> chosen_;

  QComboBox* truck_;
  QComboBox* product_;
  QComboBox* kind_;
  QTableView* table_;
  QSqlQueryModel* model_;
  QLabel* heading_;
  QPlainTextEdit* differences_;
  QPushButton* restore_;
  QPushButton* saveAs_;
  QPushButton* compareTwo_;
};

}  // namespace zorv
