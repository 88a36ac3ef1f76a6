#include "app/HalfSentNote.h"

#include "link/TransferNotes.h"
#include "ui/widgets/MessageLine.h"

namespace zorv {

void HalfSentNote::Seen(const LinkEvent& event) {
  if (const auto* status = std::get_if<StatusEvent>(&event)) {
    // The link says "Uploading" once the controller is ready for the image.
    if (status->status.text.rfind("Uploading", 0) == 0) uploading_ = true;
    return;
  }
  const auto* finished = std::get_if<JobFinishedEvent>(&event);
  if (finished == nullptr || finished->job != JobKind::Upload) return;
  if (finished->result == JobResult::Done) {
    held_ = false;
    if (line_.text() == kHalfSentText) line_.Clear();
  } else if (uploading_) {
    Hold();
  }
  uploading_ = false;
}

void HalfSentNote::LinkReplaced() {
  if (uploading_) Hold();
  uploading_ = false;
}

void HalfSentNote::Tick() {
  if (held_ && !line_.Showing()) line_.Show(kHalfSentText, MessageLine::Tone::Warning, 0);
}

void HalfSentNote::Hold() {
  held_ = true;
  line_.Show(kHalfSentText, MessageLine::Tone::Warning, 0);
}

}  // namespace zorv
