#include "app/WindowFrame.h"

#include <QApplication>
#include <QFocusFrame>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabBar>
#include <QVBoxLayout>

#include "app/StatusStrip.h"
#include "ui/widgets/GatedTabWidget.h"
#include "ui/widgets/MessageLine.h"

namespace zorv {
namespace {

struct SheetName {
  const char* objectName;
  const char* caption;
};

constexpr SheetName kTabSheets[zorvtab::kCount] = {
    {"JoysticksSheet", "Joysticks"}, {"GlobalSheet", "Global"},   {"HoistSheet", "Hoist (A2)"},
    {"PlowSheet", "Plow (A4)"},      {"WingSheet", "Wing (B)"},   {"BladeSheet", "Blade (C)"},
    {"CustomSheet", "Custom"},       {"FloatSheet", "Float Modes"}, {"RemoteSheet", "Remote/Slave"},
};

constexpr const char* kProductSheets[4] = {"ZorvPage", "TarnovexPage", "QuirnPage",
                                           "HalverstonPage"};

// Nine captions have to fit 578 pixels: a compact tab style.
constexpr const char* kCompactTabs =
    "QTabBar::tab { padding: 3px 4px 3px 4px; border: 1px solid #a0a0a0; border-bottom: none;"
    " background: #e4e4e4; margin-right: -1px; }"
    "QTabBar::tab:selected { background: #fbfbfb; margin-bottom: -1px; }"
    "QTabBar::tab:!selected { margin-top: 2px; }"
    "QTabWidget::pane { border: 1px solid #a0a0a0; top: -1px; }";

GatedTabWidget* BuildZorvTabs(QWidget* zorvPage, std::vector<QWidget*>& sheets) {
  auto* tabs = new GatedTabWidget(zorvPage);
  tabs->setObjectName("TabbedNotebook1");
  tabs->setStyleSheet(kCompactTabs);
  tabs->setUsesScrollButtons(false);
  tabs->setElideMode(Qt::ElideNone);
  tabs->tabBar()->setExpanding(false);
  QFont tabFont = tabs->tabBar()->font();
  tabFont.setPointSizeF(tabFont.pointSizeF() * 0.9);
  tabs->tabBar()->setFont(tabFont);
  for (const SheetName& tab : kTabSheets) {
    auto* sheet = new QWidget;
    sheet->setObjectName(tab.objectName);
    tabs->addTab(sheet, tab.caption);
    sheets.push_back(sheet);
  }
  auto* zorvLayout = new QVBoxLayout(zorvPage);
  zorvLayout->setContentsMargins(2, 2, 2, 0);
  zorvLayout->addWidget(tabs);
  return tabs;
}

}  // namespace

WindowFrame BuildWindowFrame(QMainWindow& window, StatusStrip& strip) {
  WindowFrame frame;
  auto* client = new QWidget(&window);
  client->setObjectName("ClientArea");
  frame.productNotebook = new QStackedWidget(client);
  frame.productNotebook->setObjectName("ProductNotebook");
  for (const char* name : kProductSheets) {
    auto* sheet = new QWidget(frame.productNotebook);
    sheet->setObjectName(name);
    frame.productNotebook->addWidget(sheet);
    frame.productSheets.push_back(sheet);
  }
  frame.tabs = BuildZorvTabs(frame.productSheets[0], frame.tabSheets);

  strip.setParent(client);
  auto* layout = new QVBoxLayout(client);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(frame.productNotebook, 1);
  layout->addWidget(&strip);
  frame.messageLine = new MessageLine(client);
  layout->addWidget(frame.messageLine);
  window.setCentralWidget(client);
  return frame;
}

void FitWindowHeight(QMainWindow& window, const StatusStrip& strip) {
  const int clientHeight = WindowFrame::kClientHeight + MessageLine::kHeight +
                           (strip.LogShown() ? StatusStrip::kLogHeight : 0);
  window.centralWidget()->setFixedSize(WindowFrame::kClientWidth, clientHeight);
  // The client area keeps its size; the history's message line sits below it.
  window.setFixedSize(WindowFrame::kClientWidth, clientHeight +
                                                      window.menuBar()->sizeHint().height() +
                                                      window.statusBar()->sizeHint().height());
}

void ShowByteLog(QMainWindow& window, StatusStrip& strip, bool shown) {
  strip.ShowLog(shown);
  FitWindowHeight(window, strip);
}

void CentreOnScreen(QWidget& window) {
  if (const QScreen* screen = window.screen()) {
    QRect frame = window.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window.move(frame.topLeft());
  }
}

void FinishTabChain(QMainWindow& window, StatusStrip& strip, const WindowFrame& frame) {
  // The pages' controls were made after the status strip.
  QWidget::setTabOrder(strip.ResetButton(), strip.Memo1());
  QWidget::setTabOrder(strip.Memo1(), frame.tabs);
  // The style marks no focus on a scroll bar: a frame shows which bar the arrow keys move.
  QPointer<QFocusFrame> barFocus = new QFocusFrame(&window);
  QObject::connect(qApp, &QApplication::focusChanged, &window, [barFocus](QWidget*, QWidget* now) {
    if (barFocus) barFocus->setWidget(qobject_cast<QScrollBar*>(now));
  });
}

}  // namespace zorv
