#pragma once
// The main menu: File, View, Datalink, Help.
class QAction;
class QMenuBar;
class QWidget;

namespace zorv {

struct MainMenuItems {
  QMenuBar* bar = nullptr;
  QAction* Open1 = nullptr;
  QAction* Save1 = nullptr;
  QAction* Print1 = nullptr;
  QAction* Exit1 = nullptr;
  QAction* Export1 = nullptr;
  QAction* CompareWithFile1 = nullptr;
  QAction* LogWindow1 = nullptr;
  QAction* ZorvMenu1 = nullptr;
  QAction* TarnovexMenu1 = nullptr;
  QAction* HalverstonMenu1 = nullptr;
  QAction* History1 = nullptr;
  QAction* HistoryRegister1 = nullptr;
  QAction* PortNumber1 = nullptr;
  QAction* SendCal = nullptr;
  QAction* GetCalibration1 = nullptr;
  QAction* UpgradeFirmware1 = nullptr;
  QAction* ReadFirmware1 = nullptr;
  QAction* About1 = nullptr;
};

// Builds the menu bar `MainMenu1` with every item named; no handler is connected here.
MainMenuItems BuildMainMenu(QWidget* parent);

}  // namespace zorv
