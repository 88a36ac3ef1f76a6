#include "link/FirmwareFlow.h"

#include <filesystem>
#include <system_error>

#include "link/FirmwareJob.h"
#include "link/TCOMThread.h"

namespace zorv {

bool UsableFirmwareFile(const std::string& name) {
  if (name.empty() || name.find_first_of("*?") != std::string::npos) return false;
  std::error_code error;
  return std::filesystem::exists(std::filesystem::path(name), error);
}

LinkJob FirmwareFlow::Ready(const BootLoaderReadyEvent& ready) {
  approved_.reset();
  const std::string file = questions_.chooseFile ? questions_.chooseFile() : std::string();
  if (!UsableFirmwareFile(file)) return CancelFirmwareJob{};
  // Everything is checked before the first frame: a refused file writes nothing.
  ApprovedFirmware firmware;
  const Outcome read = PrepareFirmware(file, ready.chip, ready.chipLine, firmware);
  if (!read) return CancelFirmwareJob{read.error};
  const std::string check = CheckFirmware(firmware).Text();
  if (!questions_.confirm || !questions_.confirm(check)) return CancelFirmwareJob{};
  approved_ = firmware;
  return UpgradeJob{std::move(firmware)};
}

std::optional<LinkJob> FirmwareFlow::Finished(const JobFinishedEvent& finished) {
  if (finished.job != JobKind::Upgrade || finished.result == JobResult::Stopped) return {};
  if (finished.result == JobResult::Done) {
    if (questions_.info) questions_.info(finished.text);
    return {};
  }
  if (!finished.written || !approved_ || finished.result == JobResult::Unplugged) {
    if (questions_.error) questions_.error(finished.text);
    return {};
  }
  const std::string question =
      finished.text + "\r\n\r\n" + TCOMThread::kFirmwareIncomplete;
  if (!questions_.retry || !questions_.retry(question)) return {};
  return UpgradeJob{*approved_};
}

}  // namespace zorv
