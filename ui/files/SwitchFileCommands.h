#pragma once
// "&Open" and "&Save" of the File menu: a switch file dialog, then the whole image from or to
// the chosen file. Every failure is shown as a message box with its text; a failed open leaves
// the image as it was, a failed save leaves the old file as it was.
#include <QString>

#include "ui/PageHost.h"

namespace zorv {

inline constexpr const char* kSwitchFileFilter = "Switch Files (*.joy);;All Files (*.*)";

class SwitchFileCommands {
 public:
  explicit SwitchFileCommands(PageHost& host) : host_(host) {}

  void Open1Click();
  // What Open does once a name is chosen; also for a file named on the command line.
  void OpenFile(const QString& chosen);
  // True when the file was written.
  bool Save1Click();

  // Where both dialogs start: the program's own folder, showing "*.joy".
  static QString StartPath();

 private:
  void ShowError(const std::string& text);

  PageHost& host_;
};

// True for a name the open command takes: an existing file whose name holds no '*' or '?'.
bool AcceptedSwitchFileName(const QString& chosen);

}  // namespace zorv
