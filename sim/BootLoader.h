#pragma once
// The boot loader of the controller's microcontroller: announces itself with 'B', is held by
// 'u', identifies the chip on 'I', writes flash pages from framed data and reads them back.
#include <cstdint>
#include <optional>
#include <vector>

#include "sim/BootFrame.h"
#include "sim/PeerContext.h"

namespace zorvsim {

class BootLoader {
 public:
  explicit BootLoader(PeerContext& context) : ctx_(context) {}

  void Enter(TimePoint now);
  Switch OnByte(std::uint8_t byte, TimePoint now);
  Switch Tick(TimePoint now);

 private:
  Switch StartProgram(TimePoint now);
  void Execute(TimePoint now);
  void Answer(bool accepted);
  void WritePage();

  PeerContext& ctx_;
  bool hooked_ = false;
  TimePoint announced_{};
  TimePoint lastByte_{};
  std::optional<FrameReceiver> frame_;
  std::uint32_t address_ = 0;
  std::vector<std::uint8_t> page_;
  std::uint32_t blocks_ = 0;  // data blocks in the page buffer
};

}  // namespace zorvsim
