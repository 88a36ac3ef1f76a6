#include "ui/history/VisitsWindow.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "history/TruckCsv.h"
#include "report/SettingsExport.h"
#include "ui/history/ListLook.h"

namespace zorv {
namespace {

QString TimeText(const history::Event* event) {
  return event ? event->timeUtc.toLocalTime().toString("HH:mm:ss") : QString("-");
}

QString TruckText(const QString& truck) {
  return truck.isEmpty() ? QString("(none)") : truck;
}

// A name a file system accepts, from a label that may hold '/' or ':'.
QString FileNameFor(const QString& truck) {
  QString name = truck.isEmpty() ? QString("no truck") : truck;
  for (QChar& c : name) {
    if (!c.isLetterOrNumber() && c != ' ' && c != '-' && c != '_') c = '_';
  }
  return name + " history.csv";
}

}  // namespace

VisitsWindow::VisitsWindow(std::vector<history::Event> events, TruckEvents truckEvents,
                           Prompts& prompts, QWidget* parent)
    : QDialog(parent),
      visits_(history::GroupVisits(std::move(events))),
      truckEvents_(std::move(truckEvents)),
      prompts_(prompts) {
  setObjectName("VisitsForm");
  setWindowTitle("Visits");
  resize(720, 480);

  table_ = new QTableWidget(static_cast<int>(visits_.size()), 5, this);
  table_->setObjectName("VisitsTable");
  table_->setHorizontalHeaderLabels({"Day", "Truck", "Events", "Found at", "Left at"});
  SetUpList(*table_, QAbstractItemView::SingleSelection);
  for (int row = 0; row < VisitCount(); ++row) {
    const history::Visit& visit = visits_[static_cast<std::size_t>(row)];
    const QString cells[] = {visit.day.toString("yyyy-MM-dd"), TruckText(visit.truck),
                             QString::number(visit.events.size()), TimeText(visit.Before()),
                             TimeText(visit.After())};
    for (int column = 0; column < 5; ++column) {
      table_->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
  }
  const int widths[] = {95, 190, 60, 90};
  for (int column = 0; column < 4; ++column) table_->setColumnWidth(column, widths[column]);

  heading_ = new QLabel(this);
  heading_->setObjectName("VisitHeading");
  heading_->setTextFormat(Qt::PlainText);
  heading_->setWordWrap(true);
  differences_ = new QPlainTextEdit(this);
  differences_->setObjectName("VisitDifferencesMemo");
  differences_->setReadOnly(true);

  export_ = new QPushButton("Export truck history...", this);
  export_->setObjectName("ExportTruckButton");
  auto* close = new QPushButton("Close", this);
  close->setObjectName("CloseButton");
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(export_);
  buttons->addStretch(1);
  buttons->addWidget(close);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(table_, 3);
  layout->addWidget(heading_);
  layout->addWidget(differences_, 2);
  layout->addLayout(buttons);

  connect(table_, &QTableWidget::itemSelectionChanged, this, &VisitsWindow::SelectionChanged);
  connect(export_, &QPushButton::clicked, this, &VisitsWindow::ExportClick);
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  if (VisitCount() > 0) table_->selectRow(0);
  SelectionChanged();
}

void VisitsWindow::SelectVisit(int row) {
  table_->selectRow(row);
}

void VisitsWindow::SelectionChanged() {
  const int row = table_->currentRow();
  const bool chosen = row >= 0 && row < VisitCount() && !table_->selectedItems().isEmpty();
  export_->setEnabled(chosen);
  if (!chosen) {
    heading_->setText(visits_.empty() ? "No visits in the events listed." : "Select a visit.");
    differences_->clear();
    return;
  }
  const history::Visit& visit = visits_[static_cast<std::size_t>(row)];
  heading_->setText("From the image found (first download) to the image left (last upload), " +
                    TruckText(visit.truck) + " on " + visit.day.toString("yyyy-MM-dd") + ":");
  differences_->setPlainText(visit.Differences().join('\n'));
}

void VisitsWindow::ExportClick() {
  const int row = table_->currentRow();
  if (row < 0 || row >= VisitCount()) return;
  const QString truck = visits_[static_cast<std::size_t>(row)].truck;
  const QString chosen =
      prompts_.SaveFileName("Export truck history", FileNameFor(truck), "CSV files (*.csv)");
  if (chosen.isEmpty()) return;
  const QString failed = WriteWholeFile(chosen, history::TruckHistoryCsv(truckEvents_(truck)));
  if (!failed.isEmpty()) {
    prompts_.Message(Prompts::Kind::Error, "Error",
                     "The truck's history could not be exported to " + chosen + ": " + failed);
  }
}

}  // namespace zorv
