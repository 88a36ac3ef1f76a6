#pragma once
// What a page of the main window needs from the window: the shared settings image, the global
// trim pair, the product code, the refresh, the link's command mailbox, the prompts and the
// clock. TZorvForm implements it; page tests use a small fake.
#include <cstdint>

#include "history/HistoryEvent.h"
#include "image/SettingsImage.h"
#include "link/Clock.h"
#include "ui/Prompts.h"

namespace zorv {

class PageHost {
 public:
  virtual ~PageHost() = default;

  virtual SettingsImage& Image() = 0;
  // The image now matches the controller or a file (a download, upload, open or save).
  virtual void ImageKept() {}
  // The image is about to be replaced by a file, an import or the history: unsent edits are
  // kept in the service history first.
  virtual void BeforeImageReplaced() {}
  // Stores the focused box's typed text now, as leaving it would: before anything reads the image.
  virtual void CommitPendingEdit() {}
  // The image met a file (opened, saved, imported): an event of the service history.
  virtual void FileEvent(history::EventKind /*kind*/, const QString& /*file*/) {}
  virtual GlobalTrimPair& Trims() = 0;
  virtual std::uint8_t ProductCode() const = 0;
  // The product the link identified, for comparisons and exports: the product code, or 'G' for
  // a Zorv v1.0, which leaves the product code as it was and exchanges only 121 bytes.
  virtual std::uint8_t IdentifiedProduct() const { return ProductCode(); }
  virtual void SetProductCode(std::uint8_t code) = 0;

  // Shows the whole image again (flag: 1 after start-up, reset, download, open; 0 after edits).
  virtual void RefreshControls(int flag) = 0;

  // The link's command mailbox (dropped unless the link is connected and idle).
  virtual void SetCommand(std::uint8_t command, std::uint8_t argument) = 0;

  // Tick of the last live-test press; 0 when no test runs, 1 to end one at the next timer tick.
  virtual std::uint32_t& TestTimeStamp() = 0;

  virtual Prompts& prompts() = 0;
  virtual Clock& clock() = 0;
};

}  // namespace zorv
