#pragma once
// Page "ThreeStick" ("3 HFX"): three sticks side by side, two fixed layouts and a custom one.
#include <QWidget>

#include "image/SettingsImage.h"
#include "ui/binders/Bindings.h"

class QComboBox;
class QLabel;

namespace zorv {

class PageHost;

class ThreeStickPage final : public QWidget {
 public:
  ThreeStickPage(QWidget* parent, PageHost& host);

  // What the refresh shows while a stick page is selected.
  void Show(const SettingsImage& local);

  void triomodesChange();
  void ThreeHoistButtonDropDownChange();
  void plowoptionsChange();
  void ThreeWingButtonDropDownChange();

  // Left column (stick 1).
  QLabel* Label9 = nullptr;
  QComboBox* plowoptions = nullptr;
  QLabel* Label12 = nullptr;
  QComboBox* joystick3 = nullptr;
  // Middle column (stick 2).
  QLabel* Label10 = nullptr;
  QComboBox* ThreeWingButtonDropDown = nullptr;
  QLabel* WingBladeLabel = nullptr;
  QLabel* Label119 = nullptr;  // "Primary:"
  QComboBox* joystick2a = nullptr;
  QLabel* Label120 = nullptr;  // "Secondary:"
  QComboBox* joystick2b = nullptr;
  // Right column (stick 3, the hoist stick).
  QLabel* Label13 = nullptr;
  QComboBox* ThreeHoistButtonDropDown = nullptr;
  QLabel* Label14 = nullptr;
  QComboBox* joystick1 = nullptr;

  QComboBox* triomodes = nullptr;

 private:
  void ShowButtonDropDowns(const SettingsImage& local);

  PageHost& host_;
  Bindings functions_;  // the custom type's four function drop-downs
};

}  // namespace zorv
