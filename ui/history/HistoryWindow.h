#pragma once
// View > "History...": the events of the service history, newest first, filtered by truck,
// product and kind; for the selected event its named differences to the window's image;
// "Restore into window", "Save as switch file..." and "Compare two events".
// With a shared register it lists the register's events and this laptop's events still waiting
// to be sent; the register is read off the window's thread, and until it answers (or when it
// cannot be reached) the window lists this laptop's own file.
#include <QDialog>
#include <QTemporaryDir>
#include <memory>
#include <optional>

#include "history/HistoryEvent.h"
#include "history/HistoryStore.h"
#include "history/RegisterAddress.h"
#include "history/RegisterSnapshot.h"
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
                Prompts& prompts, QWidget* parent = nullptr,
                history::RegisterAddress shared = {});
  ~HistoryWindow() override;

  // The event "Restore into window" chose.
  const std::optional<history::Event>& Chosen() const { return chosen_; }
  int RowCount() const;
  // Selects the rows (as listed now) the way a click and a Ctrl+click do.
  void SelectRows(const std::vector<int>& rows);
  // True once the register was read (or could not be), or when none is set.
  bool SourceSettled() const { return settled_; }

 private:
  void Requery();
  void FillFilters();
  void ReadRegister();
  void RegisterRead(const history::Snapshot& snapshot, std::shared_ptr<QTemporaryDir> folder,
                    const QString& file);
  void SelectionChanged();
  std::vector<history::Event> SelectedEvents() const;
  void RestoreClick();
  void SaveAsClick();
  void CompareTwoClick();

  std::shared_ptr<QTemporaryDir> copyFolder_;  // of the register's copy, while it is listed
  std::unique_ptr<history::HistoryStore> store_;
  history::RegisterAddress shared_;
  QString localFile_;
  std::unique_ptr<class RegisterReader> reader_;
  bool settled_ = true;
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
  QLabel* source_;
  QPlainTextEdit* differences_;
  QPushButton* restore_;
  QPushButton* saveAs_;
  QPushButton* compareTwo_;
};

}  // namespace zorv
