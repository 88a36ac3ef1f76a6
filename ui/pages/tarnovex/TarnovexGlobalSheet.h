#pragma once
// Sheet "Global" of the Tarnovex page: the system mode with the stick safety boxes, the option
// boxes, the valve frequency with the valve types, and the global trims with "Set All Trims".
#include <QObject>
#include <cstdint>
#include <vector>

#include "image/TarnovexLayout.h"
#include "ui/PageHost.h"
#include "ui/binders/Bindings.h"
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

  PageHost& host_;
  QComboBox* joysetting_ = nullptr;
  QCheckBox* joy1saftey_ = nullptr;
  QCheckBox* joy2saftey_ = nullptr;
  QCheckBox* joy3safety_ = nullptr;
  // The option boxes (plow float, hoist limit, cartridge, attitude control, toggle V-plow) and
  // the safety boxes: each stores its byte, then the refresh.
  Bindings mode_;  // "System Mode:", then the refresh (the safeties follow it)
  Bindings options_;
  Bindings safeties_;
  // The frequency bar stores its byte without a refresh, which would move a bar being dragged
  // to the position its byte reads back as; a frequency of its own shows valve type "Other".
  Bindings frequency_;
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
