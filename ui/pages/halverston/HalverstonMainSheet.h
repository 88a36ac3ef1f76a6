#pragma once
// Page "Main" of the Halverston page: the valve frequency, the grip close and dump cylinder
// times, and the group "Deceleration" (proximity sensors or timers, rate, update laps and the
// three arm timers). Times are bar positions in 60 ms steps. Every control is bound to its
// catalogue row; storing does not refresh the page.
#include <QObject>
#include <array>

#include "ui/PageHost.h"
#include "ui/binders/Bindings.h"

class QLabel;
class QRadioButton;
class QScrollBar;

namespace zorv {

class SpinEdit;

class HalverstonMainSheet final : public QObject {
  Q_OBJECT

 public:
  HalverstonMainSheet(PageHost& host, QWidget* sheet);

  // The refresh: repairs the copy, then shows it.
  void Show(SettingsImage& local);

 private:
  enum Timer { kArmUp, kArmDown, kArmIn, kGripClose, kDumpRun, kTimerCount };
  struct TimerBar {
    QScrollBar* bar;
    QLabel* label;
  };

  QWidget* BuildTimesGroup(QWidget* sheet);
  QWidget* BuildDecelerationGroup(QWidget* sheet);
  TimerBar MakeTimer(const char* barName, const char* labelName, QWidget* parent);
  void EnableArmTimers(bool on);

  Bindings bindings_;  // every row of the sheet; none of them refreshes after storing
  QScrollBar* scrollBar17_ = nullptr;
  QLabel* label230_ = nullptr;
  QRadioButton* radioButton1_ = nullptr;
  QRadioButton* radioButton2_ = nullptr;
  SpinEdit* spinEdit1_ = nullptr;
  SpinEdit* spinEdit2_ = nullptr;
  std::array<TimerBar, kTimerCount> timers_{};
};

}  // namespace zorv
