#pragma once
// Closing the main window by Exit or the close box: a firmware write under way is asked about
// first, then edits neither sent nor saved bring the exit question. "Send to controller" closes
// once its upload is done.
#include <functional>
#include <utility>

class QWidget;

namespace zorv {

class Prompts;
class TruckSession;
class WindowLink;

class WindowClose {
 public:
  struct Parts {
    QWidget& window;
    TruckSession& session;
    WindowLink& link;
    Prompts& prompts;
    std::function<void()> send;  // Send Cal
    std::function<bool()> save;  // File > Save; true when the file was written
  };
  explicit WindowClose(Parts parts) : parts_(std::move(parts)) {}

  // File > Exit.
  void Exit();
  // The close event: true when the window closes now (then it is closing).
  bool Accept();
  // Closes without asking: the upload "Send to controller" started is done.
  void CloseNow();
  // Closes without asking, as when the system ends the program: what is unsent is kept in the
  // history first, as before a replacement.
  void EndWithoutAsking();

 private:
  // Exit with unsent, unsaved edits asks first; false when the window stays open.
  bool MayClose();

  Parts parts_;
  bool closing_ = false;
};

}  // namespace zorv
