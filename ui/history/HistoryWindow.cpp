#include "ui/history/HistoryWindow.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QTimer>
#include <QCoreApplication>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QTableView>
#include <QVBoxLayout>
#include <QMetaObject>
#include <algorithm>

#include "image/Catalogue.h"
#include "image/SwitchFile.h"
#include "ui/files/SwitchFileCommands.h"
#include "ui/history/ListLook.h"
#include "ui/history/RegisterReader.h"
#include "ui/history/VisitsWindow.h"

namespace zorv {
namespace {

const QString kAll = "(all)";
// A date box at its earliest date means no limit on that side.
const QDate kNoDate(2000, 1, 1);
constexpr int kTypingPauseMs = 300;
// The most events of one truck an export holds: years of a shop's work.
constexpr int kExportRows = 1000000;

// The list's columns: time, kind, truck, product, link, file (the id is hidden).
class HistoryModel final : public QSqlQueryModel {
 public:
  using QSqlQueryModel::QSqlQueryModel;
  QVariant data(const QModelIndex& index, int role) const override {
    const QVariant value = QSqlQueryModel::data(index, role);
    if (role != Qt::DisplayRole) return value;
    if (index.column() == 1) {
      QDateTime time = QDateTime::fromString(value.toString(), Qt::ISODateWithMs);
      time.setTimeSpec(Qt::UTC);
      return time.toLocalTime().toString("yyyy-MM-dd HH:mm:ss");
    }
    if (index.column() == 2) {
      const auto kind = history::KindFromKey(value.toString());
      return kind ? history::KindText(*kind) : value;
    }
    return value;
  }
};

QComboBox* MakeFilter(const char* name, QWidget* parent) {
  auto* box = new QComboBox(parent);
  box->setObjectName(name);
  box->setMinimumContentsLength(10);
  box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  box->addItem(kAll);
  return box;
}

struct Labelled {
  const char* caption;
  QWidget* box;
  int stretch;
};

// A row of boxes, each after its label (the label's key moves to the box).
QHBoxLayout* LabelledRow(std::initializer_list<Labelled> boxes, QWidget* parent) {
  auto* row = new QHBoxLayout;
  for (const Labelled& item : boxes) {
    auto* label = new QLabel(item.caption, parent);
    label->setBuddy(item.box);
    row->addWidget(label);
    row->addWidget(item.box, item.stretch);
  }
  return row;
}

QDateEdit* MakeDateBox(const char* name, QWidget* parent) {
  auto* box = new QDateEdit(kNoDate, parent);
  box->setObjectName(name);
  box->setMinimumDate(kNoDate);
  box->setSpecialValueText("(any)");
  box->setCalendarPopup(true);
  box->setDisplayFormat("yyyy-MM-dd");
  return box;
}

QPushButton* MakeButton(const char* name, const QString& caption, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  return button;
}

QString DifferenceText(const SettingsImage& from, const SettingsImage& to,
                       std::uint8_t productCode) {
  const std::vector<Difference> differences = Compare(from, to, productCode);
  if (differences.empty()) return "No differences.";
  QStringList lines;
  for (const Difference& d : differences) lines << QString::fromStdString(d.Line());
  return lines.join('\n');
}

}  // namespace

HistoryWindow::HistoryWindow(const QString& file, const SettingsImage& window,
                             std::uint8_t productCode, Prompts& prompts, QWidget* parent,
                             history::RegisterAddress shared)
    : QDialog(parent),
      store_(std::make_unique<history::HistoryStore>(file)),
      shared_(std::move(shared)),
      localFile_(file),
      window_(window),
      productCode_(productCode),
      prompts_(prompts) {
  setObjectName("HistoryForm");
  setWindowTitle("History");
  resize(840, 520);

  truck_ = MakeFilter("TruckFilter", this);
  product_ = MakeFilter("ProductFilter", this);
  kind_ = MakeFilter("KindFilter", this);
  auto* filters = LabelledRow({{"&Truck:", truck_, 1}, {"&Product:", product_, 1}, {"&Kind:", kind_, 1}},
                              this);

  search_ = new QLineEdit(this);
  search_->setObjectName("TruckSearch");
  search_->setPlaceholderText("part of a truck label");
  search_->setClearButtonEnabled(true);
  search_->setMaxLength(64);
  from_ = MakeDateBox("FromDate", this);
  to_ = MakeDateBox("ToDate", this);
  auto* ranges = LabelledRow({{"&Search trucks:", search_, 2}, {"&From:", from_, 1}, {"T&o:", to_, 1}},
                             this);
  typing_ = new QTimer(this);
  typing_->setSingleShot(true);
  typing_->setInterval(kTypingPauseMs);

  source_ = new QLabel(this);
  source_->setObjectName("SourceLine");
  source_->setTextFormat(Qt::PlainText);
  source_->setWordWrap(true);
  source_->setVisible(shared_.IsSet());

  const history::OpenResult opened = store_->OpenForReading();
  model_ = new HistoryModel(this);
  table_ = new QTableView(this);
  table_->setObjectName("HistoryTable");
  table_->setModel(model_);
  SetUpList(*table_, QAbstractItemView::ExtendedSelection);

  limit_ = new QLabel(this);
  limit_->setObjectName("ListLimitLine");
  limit_->setTextFormat(Qt::PlainText);
  limit_->setWordWrap(true);
  limit_->hide();

  heading_ = new QLabel(this);
  heading_->setObjectName("DifferencesHeading");
  differences_ = new QPlainTextEdit(this);
  differences_->setObjectName("DifferencesMemo");
  differences_->setReadOnly(true);

  restore_ = MakeButton("RestoreButton", "Restore into window", this);
  saveAs_ = MakeButton("SaveAsButton", "Save as switch file...", this);
  compareTwo_ = MakeButton("CompareTwoButton", "Compare two events", this);
  visits_ = MakeButton("VisitsButton", "&Visits...", this);
  auto* close = MakeButton("CloseButton", "Close", this);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(restore_);
  buttons->addWidget(saveAs_);
  buttons->addWidget(compareTwo_);
  buttons->addWidget(visits_);
  buttons->addStretch(1);
  buttons->addWidget(close);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(source_);
  layout->addLayout(filters);
  layout->addLayout(ranges);
  layout->addWidget(table_, 3);
  layout->addWidget(limit_);
  layout->addWidget(heading_);
  layout->addWidget(differences_, 2);
  layout->addLayout(buttons);

  FillFilters();
  if (store_->Mode() == history::StoreMode::Closed && !opened.line.isEmpty()) {
    heading_->setText("The history cannot be read: " + opened.line);
  }
  for (history::EventKind kind : history::kAllKinds) {
    kind_->addItem(history::KindText(kind), history::KindKey(kind));
  }

  for (QComboBox* box : {truck_, product_, kind_}) {
    connect(box, &QComboBox::activated, this, &HistoryWindow::FilterChosen);
  }
  connect(search_, &QLineEdit::textChanged, typing_, qOverload<>(&QTimer::start));
  connect(typing_, &QTimer::timeout, this, &HistoryWindow::FilterChosen);
  for (QDateEdit* box : {from_, to_}) {
    connect(box, &QDateEdit::dateChanged, typing_, qOverload<>(&QTimer::start));
  }
  connect(restore_, &QPushButton::clicked, this, &HistoryWindow::RestoreClick);
  connect(saveAs_, &QPushButton::clicked, this, &HistoryWindow::SaveAsClick);
  connect(compareTwo_, &QPushButton::clicked, this, &HistoryWindow::CompareTwoClick);
  connect(visits_, &QPushButton::clicked, this, &HistoryWindow::VisitsClick);
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  Requery();
  if (shared_.IsSet()) ReadRegister();
}

HistoryWindow::~HistoryWindow() {
  reader_.reset();
  table_->setModel(nullptr);
  model_->clear();
}

void HistoryWindow::FillFilters() {
  // Refilled when the register's events arrive: the user's choice stays where it still exists.
  // With a register: what it holds (its copy holds only what is listed) and this laptop's own.
  const bool open = store_->Mode() != history::StoreMode::Closed;
  QStringList trucks = open ? store_->Trucks() : QStringList();
  QStringList products = open ? store_->Products() : QStringList();
  if (snapshot_) {
    trucks += snapshot_->trucks;
    products += snapshot_->products;
  }
  std::pair<QComboBox*, QStringList> boxes[] = {{truck_, trucks}, {product_, products}};
  for (auto& [box, values] : boxes) {
    values.removeDuplicates();
    values.sort();
    const QVariant chosen = box->currentIndex() > 0 ? box->currentData() : QVariant();
    while (box->count() > 1) box->removeItem(1);
    for (const QString& value : values) box->addItem(value.isEmpty() ? "(none)" : value, value);
    if (chosen.isValid()) box->setCurrentIndex(std::max(0, box->findData(chosen)));
  }
}

void HistoryWindow::ReadRegister() {
  settled_ = false;
  source_->setText("Reading the history register " + shared_.Text() +
                   (snapshot_ ? QString("; until then the events read before are listed")
                              : QString("; until then the events of this laptop are listed")));
  // A read for filters chosen before is dropped when it answers late.
  const int reading = ++reading_;
  reader_.reset();
  reader_ = std::make_unique<RegisterReader>(
      localFile_, shared_, CurrentFilter(), this,
      [this, reading](const history::Snapshot& snapshot, std::shared_ptr<QTemporaryDir> folder,
                      const QString& file) {
        if (reading == reading_) RegisterRead(snapshot, std::move(folder), file);
      });
}

void HistoryWindow::ListLocalFile() {
  model_->clear();
  store_ = std::make_unique<history::HistoryStore>(localFile_);
  store_->OpenForReading();
  copyFolder_.reset();
  snapshot_.reset();
  FillFilters();
  Requery();
}

void HistoryWindow::RegisterRead(const history::Snapshot& snapshot,
                                 std::shared_ptr<QTemporaryDir> folder, const QString& file) {
  settled_ = snapshot.complete || !snapshot.registerRead;
  if (!snapshot.registerRead) {
    source_->setText("History register unreachable: the events of this laptop are listed (" +
                     snapshot.error + ")");
    if (snapshot_) ListLocalFile();  // not an earlier read's events under that line
    return;
  }
  auto copy = std::make_unique<history::HistoryStore>(file);
  if (copy->OpenForReading().mode == history::StoreMode::Closed) return;
  model_->clear();
  store_ = std::move(copy);
  copyFolder_ = std::move(folder);
  snapshot_ = snapshot;
  const QString connection =
      QString("connection ") + (snapshot.encrypted ? "encrypted" : "NOT encrypted");
  if (snapshot.complete) {
    source_->setText("History register " + shared_.Text() + ": " +
                     QString::number(snapshot.fromRegister) + " event(s), " + connection + "; " +
                     QString::number(snapshot.waiting) +
                     " of this laptop's not in the register are listed too, marked so");
  } else {
    source_->setText("History register " + shared_.Text() + ": its newest " +
                     QString::number(snapshot.listed) + " event(s) listed, " + connection +
                     "; counting, and reading this laptop's events not in the register");
  }
  FillFilters();
  Requery();
}

history::Filter HistoryWindow::CurrentFilter() const {
  history::Filter filter;
  if (truck_->currentIndex() > 0) filter.truck = truck_->currentData().toString();
  if (product_->currentIndex() > 0) filter.product = product_->currentData().toString();
  if (kind_->currentIndex() > 0) filter.kind = history::KindFromKey(kind_->currentData().toString());
  filter.truckSearch = search_->text();
  // The dates are the user's own days, from the start of the first to the end of the last.
  if (from_->date() > kNoDate) filter.from = from_->date().startOfDay();
  if (to_->date() > kNoDate) filter.before = to_->date().addDays(1).startOfDay();
  return filter;
}

void HistoryWindow::FilterChosen() {
  // What is listed already is narrowed at once; the register then answers for the new filters.
  Requery();
  if (shared_.IsSet()) ReadRegister();
}

QString HistoryWindow::LimitText() const {
  const QString narrow = ": choose a truck, product, kind or dates to see older ones.";
  if (snapshot_) {
    if (snapshot_->fromRegister <= snapshot_->listed) return {};
    return "The register's newest " + QString::number(snapshot_->listed) + " of " +
           QString::number(snapshot_->fromRegister) + " events are listed" + narrow;
  }
  if (model_->rowCount() < history::HistoryStore::kListRows) return {};
  return "The newest " + QString::number(model_->rowCount()) + " of " +
         QString::number(store_->Count(CurrentFilter())) + " events are listed" + narrow;
}

void HistoryWindow::Requery() {
  if (store_->Mode() == history::StoreMode::Closed) {
    SelectionChanged();
    return;
  }
  model_->setQuery(store_->ListQuery(CurrentFilter()));
  // All of the list at once (it is bounded): its statement ends, so the file's log can be
  // written back and cut while the window stays open.
  while (model_->canFetchMore()) model_->fetchMore();
  store_->Checkpoint();
  limit_->setText(LimitText());
  limit_->setVisible(!limit_->text().isEmpty());
  const char* headers[] = {"Id", "Time", "Kind", "Truck", "Product", "Link", "File", "Register"};
  for (int column = 0; column < 8; ++column) {
    model_->setHeaderData(column, Qt::Horizontal, headers[column]);
  }
  table_->hideColumn(0);
  const int widths[] = {0, 135, 225, 80, 75, 130};
  for (int column = 1; column < 6; ++column) table_->setColumnWidth(column, widths[column]);
  connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &HistoryWindow::SelectionChanged, Qt::UniqueConnection);
  if (model_->rowCount() > 0) table_->selectRow(0);
  SelectionChanged();
}

