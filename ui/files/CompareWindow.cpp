#include "ui/files/CompareWindow.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "image/Catalogue.h"

namespace zorv {

namespace {

QString LayoutTitle(Layout layout) {
  switch (layout) {
    case Layout::Zorv: return "Zorv";
    case Layout::Tarnovex: return "Tarnovex";
    case Layout::Halverston: return "Halverston";
    case Layout::Quirn: return "Quirn";
  }
  return "Zorv";
}

QString Str(const std::string& s) { return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size())); }

}  // namespace

QString CompareWindow::Note(const SettingsImage& window, std::uint8_t productCode,
                            const SettingsFile& file) {
  const Layout ours = SelectLayout(productCode, window);
  if (file.productCode && *file.productCode != productCode) {
    return "The file was exported from a " + ProductName(*file.productCode) +
           " controller; the window shows a " + ProductName(productCode) +
           " image. The differences below are named as the window's " + LayoutTitle(ours) +
           " layout reads the bytes.";
  }
  const Layout theirs = SelectLayout(file.productCode.value_or(productCode), file.image);
  if (theirs != ours) {
    return "The file's bytes select the " + LayoutTitle(theirs) + " layout (byte 33 holds " +
           QString::number(file.image[kTarnovexMarkerOffset]) + "); the window shows the " +
           LayoutTitle(ours) + " layout. The differences below are named as the window's layout "
           "reads the bytes.";
  }
  return {};
}

CompareWindow::CompareWindow(const SettingsImage& window, std::uint8_t productCode,
                             const SettingsFile& file, const QString& fileName, QWidget* parent)
    : QDialog(parent) {
  setObjectName("CompareWindow");
  setWindowTitle("Compare with " + QFileInfo(fileName).fileName());

  const std::vector<Difference> differences = Compare(window, file.image, productCode);
  auto* heading = new QLabel(this);
  heading->setObjectName("CompareHeading");
  heading->setText(differences.empty()
                       ? QString("The file holds the same settings as the window.")
                       : QString::number(differences.size()) +
                             (differences.size() == 1 ? " difference" : " differences") +
                             " between the window and " + QFileInfo(fileName).fileName() + ".");
  auto* note = new QLabel(Note(window, productCode, file), this);
  note->setObjectName("CompareNote");
  note->setWordWrap(true);
  note->setStyleSheet("color: #a00000;");
  note->setVisible(!note->text().isEmpty());

  auto* table = new QTableWidget(static_cast<int>(differences.size()), 3, this);
  table->setObjectName("CompareTable");
  table->setHorizontalHeaderLabels({"Setting", "Window", "File"});
  table->verticalHeader()->hide();
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setAlternatingRowColors(true);
  for (int row = 0; row < static_cast<int>(differences.size()); ++row) {
    const Difference& d = differences[static_cast<std::size_t>(row)];
    auto* setting = new QTableWidgetItem(Str(d.Caption()));
    if (d.setting != nullptr) setting->setToolTip(Str(d.setting->page + " / " + d.setting->key));
    table->setItem(row, 0, setting);
    table->setItem(row, 1, new QTableWidgetItem(Str(d.before)));
    table->setItem(row, 2, new QTableWidgetItem(Str(d.after)));
  }
  table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
  table->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
  table->horizontalHeader()->setSectionResizeMode(2, QHeaderView::ResizeToContents);

  auto* load = new QPushButton("Load this file", this);
  load->setObjectName("CompareLoadButton");
  auto* close = new QPushButton("Close", this);
  close->setObjectName("CompareCloseButton");
  close->setDefault(true);
  connect(load, &QPushButton::clicked, this, [this] { done(kLoadFile); });
  connect(close, &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(load);
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(heading);
  layout->addWidget(note);
  layout->addWidget(table, 1);
  layout->addLayout(buttons);
  resize(620, 420);
}

}  // namespace zorv
