#pragma once
// The status panel's tooltip: for a port that failed to open, the failure's cause and fix and
// what the port doctor found on this machine; for a port where nothing answers, the doctor's
// findings; otherwise a note about the open port (a driver that refused low latency).
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "host/PortDoctor.h"

namespace zorv {

// The status text, then what the doctor finds on this machine for `trouble` on `device` (in
// place of the general advice where it found the cause), else the general cause and fix.
std::string DoctorText(PortTrouble trouble, const std::string& statusText,
                       const std::string& device, const SystemFacts& facts);
// The trouble a status text or command-line failure shows, if any.
std::optional<PortTrouble> TroubleOfStatus(const std::string& statusText);

class PortTooltip {
 public:
  using FactsSource = std::function<SystemFacts(const std::string& device)>;
  using Milliseconds = std::function<std::int64_t()>;
  // Findings are kept this long for one status text; a later failure with the same text (after
  // Reset) gets them made anew.
  static constexpr std::int64_t kFreshMs = 2000;
  explicit PortTooltip(FactsSource facts = GatherSystemFacts, Milliseconds clock = SteadyMs)
      : facts_(std::move(facts)), clock_(std::move(clock)) {}

  // Facts are gathered again when the status text or the device changes, or after kFreshMs.
  std::string For(const std::string& statusText, const std::string& device,
                  const std::string& portNote);

 private:
  static std::int64_t SteadyMs();
  FactsSource facts_;
  Milliseconds clock_;
  std::int64_t gatheredAt_ = 0;
  std::string lastText_;
  std::string lastDevice_;
  std::string lastTooltip_;
};

}  // namespace zorv
