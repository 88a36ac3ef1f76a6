#pragma once
// The status panel's tooltip: for a port that failed to open, the failure's cause and fix and
// what the port doctor found on this machine; for a port where nothing answers, the doctor's
// findings; otherwise a note about the open port (a driver that refused low latency).
#include <functional>
#include <string>

#include "host/PortDoctor.h"

namespace zorv {

class PortTooltip {
 public:
  using FactsSource = std::function<SystemFacts(const std::string& device)>;
  explicit PortTooltip(FactsSource facts = GatherSystemFacts) : facts_(std::move(facts)) {}

  // Facts are gathered again only when the status text or the device changes.
  std::string For(const std::string& statusText, const std::string& device,
                  const std::string& portNote);

 private:
  FactsSource facts_;
  std::string lastText_;
  std::string lastDevice_;
  std::string lastTooltip_;
};

}  // namespace zorv
