#pragma once
// Page "Main" of the Halverston page: the valve frequency, the grip close and dump cylinder
// times, and the group "Deceleration" (proximity sensors or timers, rate, update laps and the
// three arm timers). Times are bar positions in 60 ms steps. None of these handlers refreshes.
#include <QObject>
#include <array>
#include <cstddef>

#include "image/HalverstonLayout.h"
#include "ui/PageHost.h"

class QLabel;
class QRadioButton;
class QScrollBar;

namespace zorv {

class SpinEdit;

class HalverstonMainSheet final : public QObject {
  Q_OBJECT

 public:
  HalverstonMainSheet(PageHost& host, QWidget* sheet);

  // The refresh, piece by piece in the order the page runs them.
  void ShowDeceleration(SettingsImage& local);
  void ShowTimers(const SettingsImage& local);
  void ShowFrequency(const SettingsImage& local);

  void ScrollBar17Change();
  void ScrollBar18Change() { StoreTime(kGripClose); }
  void ScrollBar19Change() { StoreTime(kDumpRun); }
  void ScrollBar20Change() { StoreTime(kArmIn); }
  void ScrollBar21Change() { StoreTime(kArmDown); }
  void ScrollBar22Change() { StoreTime(kArmUp); }
  void RadioButton1Click();
  void RadioButton2Click();
  void SpinEdit1Change();
  void SpinEdit2Change();

 private:
  enum Timer { kArmUp, kArmDown, kArmIn, kGripClose, kDumpRun, kTimerCount };
  struct TimerBar {
    QScrollBar* bar;
    QLabel* label;
    std::size_t byte;
  };

  QWidget* BuildTimesGroup(QWidget* sheet);
  QWidget* BuildDecelerationGroup(QWidget* sheet);
  TimerBar MakeTimer(const char* barName, const char* labelName, std::size_t byte, QWidget* parent);
  void StoreTime(Timer timer);
  void EnableArmTimers(bool on);

  PageHost& host_;
  QScrollBar* scrollBar17_ = nullptr;
  QLabel* label230_ = nullptr;
  QRadioButton* radioButton1_ = nullptr;
  QRadioButton* radioButton2_ = nullptr;
  SpinEdit* spinEdit1_ = nullptr;
  SpinEdit* spinEdit2_ = nullptr;
  std::array<TimerBar, kTimerCount> timers_{};
};

}  // namespace zorv
