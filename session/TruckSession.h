#pragma once
// One truck's settings as the tool holds them: the image and its trim pair, the product, the
// image last sent, saved, opened or downloaded (the modified marker), and the flows every action
// goes through. No widgets: a window plugs in its focused-box commit and its refresh as hooks;
// the command line can hold a session without them.
//
// Every action that reads, sends, saves, exports, prints, compares or replaces the image first
// calls CommitPendingEdit(): text typed into a box that stores only when left reaches the image
// by that box's own rule before anything reads it.
#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>

#include "history/HistoryEvent.h"
#include "image/SettingsImage.h"

namespace zorv {

class TruckSession {
 public:
  struct Hooks {
    // Stores the focused box's typed text (the window's widgets); nothing without a window.
    std::function<void()> commitPendingEdit;
    // Shows the whole image again after it was replaced.
    std::function<void()> showImage;
    // The marker changed (or may have): the window's caption follows it.
    std::function<void(bool modified)> showModified;
    // The service history: an image with unsent edits is kept before it is replaced; events.
    std::function<void(bool unsentEdits)> keepUnsentEdits;
    std::function<void(history::EventKind kind, const QString& file)> record;
    // The adapter vanished / came back: watch for it, start a new link on it.
    std::function<void()> watchForAdapter;
    std::function<void()> restartLink;
  };

  void SetHooks(Hooks hooks) { hooks_ = std::move(hooks); }

  SettingsImage& Image() { return image_; }
  const SettingsImage& Image() const { return image_; }
  GlobalTrimPair& Trims() { return trims_; }
  std::uint8_t ProductCode() const { return productCode_.load(); }
  void SetProductCode(std::uint8_t code) { productCode_.store(code); }
  // The link reads the product code from its own thread.
  std::atomic<std::uint8_t>& ProductCodeCell() { return productCode_; }

  // The one place a typed, not yet stored value reaches the image.
  void CommitPendingEdit();

  // Whether the bytes the controller would receive differ from those last sent, saved, opened
  // or downloaded.
  bool Modified() const { return image_.bytes != kept_.bytes; }
  // The image now matches the controller or a file.
  void MarkKept();
  // Tells the window the marker as it is now.
  void ShowModified() const;

  // Before the whole image is replaced (a file, an import, the history, a download, the kept
  // settings): the typed text is committed and unsent edits go to the history first.
  void BeforeReplace();
  // Replaces the image; `kept`: it now matches a file or the controller.
  void Replace(const ImageBytes& bytes, bool kept);
  void Record(history::EventKind kind, const QString& file = {});

  // An upload starts: the pending edit is committed and the bytes about to be sent are
  // remembered, so that edits made while it runs stay marked as unsent.
  const ImageBytes& UploadStarting();
  // An upload of other bytes than the image (the kept settings after an upgrade) starts.
  void UploadStarting(const ImageBytes& bytes) { sending_ = bytes; }
  // The controller confirmed the upload: what was sent is what it holds.
  void UploadFinished();
  // A download is about to replace the image, and has replaced it.
  void DownloadArriving() { BeforeReplace(); }
  void DownloadArrived();
  // The adapter was unplugged / is back.
  void Unplugged();
  void Replugged();

  // Exit with "Send to controller": the window closes once the upload is confirmed.
  void CloseAfterUpload();
  // "Upload Successful!": true (once) when the window is to close.
  bool TakeCloseAfterUpload();
  // Every timer tick with the link's state: an upload that ended without success keeps the
  // window open. Idle must be seen on two ticks in a row, so a success notice still queued
  // behind a tick is not taken for a failure.
  void WatchLink(bool linkIdle);

 private:
  Hooks hooks_;
  SettingsImage image_;
  GlobalTrimPair trims_;
  std::atomic<std::uint8_t> productCode_{0};
  SettingsImage kept_;
  std::optional<ImageBytes> sending_;
  bool committing_ = false;
  bool closeAfterUpload_ = false;
  bool uploadSeenBusy_ = false;
  int idleTicks_ = 0;
};

}  // namespace zorv
