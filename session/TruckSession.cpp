#include "session/TruckSession.h"

#include <utility>

namespace zorv {

void TruckSession::CommitPendingEdit() {
  // A box's exit handler may itself start a refresh that asks again: once is enough.
  if (committing_ || !hooks_.commitPendingEdit) return;
  committing_ = true;
  hooks_.commitPendingEdit();
  committing_ = false;
  ShowModified();
}

void TruckSession::MarkKept() {
  kept_ = image_;
  ShowModified();
}

void TruckSession::ShowModified() const {
  if (hooks_.showModified) hooks_.showModified(Modified());
}

void TruckSession::BeforeReplace() {
  CommitPendingEdit();
  if (hooks_.keepUnsentEdits) hooks_.keepUnsentEdits(Modified());
}

void TruckSession::Replace(const ImageBytes& bytes, bool kept) {
  image_.bytes = bytes;
  if (hooks_.showImage) hooks_.showImage();
  // Kept after the refresh: what the marker compares with is what the pages now show.
  if (kept) kept_ = image_;
  ShowModified();
}

void TruckSession::Record(history::EventKind kind, const QString& file) {
  if (hooks_.record) hooks_.record(kind, file);
}

const ImageBytes& TruckSession::UploadStarting() {
  CommitPendingEdit();
  sending_ = image_.bytes;
  return *sending_;
}

void TruckSession::UploadFinished() {
  // Without a known start (the kept settings sent by the link's own flow), the image as it is.
  kept_.bytes = sending_.value_or(image_.bytes);
  sending_.reset();
  ShowModified();
  Record(history::EventKind::Uploaded);
}

void TruckSession::DownloadArrived() {
  if (hooks_.showImage) hooks_.showImage();
  MarkKept();
  Record(history::EventKind::Downloaded);
}

void TruckSession::Unplugged() {
  if (hooks_.watchForAdapter) hooks_.watchForAdapter();
}

void TruckSession::Replugged() {
  if (hooks_.restartLink) hooks_.restartLink();
}

void TruckSession::CloseAfterUpload() {
  closeAfterUpload_ = true;
  uploadSeenBusy_ = false;
  idleTicks_ = 0;
}

bool TruckSession::TakeCloseAfterUpload() { return std::exchange(closeAfterUpload_, false); }

void TruckSession::WatchLink(bool linkIdle) {
  if (!closeAfterUpload_) return;
  if (!linkIdle) {
    uploadSeenBusy_ = true;
    idleTicks_ = 0;
  } else if (uploadSeenBusy_ && ++idleTicks_ >= 2) {
    closeAfterUpload_ = false;  // back to idle without "Upload Successful!"
  }
}

}  // namespace zorv
