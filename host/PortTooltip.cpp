#include "host/PortTooltip.h"

#include <chrono>
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

std::string DoctorText(PortTrouble trouble, const std::string& statusText,
                       const std::string& device, const SystemFacts& facts) {
  const std::string found = DiagnosisText(Diagnose(trouble, device, facts));
  // What was found on this machine replaces the general advice, which may not apply (a node
  // only root may open is not mended by joining a group).
  if (!found.empty() && trouble == PortTrouble::OpenRefused) return statusText + "\n\n" + found;
  std::string text = PortFailHint(statusText);
  if (!found.empty()) text += (text.empty() ? "" : "\n\n") + found;
  return text;
}

std::optional<PortTrouble> TroubleOfStatus(const std::string& statusText) {
  return TroubleOf(statusText);
}

std::int64_t PortTooltip::SteadyMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

std::string PortTooltip::For(const std::string& statusText, const std::string& device,
                             const std::string& portNote) {
  const std::optional<PortTrouble> trouble = TroubleOf(statusText);
  if (!trouble || kThisHostSystem == HostSystem::Windows) {
    const std::string hint = PortFailHint(statusText);
    return hint.empty() ? portNote : hint;
  }
  // The same text again after a Reset is a new failure: the node may have been mended since.
  if (statusText == lastText_ && device == lastDevice_ && clock_() - gatheredAt_ < kFreshMs) {
    return lastTooltip_;
  }
  lastText_ = statusText;
  lastDevice_ = device;
  gatheredAt_ = clock_();
  std::string tooltip = DoctorText(*trouble, statusText, device, facts_(device));
  if (tooltip.empty()) tooltip = portNote;
  lastTooltip_ = tooltip;
  return tooltip;
}

}  // namespace zorv
