#pragma once
// The main window's frame: the product notebook with its four sheets, the Zorv tab notebook
// with its nine empty sheets, the status strip and the message line, and the window's size.
#include <vector>

class QMainWindow;
class QStackedWidget;
class QWidget;

namespace zorv {

class GatedTabWidget;
class MessageLine;
class StatusStrip;

// Tabs of TabbedNotebook1, in order.
namespace zorvtab {
inline constexpr int kJoysticks = 0;
inline constexpr int kGlobal = 1;
inline constexpr int kHoist = 2;
inline constexpr int kPlow = 3;
inline constexpr int kWing = 4;
inline constexpr int kBlade = 5;
inline constexpr int kCustom = 6;
inline constexpr int kFloatModes = 7;
inline constexpr int kRemoteSlave = 8;
inline constexpr int kCount = 9;
}  // namespace zorvtab

struct WindowFrame {
  static constexpr int kClientWidth = 578;
  static constexpr int kClientHeight = 446;

  QStackedWidget* productNotebook = nullptr;
  GatedTabWidget* tabs = nullptr;  // TabbedNotebook1
  std::vector<QWidget*> tabSheets;
  std::vector<QWidget*> productSheets;
  MessageLine* messageLine = nullptr;
};

// Builds the client area of `window` around `strip`.
WindowFrame BuildWindowFrame(QMainWindow& window, StatusStrip& strip);
// The window's fixed size, with or without the byte log.
void FitWindowHeight(QMainWindow& window, const StatusStrip& strip);
// View > Log Window: the byte log shown or hidden, and the window's height fitted to it.
void ShowByteLog(QMainWindow& window, StatusStrip& strip, bool shown);
// Places `window` in the middle of its screen's free area.
void CentreOnScreen(QWidget& window);
// After the pages exist: Tab runs from the tab bar through the page to the strip's buttons and
// the byte log, and back; a frame marks the scroll bar that has the focus.
void FinishTabChain(QMainWindow& window, StatusStrip& strip, const WindowFrame& frame);

}  // namespace zorv
