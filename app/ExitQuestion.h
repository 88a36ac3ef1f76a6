#pragma once
// Exit (menu or window close) while the image holds edits that were neither sent to the
// controller nor saved to a file: the question, and what the window keeps to answer it.
#include <QDialog>
#include <functional>

#include "image/SettingsImage.h"

namespace zorv {

class Prompts;

enum class ExitAnswer { Send = 10, Save, Discard, Cancel };

class ExitQuestion final : public QDialog {
 public:
  // "Send to controller" is offered only when the link can take an upload now.
  ExitQuestion(bool canSend, QWidget* parent);
};

// The image as last downloaded, uploaded, opened or saved, and an exit that waits for an upload.
class ExitGuard {
 public:
  void Keep(const SettingsImage& image) { kept_ = image; }
  bool Modified(const SettingsImage& image) const { return image.bytes != kept_.bytes; }

  // Asks when `image` is modified; true when the window may close now. "Send to controller"
  // runs `send` and closes later, on UploadSucceeded(); "Save to file..." closes when `save`
  // wrote the file.
  bool MayClose(const SettingsImage& image, bool linkIdle, Prompts& prompts, QWidget* parent,
                const std::function<void()>& send, const std::function<bool()>& save);
  // "Upload Successful!": true when the window is to close now.
  bool UploadSucceeded();
  // Every timer tick: an upload that ended without success keeps the window open.
  void WatchLink(bool linkIdle);

 private:
  SettingsImage kept_;
  bool closeAfterUpload_ = false;
  bool uploadSeenBusy_ = false;
};

}  // namespace zorv
