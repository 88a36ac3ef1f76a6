#pragma once
// The history's "Visits" window: one row a truck and day, with the controller's image as found
// (the first download before the first upload) and as left (the last upload), and the named
// differences between them for the selected visit; "Export truck history..." writes the
// selected visit's truck's events as CSV for the customer.
#include <QDialog>
#include <functional>
#include <vector>

#include "history/Visits.h"
#include "ui/Prompts.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace zorv {

class VisitsWindow final : public QDialog {
  Q_OBJECT

 public:
  // `truckEvents` gives every event of one truck (oldest first) for the export.
  using TruckEvents = std::function<std::vector<history::Event>(const QString& truck)>;

  VisitsWindow(std::vector<history::Event> events, TruckEvents truckEvents, Prompts& prompts,
               QWidget* parent = nullptr);

  int VisitCount() const { return static_cast<int>(visits_.size()); }
  void SelectVisit(int row);

 private:
  void SelectionChanged();
  void ExportClick();

  std::vector<history::Visit> visits_;
  TruckEvents truckEvents_;
  Prompts& prompts_;
  QTableWidget* table_;
  QLabel* heading_;
  QPlainTextEdit* differences_;
  QPushButton* export_;
};

}  // namespace zorv
