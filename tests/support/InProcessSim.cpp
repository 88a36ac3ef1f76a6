#include "tests/support/InProcessSim.h"

#include <algorithm>

#include "image/DefaultImage.h"
#include "image/SwitchFile.h"
#include "sim/Options.h"

namespace zorv::test {

InProcessSim::InProcessSim(Clock& clock, const std::vector<std::string>& arguments)
    : clock_(clock) {
  const zorvsim::ParseResult parsed = zorvsim::ParseOptions(arguments);
  const zorvsim::SimOptions& o = parsed.options;
  error_ = parsed.error;
  if (error_.empty() && (parsed.help || !o.port.empty() || !o.saveImage.empty() ||
                         !o.saveFlash.empty())) {
    error_ = "--help, --port and --save-... belong to the program zorv-sim, not to its core";
  }
  memories_ = std::make_unique<zorvsim::Memories>(zorvsim::ChipFromLine(o.chipLine));
  memories_->programPresent = !o.noProgram;
  memories_->blankAfterFlash = o.blankAfterFlash;
  if (o.blank) {
    memories_->settings.bytes.fill(0xFF);
  } else if (!o.image.empty()) {
    const Outcome read = ReadSwitchFile(o.image, memories_->settings);
    if (!read && error_.empty()) error_ = o.image + ": " + read.error;
  } else {
    GlobalTrimPair trims;
    LoadDefaultImage(memories_->settings, trims);
  }
  if (!error_.empty()) return;

  faults_ = zorvsim::Faults::FromOptions(o);
  context_ = std::make_unique<zorvsim::PeerContext>(
      zorvsim::PeerContext{{}, log_, *memories_, faults_, o.product, o.chipLine});
  simulator_ = std::make_unique<zorvsim::Simulator>(
      [this](std::uint8_t byte) {
        if (open_) received_.push_back(byte);
      },
      *context_, !o.fast, std::chrono::milliseconds(o.latencyMs));
  simNow_ = time_.At(clock_.Ticks());
  simulator_->Start(o.noProgram, simNow_);
}

InProcessSim::~InProcessSim() = default;

void InProcessSim::CatchUp() {
  if (!simulator_) return;
  const zorvsim::TimePoint target = time_.At(clock_.Ticks());
  while (simNow_ < target) {
    // Every pump moves time on, so the loop ends whatever the simulator answers.
    const auto next = std::max(simulator_->NextPump(simNow_), simNow_ + std::chrono::microseconds(1));
    simNow_ = std::min(next, target);
    simulator_->Pump(simNow_);
  }
}

std::uint32_t InProcessSim::StepMs(std::uint32_t left) const {
  // To the simulator's next pump, at least 1 ms (the clock's grain), at most `left`.
  if (!simulator_) return left;
  const auto next = zorvsim::TickTime::MillisUntil(simNow_, simulator_->NextPump(simNow_));
  return std::clamp<std::uint32_t>(next, 1, left);
}

std::string InProcessSim::Open(const std::string&) {
  CatchUp();
  open_ = true;
  received_.clear();
  return {};
}

void InProcessSim::Close() {
  CatchUp();
  open_ = false;
  received_.clear();
}

bool InProcessSim::Read(std::uint8_t& byte) {
  CatchUp();
  if (!open_ || received_.empty()) return false;
  byte = received_.front();
  received_.pop_front();
  return true;
}

bool InProcessSim::Write(std::uint8_t byte) {
  if (!open_) return false;
  CatchUp();
  if (simulator_) simulator_->Receive(&byte, 1, simNow_);
  return true;
}

bool InProcessSim::WaitReadable(std::uint32_t ms) {
  CatchUp();
  const std::uint32_t deadline = clock_.Ticks() + ms;
  while (open_ && received_.empty() && simulator_) {
    const std::uint32_t left = deadline - clock_.Ticks();
    if (static_cast<std::int32_t>(left) <= 0) break;
    clock_.Sleep(StepMs(left));
    CatchUp();
  }
  if (!open_ || received_.empty()) {
    const std::uint32_t left = deadline - clock_.Ticks();
    if (static_cast<std::int32_t>(left) > 0) Pass(left);  // a closed port or a failed start
    return false;
  }
  return true;
}

void InProcessSim::Pass(std::uint32_t ms) {
  const std::uint32_t deadline = clock_.Ticks() + ms;
  while (static_cast<std::int32_t>(deadline - clock_.Ticks()) > 0) {
    clock_.Sleep(StepMs(deadline - clock_.Ticks()));
    CatchUp();
  }
}

void InProcessSim::PowerCycle() {
  if (!simulator_) return;
  CatchUp();
  received_.clear();
  simulator_->PowerCycle(simNow_);
}

void InProcessSim::Stop() {
  if (!simulator_) return;
  CatchUp();
  simulator_.reset();
  open_ = false;
  received_.clear();
  log_.Line("stopping");
  for (const std::string& line : faults_.CounterLines()) log_.Line(line);
}

bool InProcessSim::Logged(const std::string& part) const {
  return std::any_of(log_.lines.begin(), log_.lines.end(),
                     [&](const std::string& line) { return line.find(part) != std::string::npos; });
}

}  // namespace zorv::test
