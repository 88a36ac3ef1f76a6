#include "app/MainMenu.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

namespace zorv {
namespace {

QAction* AddItem(QMenu* menu, const char* name, const QString& caption) {
  QAction* action = menu->addAction(caption);
  action->setObjectName(name);
  return action;
}

QMenu* AddMenu(QMenuBar* bar, const char* name, const QString& caption) {
  QMenu* menu = bar->addMenu(caption);
  menu->setObjectName(name);
  return menu;
}

}  // namespace

MainMenuItems BuildMainMenu(QWidget* parent) {
  MainMenuItems m;
  m.bar = new QMenuBar(parent);
  m.bar->setObjectName("MainMenu1");

  QMenu* file = AddMenu(m.bar, "File1", "&File");
  m.Open1 = AddItem(file, "Open1", "&Open");
  m.Save1 = AddItem(file, "Save1", "&Save");
  file->addSeparator();
  m.Print1 = AddItem(file, "Print1", "&Print");
  file->addSeparator();
  m.Exit1 = AddItem(file, "Exit1", "&Exit");
  file->addSeparator();
  m.Export1 = AddItem(file, "Export1", "Export...");
  m.CompareWithFile1 = AddItem(file, "CompareWithFile1", "Compare with File...");

  QMenu* view = AddMenu(m.bar, "View1", "&View");
  m.LogWindow1 = AddItem(view, "LogWindow1", "&Log Window");
  m.LogWindow1->setCheckable(true);
  m.ZorvMenu1 = AddItem(view, "ZorvMenu1", "Zorv Menu");
  m.TarnovexMenu1 = AddItem(view, "TarnovexMenu1", "Tarnovex Menu");
  m.HalverstonMenu1 = AddItem(view, "HalverstonMenu1", "Halverston Menu");
  view->addSeparator();
  m.History1 = AddItem(view, "History1", "History...");
  m.History1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
  m.HistoryRegister1 = AddItem(view, "HistoryRegister1", "History &register...");

  QMenu* link = AddMenu(m.bar, "Datalink1", "&Datalink");
  m.PortNumber1 = AddItem(link, "PortNumber1", "&Port Number");
  m.SendCal = AddItem(link, "SendCal", "&Send Calibration");
  m.GetCalibration1 = AddItem(link, "GetCalibration1", "&Get Calibration");
  m.UpgradeFirmware1 = AddItem(link, "UpgradeFirmware1", "&Upgrade Firmware");
  m.ReadFirmware1 = AddItem(link, "ReadFirmware1", "&Read Firmware...");

  QMenu* help = AddMenu(m.bar, "Help1", "&Help");
  m.About1 = AddItem(help, "About1", "&About");
  return m;
}

}  // namespace zorv
