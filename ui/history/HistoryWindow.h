#pragma once
// View > "History...": the events of the service history, newest first, filtered by truck,
// product and kind, a search of the truck labels (case and spacing ignored) and a date range; for the selected event its named differences to the window's image;
// "Restore into window", "Save as switch file...", "Compare two events" and "Visits..." (the
// listed trucks' visits, and a truck's history as CSV).
// With a shared register it lists the register's newest events the filters let through (the
// server filters; the register is never copied whole) and this laptop's events the register does
// not hold, and says whether the connection is encrypted; the register is read off the window's
// thread, and until it answers (or when it cannot be reached) the window lists this laptop's own
// file. A list holds at most HistoryStore::kListRows events, read in one go so the window never
// keeps a read open on the file (which would let its log grow without bound); a line says when
// there are more.
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
class QDateEdit;
class QLabel;
class QLineEdit;
class QTimer;
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
  // True once the register's first rows are listed (its count and this laptop's events follow).
  bool RegisterListed() const { return snapshot_.has_value(); }

 private:
  void Requery();
  void FilterChosen();
  history::Filter CurrentFilter() const;
  QString LimitText() const;
  void FillFilters();
  void ReadRegister();
  void ListLocalFile();
  void RegisterRead(const history::Snapshot& snapshot, std::shared_ptr<QTemporaryDir> folder,
                    const QString& file);
  void SelectionChanged();
  std::vector<history::Event> SelectedEvents() const;
  void RestoreClick();
  void SaveAsClick();
  void CompareTwoClick();
  void VisitsClick();

  std::shared_ptr<QTemporaryDir> copyFolder_;  // of the register's copy, while it is listed
  std::unique_ptr<history::HistoryStore> store_;
  history::RegisterAddress shared_;
  QString localFile_;
  std::unique_ptr<class RegisterReader> reader_;
  int reading_ = 0;  // which read of the register the window waits for
  std::optional<history::Snapshot> snapshot_;  // of the register's copy, while it is listed
  bool settled_ = true;
  SettingsImage window_;
  std::uint8_t productCode_;
  Prompts& prompts_;
  std::optional<history::Event> chosen_;

  QComboBox* truck_;
  QComboBox* product_;
  QComboBox* kind_;
  QLineEdit* search_;
  QDateEdit* from_;
  QDateEdit* to_;
  QTimer* typing_;  // the list follows the search box once typing pauses
  QTableView* table_;
  QSqlQueryModel* model_;
  QLabel* heading_;
  QLabel* source_;
  QLabel* limit_;
  QPlainTextEdit* differences_;
  QPushButton* restore_;
  QPushButton* saveAs_;
  QPushButton* compareTwo_;
  QPushButton* visits_;
};

}  // namespace zorv
