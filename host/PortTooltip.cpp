#include "host/PortTooltip.h"

#include <optional>

#include "host/PortFailHint.h"

namespace zorv {
namespace {

constexpr std::string_view kFailPrefix = "COM Port Fail: ";
constexpr std::string_view kWaitingPrefix = "Waiting For Link On COM";

std::optional<PortTrouble> TroubleOf(const std::string& text) {
  if (text.rfind(kWaitingPrefix, 0) == 0) return PortTrouble::NoAnswer;
  if (text.rfind(kFailPrefix, 0) != 0) return std::nullopt;
  switch (ClassifyPortFailure(std::string_view(text).substr(kFailPrefix.size()), kThisHostSystem)) {
    case PortFailCause::PermissionDenied: return PortTrouble::OpenRefused;
    case PortFailCause::Missing: return PortTrouble::OpenMissing;
    case PortFailCause::Busy: return PortTrouble::OpenBusy;
    case PortFailCause::Unknown: break;
  }
  return PortTrouble::OpenRefused;
}

}  // namespace

std::string PortTooltip::For(const std::string& statusText, const std::string& device,
                             const std::string& portNote) {
  const std::optional<PortTrouble> trouble = TroubleOf(statusText);
  if (!trouble || kThisHostSystem == HostSystem::Windows) {
    const std::string hint = PortFailHint(statusText);
    return hint.empty() ? portNote : hint;
  }
  if (statusText == lastText_ && device == lastDevice_) return lastTooltip_;
  lastText_ = statusText;
  lastDevice_ = device;
  const std::string found = DiagnosisText(Diagnose(*trouble, device, facts_(device)));
  std::string tooltip = PortFailHint(statusText);
  if (!found.empty()) tooltip += (tooltip.empty() ? "" : "\n\n") + found;
  if (tooltip.empty()) tooltip = portNote;
  lastTooltip_ = tooltip;
  return tooltip;
}

}  // namespace zorv