int HistoryWindow::RowCount() const {
  while (model_->canFetchMore()) model_->fetchMore();
  return model_->rowCount();
}

void HistoryWindow::SelectRows(const std::vector<int>& rows) {
  table_->clearSelection();
  for (int row : rows) {
    table_->selectionModel()->select(model_->index(row, 1),
                                     QItemSelectionModel::Select | QItemSelectionModel::Rows);
  }
}

std::vector<history::Event> HistoryWindow::SelectedEvents() const {
  std::vector<history::Event> events;
  if (table_->selectionModel() == nullptr) return events;
  QModelIndexList rows = table_->selectionModel()->selectedRows(0);
  std::sort(rows.begin(), rows.end(),
            [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
  for (const QModelIndex& row : rows) {
    if (auto event = store_->Load(model_->data(row).toString())) events.push_back(*event);
  }
  return events;
}

void HistoryWindow::SelectionChanged() {
  const std::vector<history::Event> selected = SelectedEvents();
  restore_->setEnabled(selected.size() == 1);
  saveAs_->setEnabled(selected.size() == 1);
  compareTwo_->setEnabled(selected.size() == 2);
  if (selected.size() != 1) {
    if (store_->Mode() != history::StoreMode::Closed) {
      heading_->setText(selected.empty() ? "Select an event."
                                         : "Select one event, or two to compare them.");
    }
    differences_->clear();
    return;
  }
  SettingsImage event;
  event.bytes = selected.front().image;
  heading_->setText("Differences from the window's image to this event:");
  differences_->setPlainText(DifferenceText(window_, event, productCode_));
}

void HistoryWindow::RestoreClick() {
  const std::vector<history::Event> selected = SelectedEvents();
  if (selected.size() != 1) return;
  chosen_ = selected.front();
  done(kRestore);
}

void HistoryWindow::SaveAsClick() {
  const std::vector<history::Event> selected = SelectedEvents();
  if (selected.size() != 1) return;
  const QString chosen = prompts_.SaveFileName("Save As", SwitchFileCommands::StartPath(),
                                               kSwitchFileFilter);
  if (chosen.isEmpty()) return;
  SettingsImage image;
  image.bytes = selected.front().image;
  const Outcome written = WriteSwitchFile(QFile::encodeName(chosen).toStdString(), image);
  if (!written) {
    prompts_.Message(Prompts::Kind::Error, "Error", QString::fromStdString(written.error));
  }
}

void HistoryWindow::CompareTwoClick() {
  const std::vector<history::Event> selected = SelectedEvents();
  if (selected.size() != 2) return;
  // Rows are newest first: from the older event to the newer one.
  SettingsImage older;
  SettingsImage newer;
  older.bytes = selected[1].image;
  newer.bytes = selected[0].image;
  heading_->setText("Differences from the older event to the newer one:");
  differences_->setPlainText(
      DifferenceText(older, newer, history::ProductCodeOf(selected[1].product)));
}

void HistoryWindow::VisitsClick() {
  if (store_->Mode() == history::StoreMode::Closed) return;
  // A visit is every kind of event of a truck's day: the kind box does not cut it.
  history::Filter filter = CurrentFilter();
  filter.kind.reset();
  // The export asks the store of the moment: the register's answer may replace it meanwhile.
  VisitsWindow visits(
      store_->Events(filter, history::HistoryStore::kListRows),
      [this](const QString& truck) {
        history::Filter one;
        one.truck = truck;
        return store_->Events(one, kExportRows);
      },
      prompts_, this);
  prompts_.ShowModal(visits);
}

}  // namespace zorv
