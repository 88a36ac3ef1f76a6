#pragma once
// Sheet "Global" of the Tarnovex page: the system mode with the stick safety boxes, the option
// boxes, the valve frequency with the valve types, and the global trims with "Set All Trims".
#include <QObject>
#include <cstdint>
#include <vector>

#include "image/TarnovexLayout.h"
#include "ui/PageHost.h"
#include "ui/pages/global/OptionBoxes.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QScrollBar;

namespace zorv {

class TarnovexGlobalSheet final : public QObject {
  Q_OBJECT

 public:
  TarnovexGlobalSheet(PageHost& host, QWidget* sheet);

  // The refresh, piece by piece in the order the page runs them.
  void ShowSystemMode(const SettingsImage& local);
  void EnableSafeties(std::uint8_t systemMode);
  void ShowOptions(SettingsImage& local);
  void ShowSafeties(SettingsImage& local);
  void ShowFrequency(const SettingsImage& local);
  void ShowGlobalTrims(const GlobalTrimPair& trims);

  void joysettingChange(int index);
  void joy1safteyClick() { StoreFlag(joy1saftey_, tarnovexfield::Joy1Safety); }
  void joy2safteyClick() { StoreFlag(joy2saftey_, tarnovexfield::Joy2Safety); }
  void joy3safetyClick() { StoreFlag(joy3safety_, tarnovexfield::Joy3Safety); }
  // The shared handler of the option boxes (plow float, hoist limit, cartridge, attitude
  // control, toggle V-plow): stores the box's byte, then the refresh.
  void OptionBoxClick(const OptionBox& option);
  void freqbarChange();
  void globalmintrim2Change();
  void globalmaxtrim2Change();
  void setglobal2Click();
  void ValvetypesChange(int index);

 private:
  QWidget* BuildSystemGroup(QWidget* sheet);
  QWidget* BuildOptionsGroup(QWidget* sheet);
  QWidget* BuildFrequencyGroup(QWidget* sheet);
  QWidget* BuildGlobalTrimsGroup(QWidget* sheet);
  void Connect();
  // Check box handlers: 1 when ticked, 0 when not; then the refresh.
  void StoreFlag(const QCheckBox* box, std::size_t offset);

  PageHost& host_;
  QComboBox* joysetting_ = nullptr;
  QCheckBox* joy1saftey_ = nullptr;
  QCheckBox* joy2saftey_ = nullptr;
  QCheckBox* joy3safety_ = nullptr;
  std::vector<OptionBox> options_;  // one per catalogue row of the "Options" group
  QScrollBar* freqbar_ = nullptr;
  QLabel* hertzlabel2_ = nullptr;
  QComboBox* valvetypes_ = nullptr;
  QScrollBar* globalmintrim2_ = nullptr;
  QScrollBar* globalmaxtrim2_ = nullptr;
  QLabel* gminvalue_ = nullptr;
  QLabel* gmaxvalue_ = nullptr;
  QPushButton* setglobal2_ = nullptr;
};

}  // namespace zorv
