#pragma once
// Page "TwoStick" ("2 HFX"): two sticks with one button each, in three variants.
#include <QWidget>

#include "image/SettingsImage.h"

class QCheckBox;
class QComboBox;
class QLabel;

namespace zorv {

class PageHost;

class TwoStickPage final : public QWidget {
 public:
  TwoStickPage(QWidget* parent, PageHost& host);

  // What the refresh shows while a stick page is selected.
  void Show(const SettingsImage& local);

  void TwoStickComboBoxChange();
  void TwoButton1CheckboxClick();
  void TwoButton2CheckboxClick();
  void TwoHoistButtonDropDownChange();

  QCheckBox* TwoButton1Checkbox = nullptr;
  QCheckBox* TwoButton2Checkbox = nullptr;
  QComboBox* TwoHoistButtonDropDown = nullptr;
  QLabel* TwoJ1Label = nullptr;
  QLabel* TwoJ2Label = nullptr;
  QLabel* Label140 = nullptr;
  QLabel* Label142 = nullptr;
  QComboBox* TwoStickComboBox = nullptr;

 private:
  PageHost& host_;
};

}  // namespace zorv
