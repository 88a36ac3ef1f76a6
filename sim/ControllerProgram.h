#pragma once
// The running controller program: announces its product code until acknowledged, answers 0xFF,
// carries out 'H', 'F' and 'R' after a product code, and takes live output pairs.
#include <cstdint>
#include <optional>

#include "sim/LiveOutputs.h"
#include "sim/PeerContext.h"
#include "sim/SettingsTransfer.h"

namespace zorvsim {

class ControllerProgram {
 public:
  explicit ControllerProgram(PeerContext& context) : ctx_(context), outputs_(context.log) {}

  // A fresh start of the program (power-up or from the boot loader).
  void Start(TimePoint now);
  Switch OnByte(std::uint8_t byte, TimePoint now);
  void Tick(TimePoint now);

 private:
  void SendProductCode();
  void Unacknowledge(TimePoint now, Millis delay);

  PeerContext& ctx_;
  LiveOutputs outputs_;
  std::optional<SettingsTransfer> transfer_;
  bool acknowledged_ = false;
  bool armed_ = false;  // a product code went out: the next byte may be a request
  bool announceLogged_ = false;
  std::optional<std::uint8_t> command_;  // live output command waiting for its argument
  TimePoint commandTime_{};
  TimePoint nextAnnounce_{};
  TimePoint lastFromTool_{};
};

}  // namespace zorvsim
