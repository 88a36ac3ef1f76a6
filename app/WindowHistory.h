#pragma once
// The main window's side of the service history: the recorder, the truck label box and the
// message line below the status strip, the events the window's flows record, and the history
// window with its "Restore into window".
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "history/HistoryEvent.h"
#include "history/HistoryRecorder.h"
#include "host/HostSettings.h"  // HistoryFile()
#include "host/RegisterSetting.h"
#include "image/SettingsImage.h"

class QLabel;
class QTimer;
class QLineEdit;
class QMainWindow;

namespace zorv {

class FormBridge;
class Prompts;
class TruckSession;

inline constexpr const char* kTruckLabelSetting = "Truck Label";
inline constexpr const char* kUnsentEditsKept = "Unsent edits kept in the history";


class WindowHistory final : public QObject {
  Q_OBJECT

 public:
  // What an event takes from the window at the moment it happens.
  struct Sources {
    std::function<ImageBytes()> image;
    std::function<std::uint8_t()> productCode;
  };

  WindowHistory(QMainWindow& window, Sources sources);
  ~WindowHistory() override;

  // Opens (or creates) the history file, and uses the register `shared` names; until then
  // nothing is recorded. A recorder started before is stopped off the window's thread.
  void Start(const QString& file, const history::RegisterAddress& shared = {});

  void Record(history::EventKind kind, const QString& file = {}, const QString& chipLine = {},
              std::optional<std::uint32_t> crc = {});
  // A download: `received` as the controller sent it (`length` bytes), from a controller that
  // named itself `identification` (a product code), the window's image after the refresh's
  // repairs beside it where they changed anything.
  void RecordDownload(const ImageBytes& received, int length,
                      std::optional<std::uint8_t> identification);
  // The session's record hook: a download is recorded as `bridge` received it, before the
  // refresh's repairs; any other event as it is.
  void RecordSessionEvent(history::EventKind kind, const QString& file, const FormBridge& bridge);
  // At exit: what is queued is written, or kept for the next start and the user told so.
  void Finish(Prompts& prompts);
  // Before the window's image is replaced: an image with unsent edits is recorded first.
  void KeepUnsentEdits(bool modified);
  // A verified firmware upgrade from `firmwareFile` on the chip the boot loader named.
  // `fileCrc`: the firmware file's CRC-32; `flashCrc`: of what is now in flash.
  void RecordFirmware(const QString& firmwareFile, const QString& chipLine,
                      std::optional<std::uint32_t> fileCrc,
                      std::optional<std::uint32_t> flashCrc = {});

  // Runs the history window; the event to restore when the user chose "Restore into window".
  std::optional<history::Event> RunWindow(Prompts& prompts, const SettingsImage& window,
                                          std::uint8_t productCode);
  // History...: the event chosen with "Restore into window" goes into the session's image
  // only; the user sends it as usual.
  void RunAndRestore(Prompts& prompts, TruckSession& session);
  // View > "History register...": a new address is stored and used from the next event on.
  void RunRegisterDialog(Prompts& prompts);

  QLabel* Line() const { return line_; }
  QLineEdit* TruckEdit() const { return truck_; }
  history::HistoryRecorder* Recorder() const { return recorder_.get(); }
  // Shows `text` until the next line, or for `shownMs` when not 0 (a note, not a fault).
  void ShowLine(const QString& text, int shownMs = 0);

 private:
  // An event of `image`, named by the product whose layout it is in under `productCode`.
  history::Event NewEvent(history::EventKind kind, const ImageBytes& image,
                          std::uint8_t productCode) const;
  // After a register was set: offers to send what this laptop recorded before.
  void OfferEarlierEvents(Prompts& prompts, const QString& file);

  Sources sources_;
  QLabel* line_;
  QTimer* lineExpiry_;
  QLineEdit* truck_;
  std::unique_ptr<history::HistoryRecorder> recorder_;
  // The identification of the controller whose settings the window last downloaded.
  QString identification_;
  // Lines of a recorder that was replaced are not shown.
  int generation_ = 0;
  // Stopping a recorder may wait for a register's time-out: done on threads of their own.
  std::vector<std::thread> retiring_;
};

}  // namespace zorv
